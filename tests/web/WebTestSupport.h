// What the web suites share: a private network of their own (so that servers listen on the fixed ports
// 21 and 25 without meeting anyone else's), real servers started and stopped by the test, and a fixture
// with the sockets started, the main window taking their notifications, and short time limits.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"

namespace web_test {

// Moves this test process into a network of its own, with only the loopback interface up. Answers false
// (with the reason) where that is not allowed.
bool EnterPrivateNetwork(std::string* why);

// A program the test runs beside itself, stopped when it goes.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Starts the program with its arguments; its output goes to the log file.
  void Start(const std::vector<std::string>& arguments, const std::string& logPath);
  void Stop();
  bool Running() const { return pid > 0; }

 private:
  int pid = -1;
};

// Waits (at most the given time) until something listens on the TCP port of 127.0.0.1.
bool WaitForListening(int port, int milliseconds);

// The bytes of a file (none when it is missing).
std::string ReadAll(const std::filesystem::path& path);
// Waits (at most the given time) until the file exists.
bool WaitForFile(const std::filesystem::path& path, int milliseconds);

// The scripts of the servers, checked in beside the tests.
std::string ServerScript(const char* name);
// The interpreter that has the server libraries.
inline const char* kPython = "/usr/bin/python3";

class WebTest : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the script as a server on the port and waits until it listens; the test fails otherwise.
  void StartServer(ChildProcess& server, const std::vector<std::string>& arguments, int port);
  // Every text the streams' logs held when a notification arrived: what a watcher of the log saw.
  std::vector<std::string> loggedTexts;
  TempFolder folder;

 private:
  static LRESULT MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static WebTest* current;
};

}  // namespace web_test
