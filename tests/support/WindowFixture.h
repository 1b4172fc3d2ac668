// A fresh window system for each test: an 800 x 600 headless screen, a virtual clock, and a window class
// whose procedure runs per-window handlers before the system's default.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "support/MessageLog.h"

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

class WindowFixture : public ::testing::Test {
 protected:
  using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
  static constexpr const char* kClass = "TestWindow";

  void SetUp() override;
  void TearDown() override;

  // A shown top-level pop-up (no frame) or child at the given place.
  HWND MakeTop(RECT r, DWORD style = WS_POPUP | WS_VISIBLE);
  HWND MakeChild(HWND parent, RECT r, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  // A class of the fixture's procedure (so that handlers see its windows' messages) with a white background.
  static void RegisterWhiteClass(const char* name);
  // Runs before DefWindowProcA for that window; an answer stops the message there.
  void Handle(HWND window, Handler handler) { handlers[window] = std::move(handler); }

  // Dispatches every pending message (timers included) that is due on the current clock.
  int Pump();
  void Advance(DWORD ms) { now += ms; }

  MessageLog log;
  DWORD now = 100000;

 private:
  static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static WindowFixture* current;
  std::map<HWND, Handler> handlers;
};
