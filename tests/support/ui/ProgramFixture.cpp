#include "support/ui/ProgramFixture.h"

#include "core/Resources.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"

std::function<SmartRef<App>()> ProgramFixture::makeApp;

namespace {
FileCreatorType TestCreator() { return FileCreatorType("Essai", 0x45535341); }

// A run that never reaches its end fails instead of hanging the suite.
void Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "the program did not stop by itself";
  PostQuitMessage(-1);
}
}  // namespace

TestApp::TestApp(const AppInfo& info, SmartRef<TypeIndex> documentIndex)
    : App(AppCreation{TestCreator(), std::move(documentIndex), &info}) {}

void TestApp::NewDocument() {
  if (onNewDocument) onNewDocument();
}

bool TestApp::HandleKey(int key, std::uint32_t modifiers) {
  keys.push_back(key);
  if (failingKeys && key == '!') ThrowError("Touche refus\xE9" "e", "TEST", 1);
  if (failingKeys && key == '?') throw 42;
  return App::HandleKey(key, modifiers);
}

bool TestApp::Quit(int kind) {
  quitKinds.push_back(kind);
  return App::Quit(kind);
}

void TestApp::ShowAbout() {
  ++aboutShown;
  App::ShowAbout();
  if (quitOnAbout) Quit(0);
}

void ProgramFixture::SetUp() {
  GraphicsFixture::SetUp();
  // The program takes the version probe once per run (the reset takes it again): a test that asked for
  // another system must not pass its answer on.
  ResetUiState();
  makeApp = [this] {
    AppInfo info;
    info.name = "Essai";
    info.version = "1.0";
    auto* made = new TestApp(info);
    app = made;
    return SmartRef<App>(made);
  };
}

void ProgramFixture::TearDown() {
  app = nullptr;
  DestroyApplication();
  makeApp = nullptr;
  ResetUiState();
  GraphicsFixture::TearDown();
}

int ProgramFixture::Run(std::function<void()> body, const char* commandLine) {
  auto previous = makeApp;
  makeApp = [this, previous, body] {
    SmartRef<App> made = previous();
    if (app) app->onNewDocument = body;
    return made;
  };
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, &Watchdog);
  const int code = FrameworkWinMain(nullptr, nullptr, const_cast<char*>(commandLine), 0, &ProgramFixture::Factory);
  KillTimer(nullptr, watchdog);
  return code;
}

void ProgramFixture::InProgram(std::function<void()> body) {
  bool ran = false;
  Run([&] {
    ran = true;
    body();
    PostQuitMessage(0);
  });
  // A program that ends before its new document would leave the body's checks unrun.
  EXPECT_TRUE(ran) << "the program ended before the body ran";
}

void ProgramFixture::Pump() {
  MSG msg;
  int count = 0;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (++count > 10000) {
      ADD_FAILURE() << "the queue never empties";
      break;
    }
  }
}
