// The system's controls on a parent window at the screen's top-left (its client coordinates are the
// screen's), driven by synthetic mouse and key input.
#pragma once

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/user/Input.h"
#include "support/WindowFixture.h"

class ControlFixture : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    RegisterWhiteClass("ControlParent");
    parent = CreateWindowExA(0, "ControlParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    Pump();
  }

  HWND Make(const char* className, const char* text, DWORD style, RECT r, int id) {
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(control, nullptr) << className;
    return control;
  }

  // Each input is dispatched before the next comes, as a user's hand is slower than the program.
  void Press(int x, int y) {
    platform::InjectMouseButton(x, y, platform::MouseButton::Left, true);
    Pump();
  }
  void MoveTo(int x, int y) {
    platform::InjectMouseMove(x, y);
    Pump();
  }
  void Release(int x, int y) {
    platform::InjectMouseButton(x, y, platform::MouseButton::Left, false);
    Pump();
  }
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  void Key(int key, bool down) {
    platform::InjectKey(key, down);
    Pump();
  }

  // The notifications the parent received: WM_COMMAND, WM_HSCROLL or WM_VSCROLL.
  std::vector<LoggedMessage> Notes(UINT message) const { return log.Of(parent, message); }

  HWND parent = nullptr;
};
