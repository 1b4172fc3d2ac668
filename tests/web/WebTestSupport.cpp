#include "WebTestSupport.h"

#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <thread>

#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/net/Winsock.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/shell/DebugMessage.h"
#include "ui/Seams.h"
#include "ui/shell/WinMain.h"
#include "web/Seams.h"
#include "web/internet/InternetSession.h"
#include "web/internet/TCPStream.h"

namespace web_test {

WebTest* WebTest::current = nullptr;

bool EnterPrivateNetwork(std::string* why) {
  static int state = 0;  // 0 not tried, 1 inside, -1 refused
  if (state == 0) {
    if (unshare(CLONE_NEWNET) != 0) {
      state = -1;
    } else {
      state = std::system("ip link set lo up") == 0 ? 1 : -1;
    }
  }
  if (state < 0 && why) *why = "no private network here (the suite needs root and `ip`)";
  return state > 0;
}

void ChildProcess::Start(const std::vector<std::string>& arguments, const std::string& logPath) {
  Stop();
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid = fork();
  if (pid == 0) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
      dup2(log, 1);
      dup2(log, 2);
    }
    setenv("PYTHONUNBUFFERED", "1", 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
}

void ChildProcess::Stop() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  for (int k = 0; k < 100; ++k) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  pid = -1;
}

bool WaitForListening(int port, int milliseconds) {
  const std::string command = "ss -Hltn 'sport = :" + std::to_string(port) + "' 2>/dev/null";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (FILE* out = popen(command.c_str(), "r")) {
      char line[256];
      const bool listening = fgets(line, sizeof line, out) != nullptr;
      pclose(out);
      if (listening) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  return false;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WaitForFile(const std::filesystem::path& path, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string ServerScript(const char* name) { return std::string(QUILLORY_SOURCE_DIR) + "/tests/web/servers/" + name; }

LRESULT WebTest::MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == socketEventMessage || message == hostLookupMessage) {
    if (current) current->loggedTexts.push_back(TextOf(gDebugLog));
    return MainWindowProc(window, message, wParam, lParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void WebTest::SetUp() {
  GraphicsFixture::SetUp();
  std::string why;
  if (!EnterPrivateNetwork(&why)) GTEST_SKIP() << why;
  current = this;
  InstallWebSeams();
  WNDCLASSA wc{};
  wc.lpfnWndProc = &WebTest::MainProcedure;
  wc.lpszClassName = "WebTestMain";
  RegisterClassA(&wc);
  gMainWindow = CreateWindowExA(0, "WebTestMain", "Quillory", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                nullptr);
  ASSERT_NE(gMainWindow, nullptr);
  InternetSession::Startup();
  TCPStream::SetTimeLimit(3000);
  gDebugLog = String("");
}

void WebTest::TearDown() {
  if (current == this) {
    TCPStream::SetTimeLimit(60000);
    try {
      InternetSession::Shutdown();
    } catch (Exception*) {
      ADD_FAILURE() << "the sockets did not stop";
    }
    platform::net::ResetSocketsForTesting();
    SetInternetHooks({});
    DestroyWindow(gMainWindow);
    gMainWindow = nullptr;
    current = nullptr;
  }
  GraphicsFixture::TearDown();
}

void WebTest::StartServer(ChildProcess& server, const std::vector<std::string>& arguments, int port) {
  server.Start(arguments, (folder.Path() / ("server-" + std::to_string(port) + ".log")).string());
  ASSERT_TRUE(WaitForListening(port, 8000)) << "the server never listened on " << port;
}

}  // namespace web_test
