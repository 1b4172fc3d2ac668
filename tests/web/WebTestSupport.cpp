#include "WebTestSupport.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/net/Winsock.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/shell/DebugMessage.h"
#include "ui/Seams.h"
#include "ui/shell/WindowProcs.h"
#include "web/Seams.h"
#include "web/internet/InternetSession.h"
#include "web/internet/TCPStream.h"

namespace web_test {

WebTest* WebTest::current = nullptr;

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
