// Running the program's shell for a benchmark of the editor: the body runs as the application's new
// document on the headless screen, and the window system is left as it was.
#pragma once

#include <functional>

#include "core/CoreState.h"
#include "core/Resources.h"
#include "editor/CTool.h"
#include "platform/user/Message.h"
#include "ui/shell/App.h"
#include "ui/shell/WinMain.h"
#include "ui/UiState.h"

namespace bench {

class BenchApp : public App {
 public:
  explicit BenchApp(const AppInfo& info) : App(AppCreation{FileCreatorType("Bench", 0x48434E42), nullptr, &info}) {}
  void NewDocument() override {
    if (body) body();
    PostQuitMessage(0);
  }
  bool Quit(int kind) override { return App::Quit(kind); }
  static inline std::function<void()> body;
};

inline SmartRef<App> MakeBenchApp() {
  AppInfo info;
  info.name = "Bench";
  info.version = "1.0";
  return SmartRef<App>(new BenchApp(info));
}

// The program run here has no module of its own to load cursors from: the tools' shared cursors are loaded
// from the program's cursors beforehand, as the real program's first tool does.
// A window system of its own on the headless 800 x 600 screen, as each start of the program has, with the
// tools' shared cursors loaded.
inline void StartHeadless() {
  platform::ResetWindowSystemForTesting();
  platform::SetBackend(nullptr);
  platform::SetScreenSize(800, 600);
  platform::SetScreenFormat(32, 800, 600);
  MainWindowRecord program;
  program.instance = reinterpret_cast<HINSTANCE>(0x400000);
  Resources::SetOSApp(&program);
  LoadSharedToolCursors();
  TheCoreState().osApp = nullptr;
}

inline void InProgram(std::function<void()> body) {
  StartHeadless();
  BenchApp::body = std::move(body);
  FrameworkWinMain(nullptr, nullptr, nullptr, 0, &MakeBenchApp);
  BenchApp::body = nullptr;
  DestroyApplication();
  ResetUiState();
  TheCoreState().osApp = nullptr;
}

// What the message loop would dispatch now, without waiting.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace bench
