// The running program with menus in its bar: a scripted hand acts whenever a loop waits for input (the
// menu loops included), and Ctrl shortcuts are read as the message loop reads them.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "ControlTestSupport.h"
#include "platform/screen/HeadlessBackend.h"
#include "platform/user/KeyState.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Menu.h"
#include "ui/menus/Menu.h"
#include "support/ScreenPixels.h"

// Pixels of the composed screen inside the rectangle that have the colour.
inline int CountPixels(RECT r, std::uint32_t colour) {
  const ColourPicture shot = ScreenPicture(r);
  return static_cast<int>(std::count(shot.pixels.begin(), shot.pixels.end(), colour));
}

inline POINT Centre(RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A press and release the menu loop reads itself (no pumping: it is the one waiting).
inline void Tap(POINT p) {
  platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, true);
  platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
}

class MenuProgram : public ControlsInWindow {
 protected:
  void SetUp() override {
    ControlsInWindow::SetUp();
    platform::SetBackend(std::make_unique<platform::HeadlessBackend>([this](DWORD) {
      if (hand.empty()) return;
      auto step = std::move(hand.front());
      hand.pop_front();
      step();
    }));
    // The menus join the application's bar before it is installed, as a program's do.
    auto previous = makeApp;
    makeApp = [this, previous] {
      SmartRef<App> made = previous();
      AddMenus(*made->GetMenuBar());
      return made;
    };
  }
  void TearDown() override {
    platform::SetBackend(nullptr);
    ControlsInWindow::TearDown();
  }
  virtual void AddMenus(MenuBar& bar) = 0;

  // Ctrl + the letter, as the user types it to the main window, read as the message loop reads keys.
  void CtrlKey(BYTE letter) {
    SetFocus(gMainWindow);
    platform::InjectKey(VK_CONTROL, true);
    platform::InjectKey(letter, true);
    platform::InjectKey(letter, false);
    platform::InjectKey(VK_CONTROL, false);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (gAcceleratorTable && TranslateAcceleratorA(gMainWindow, gAcceleratorTable, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::deque<std::function<void()>> hand;
};
