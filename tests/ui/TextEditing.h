// Text views and edit fields inside a real framework window of the running program, typed into through
// the screen's keyboard.
#pragma once

#include <string>

#include "ControlTestSupport.h"
#include "platform/user/KeyState.h"
#include "ui/text/TextControl.h"
#include "ui/text/TextView.h"

class TextEditing : public ControlsInWindow {
 protected:
  // Characters typed at the focused window, and keys pressed and let go there, each handled at once.
  void Type(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
      const char one[2] = {*c, '\0'};
      platform::InjectText(one);
      Pump();
    }
  }
  void Press(int virtualKey, bool extended = false) {
    platform::InjectKey(virtualKey, true, extended);
    platform::InjectKey(virtualKey, false, extended);
    Pump();
  }
  using ControlsInWindow::Press;

  // An edited view in the window, made its target, so that it is active and has the keyboard.
  static SmartRef<TextView> EditedView(ControlWindow& window, String* text, const Rect& frame, bool grows = false,
                                       bool multiLine = true) {
    SmartRef<TextView> view(new TextView(&window, frame, text, kAnchorTopLeft, true, grows, multiLine, false));
    window.AddSubview(~view);
    window.SetTarget(~view);
    return view;
  }

  static DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
  static std::string NativeText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  static std::pair<std::int32_t, std::int32_t> Selection(const TextControl& control) {
    std::int32_t start = 0, end = 0;
    control.GetSelection(&start, &end);
    return {start, end};
  }
};
