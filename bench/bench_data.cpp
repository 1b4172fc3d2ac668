// Loading the program's own numbered pictures and sounds cold, as a fresh start does: every picture and
// sound file of data/Data through new resource sets (the framework's, the editor's and the application's),
// so nothing is cached between rounds; beside it, ImageMagick and sox reading the same files. The data do
// not depend on the page size, so this job runs once, not at the three page sizes. Goal: under 250 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "graphics/formats/ImageResource.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDataFolder = fs::path(QUILLORY_SOURCE_DIR) / "data/Data";

// The numbered files of "Data" with the extension, by id.
std::vector<int> Ids(const char* extension) {
  std::vector<int> ids;
  for (const auto& entry : fs::directory_iterator(kDataFolder)) {
    const std::string stem = entry.path().stem().string();
    if (entry.path().extension() == extension && !stem.empty() &&
        std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
      ids.push_back(std::stoi(stem));
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::vector<std::string> Files(const char* extension) {
  std::vector<std::string> files;
  for (int id : Ids(extension)) files.push_back((kDataFolder / (std::to_string(id) + extension)).string());
  return files;
}

void BM_LoadNumberedDataCold(benchmark::State& state) {
  bench::UseProgramFolder();
  const std::vector<int> pictures = Ids(".bmp");
  const std::vector<int> sounds = Ids(".wav");
  for (auto _ : state) {
    Resources stock(200, 399), editor(1000, 4999), application(1000, 3999);
    for (int id : pictures) {
      // The editor's pictures are its palettes' (1000 to 1399) and its labels and clear button (3000 up).
      Resources& set = id < 1000 ? stock : (id < 1400 || id >= 3000 ? editor : application);
      benchmark::DoNotOptimize(set.GetImageResource(id - set.GetFirst())->Get());
    }
    for (int id : sounds) benchmark::DoNotOptimize(editor.GetSoundResource(id - 1000)->Get());
  }
  state.counters["files"] = static_cast<double>(pictures.size() + sounds.size());
}
BENCHMARK(BM_LoadNumberedDataCold)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadNumberedDataCold_ImageMagickAndSox(benchmark::State& state) {
  std::vector<std::string> convert = {"/usr/bin/convert"}, sox = {"sox"};
  for (const std::string& file : Files(".bmp")) convert.push_back(file);
  convert.push_back("null:");
  for (const std::string& file : Files(".wav")) sox.push_back(file);
  sox.push_back("-n");
  for (auto _ : state) {
    if (bench::RunProgram(convert) != 0 || bench::RunProgram(sox) != 0) {
      state.SkipWithError("ImageMagick or sox did not run (scripts/install-deps installs them)");
      break;
    }
  }
}
BENCHMARK(BM_LoadNumberedDataCold_ImageMagickAndSox)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
