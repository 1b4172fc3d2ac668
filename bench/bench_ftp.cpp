// Publishing a compiled site: 80 files (pages, pictures, sounds) sent by the program's own publishing
// (DromelApp::PublishByFTP, in the running application, into <server path>/<project>/), and by curl over
// one control connection in active mode, against the same pyftpdlib server on port 21 of a private
// network of this program's own. Goal: within twice curl's time.
#include <benchmark/benchmark.h>

#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "AppProgramBench.h"
#include "BenchSupport.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "web/users/DromelUserInfo.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUser = "enfant";
constexpr const char* kPassword = "mdp-banc";

struct Site {
  fs::path folder;
  std::vector<std::string> names;
};

// What a compiled project of 40 pages looks like: a page file and a picture each, plus a few sounds.
Site MakeSite(const fs::path& folder) {
  Site site{folder, {}};
  fs::create_directories(folder);
  auto write = [&](const std::string& name, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>(k * 131 + name.size());
    std::ofstream(folder / name, std::ios::binary) << bytes;
    site.names.push_back(name);
  };
  for (int k = 0; k < 36; ++k) {
    write("page" + std::to_string(k) + ".htm", 2500 + 37 * k);
    write("page" + std::to_string(k) + ".jpg", 30000 + 411 * k);
  }
  for (int k = 0; k < 8; ++k) write("son" + std::to_string(k) + ".wav", 60000 + 997 * k);
  return site;
}

std::string ProgramPath(const fs::path& path) {
  std::string out = path.string();
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

struct Server {
  pid_t pid = -1;
  ~Server() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  }
};

Site* gSite = nullptr;
fs::path gServerRoot;
int gRun = 0;

// The application's publishing of the folder, as "Publier" runs it once the dialog has closed: the
// session, the server path, the project's folder made there and every file sent.
void BM_PublishSite_PublishByFTP(benchmark::State& state) {
  bench::InProgramPastTheWelcome(state, [](benchmark::State& running) {
    gDromelApp->OpenProject(String("Banc"));
    SmartRef<DromelUserInfo> record(new DromelUserInfo);
    record->ftpHost->Set("127.0.0.1");
    record->account->Set(kUser);
    record->password->Set(kPassword);
    SmartRef<FileReference> folder = new FileReference(ProgramPath(gSite->folder).c_str());
    for (auto _ : running) {
      // A server path of its own each time, as curl's, so that no run replaces files of another.
      running.PauseTiming();
      const std::string path = "ours" + std::to_string(++gRun);
      fs::create_directories(gServerRoot / path);
      record->serverPath->Set(("/" + path).c_str());
      running.ResumeTiming();
      try {
        gDromelApp->PublishByFTP(*folder, *record);
      } catch (Exception* failure) {
        const SmartRef<Exception> held(failure);
        gLastException = nullptr;
        running.SkipWithError("the publishing failed");
        return;
      }
    }
    // What was timed is what the name says: the whole folder on the server, in the project's folder.
    std::size_t sent = 0;
    for (const auto& entry : fs::directory_iterator(gServerRoot / ("ours" + std::to_string(gRun)) / "Banc"))
      sent += entry.is_regular_file() ? 1 : 0;
    if (sent != gSite->names.size()) running.SkipWithError("not every file reached the server");
    running.counters["files"] = static_cast<double>(gSite->names.size());
  });
}

void BM_PublishSite_curl(benchmark::State& state) {
  std::string list = "{";
  for (const std::string& name : gSite->names) {
    if (list.size() > 1) list += ',';
    list += (gSite->folder / name).string();
  }
  list += "}";
  for (auto _ : state) {
    std::string url = "ftp://127.0.0.1/theirs";
    url += std::to_string(++gRun);
    url += '/';
    if (bench::RunProgram({"curl", "-s", "-S", "-P", "127.0.0.1", "--ftp-create-dirs", "--user",
                           std::string(kUser) + ":" + kPassword, "-T", list, url}) != 0) {
      state.SkipWithError("curl did not run (scripts/install-deps installs it)");
      break;
    }
  }
  state.counters["files"] = static_cast<double>(gSite->names.size());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Port 21 of a network of our own: nothing else on the machine is met or disturbed.
  if (unshare(CLONE_NEWNET) != 0 || std::system("ip link set lo up") != 0) {
    std::fprintf(stderr, "bench_ftp needs root (a private network namespace)\n");
    return 1;
  }
  const fs::path work = fs::temp_directory_path() / ("quillory-bench-ftp-" + std::to_string(getpid()));
  Site site = MakeSite(work / "HTML");
  gSite = &site;
  fs::create_directories(work / "root");
  Server server;
  server.pid = fork();
  if (server.pid == 0) {
    const std::string script = std::string(QUILLORY_SOURCE_DIR) + "/tests/web/servers/ftp_server.py";
    const std::string root = (work / "root").string();
    freopen("/dev/null", "w", stderr);
    execl("/usr/bin/python3", "python3", script.c_str(), root.c_str(), kUser, kPassword, "21", nullptr);
    _exit(127);
  }
  for (int k = 0; k < 200 && bench::RunProgram({"sh", "-c", "ss -Hltn 'sport = :21' | grep -q ."}) != 0; ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));

  gServerRoot = work / "root";
  benchmark::RegisterBenchmark("PublishSite/PublishByFTP", &BM_PublishSite_PublishByFTP)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("PublishSite/PublishByFTP/curl", &BM_PublishSite_curl)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(work);
  fs::remove_all(bench::ProgramFolder());
  return 0;
}
