// What the web suites share: a fixture in a private network of its own (support/web/Servers.h), with the
// sockets started, the main window taking their notifications, and short time limits.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "support/TempFolder.h"
#include "support/web/Servers.h"
#include "support/graphics/GraphicsFixture.h"

namespace web_test {

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
