// Reading the publish dialog's provider files and a link list, as each opening of those dialogs does:
// 50 provider files of 20 providers each (goal: under 50 ms), and one link list of 2,000 entries (goal:
// under 20 ms). No other program reads these files, so there is no peer to compare with.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/FileReference.h"
#include "web/lists/LinkList.h"
#include "web/lists/ProviderFile.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary folder, made once per run.
fs::path MakeFolder(const char* name) {
  const fs::path folder = fs::temp_directory_path() / ("quillory-bench-" + std::to_string(::getpid())) / name;
  fs::create_directories(folder);
  return folder;
}

SmartRef<FileReference> ReferenceTo(const fs::path& folder) {
  std::string path = folder.string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return new FileReference(path.c_str());
}

void BM_ReadProviderFiles(benchmark::State& state) {
  const fs::path folder = MakeFolder("FDA");
  for (int file = 0; file < 50; ++file) {
    std::ofstream out(folder / ("fournisseurs" + std::to_string(file) + ".txt"), std::ios::binary);
    out << "1\r\n// Fournisseurs d'acc\xe8s\r\n";
    for (int entry = 0; entry < 20; ++entry)
      out << "Fournisseur " << file << '-' << entry << "|ftp" << entry << ".example.org|/sites/%1|http://www"
          << entry << ".example.org/~%1\r\n";
  }
  SmartRef<FileReference> reference = ReferenceTo(folder);
  std::size_t providers = 0;
  for (auto _ : state) providers = ReadProviders(*reference).size();
  if (providers != 50 * 20) state.SkipWithError("the providers were not all read");
  state.counters["providers"] = static_cast<double>(providers);
  fs::remove_all(folder.parent_path());
}
BENCHMARK(BM_ReadProviderFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadLinkList(benchmark::State& state) {
  const fs::path folder = MakeFolder("LNWEB");
  {
    std::ofstream out(folder / "utilisateur.txt", std::ios::binary);
    for (int entry = 0; entry < 2000; ++entry)
      out << "Lien num\xe9ro " << entry << "\twww.example.org/pages/" << entry << ".html\r\n";
  }
  SmartRef<FileReference> reference = ReferenceTo(folder);
  std::int32_t entries = 0;
  for (auto _ : state) {
    LinkLists lists;
    ReadLinks(*reference, lists, true);
    entries = lists.linkNames.NumItems();
  }
  if (entries != 2000) state.SkipWithError("the entries were not all read");
  state.counters["entries"] = entries;
  fs::remove_all(folder.parent_path());
}
BENCHMARK(BM_ReadLinkList)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
