// Publishing a compiled site: 80 files (pages, pictures, sounds) stored by one FTP session, and by curl
// over one control connection in active mode, against the same pyftpdlib server on port 21 of a private
// network of this program's own.
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

#include "BenchSupport.h"
#include "core/Alert.h"
#include "core/FileReference.h"
#include "platform/screen/Backend.h"
#include "platform/user/Screen.h"
#include "platform/net/Winsock.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/shell/WindowProcs.h"
#include "web/Seams.h"
#include "web/internet/FTPSession.h"
#include "web/internet/InternetSession.h"

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
int gRun = 0;

void BM_PublishSite_FTPSession(benchmark::State& state) {
  for (auto _ : state) {
    SmartRef<InternetSession> host = new InternetSession(String("127.0.0.1"));
    SmartRef<FTPSession> session = new FTPSession(~host, String(kUser), String(kPassword));
    session->SetDirectory(String(("ours" + std::to_string(++gRun)).c_str()), true);
    for (const std::string& name : gSite->names) {
      SmartRef<FileReference> file = new FileReference(ProgramPath(gSite->folder / name).c_str());
      session->SendFile(~file, String(name.c_str()), true, FTPSession::kPublish);
    }
  }
  state.counters["files"] = static_cast<double>(gSite->names.size());
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

  platform::SetBackend(nullptr);
  platform::SetScreenSize(800, 600);
  InstallWebSeams();
  WNDCLASSA wc{};
  wc.lpfnWndProc = &MainWindowProc;
  wc.lpszClassName = "BenchMain";
  RegisterClassA(&wc);
  gMainWindow = CreateWindowExA(0, "BenchMain", "Quillory", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  InternetSession::Startup();

  benchmark::RegisterBenchmark("PublishSite/FTPSession", &BM_PublishSite_FTPSession)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("PublishSite/FTPSession/curl", &BM_PublishSite_curl)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  InternetSession::Shutdown();
  fs::remove_all(work);
  return 0;
}
