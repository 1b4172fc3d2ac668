// Activation: which top-level window is active, whether the program is the one the user works in, and the
// messages that tell windows so. Each top-level window remembers its focus while inactive, so that the
// control that had it gets it back when the window is active again (after a modal pop-up, say).
#include "platform/user/Activation.h"

#include <vector>

#include "platform/user/Input.h"
#include "platform/user/WindowTree.h"
#include "platform/user/ActivationInternals.h"

namespace platform::user {

namespace {

struct ActivationState {
  HWND active = nullptr;
  bool appActive = false;
  // While the program is in the background, the window to activate when it comes back.
  HWND dormant = nullptr;
};

ActivationState& State() {
  static ActivationState state;
  return state;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> tops;
  for (WindowData* top : Desktop().children) tops.push_back(top->handle);
  return tops;
}

void TellApplication(bool active) {
  for (HWND top : TopLevelWindows()) {
    if (IsWindow(top)) SendMessageA(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
  }
}

bool IsInside(HWND window, HWND top) { return window != nullptr && (window == top || IsChild(top, window)); }

// The window that takes activation when the active one goes: its owner when that is shown (even disabled
// still, as a modal pop-up's owner may be for a moment), else the front-most shown top-level window,
// enabled ones first. The program stays active while it shows a window.
HWND Successor(HWND leaving) {
  WindowData* w = Find(leaving);
  if (w != nullptr && w->owner != nullptr && (w->owner->style & WS_VISIBLE)) return w->owner->handle;
  HWND disabled = nullptr;
  for (WindowData* top : Desktop().children) {
    if (top->handle == leaving || !(top->style & WS_VISIBLE) || top->destroying) continue;
    if (!(top->style & WS_DISABLED)) return top->handle;
    if (disabled == nullptr) disabled = top->handle;
  }
  return disabled;
}

}  // namespace

void ActivateTopLevel(HWND window, int how) {
  ActivationState& s = State();
  if (window != nullptr) {
    WindowData* w = Find(window);
    if (w == nullptr) return;
    window = TopLevelOf(*w).handle;
  }
  const HWND previous = IsWindow(s.active) ? s.active : nullptr;
  if (previous == window && (window == nullptr || s.appActive)) return;
  s.active = window;
  if (previous != nullptr && previous != window) {
    WindowData* p = Find(previous);
    if (IsInside(GetFocus(), previous)) p->lastFocus = GetFocus();
    SendMessageA(previous, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(previous)) SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
  }
  if (window == nullptr) {
    if (IsInside(GetFocus(), previous)) SetFocus(nullptr);
    if (s.appActive) {
      s.appActive = false;
      TellApplication(false);
    }
    return;
  }
  if (!s.appActive) {
    s.appActive = true;
    TellApplication(true);
  }
  if (s.active != window || !IsWindow(window)) return;  // a handler activated another window meanwhile
  SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
  if (IsWindow(window)) SendMessageA(window, WM_ACTIVATE, static_cast<WPARAM>(how), reinterpret_cast<LPARAM>(previous));
}

void ForgetActivation(HWND window) {
  ActivationState& s = State();
  if (s.dormant == window) s.dormant = nullptr;
  if (s.active != window) return;
  const HWND next = Successor(window);
  if (next != nullptr && s.appActive) {
    ActivateTopLevel(next, WA_ACTIVE);
  } else {
    ActivateTopLevel(nullptr, WA_INACTIVE);
  }
  if (s.active == window) s.active = nullptr;
}

void ResetActivation() { State() = ActivationState{}; }

}  // namespace platform::user

using namespace platform::user;

HWND GetActiveWindow() { return IsWindow(State().active) ? State().active : nullptr; }

HWND SetActiveWindow(HWND window) {
  const HWND previous = GetActiveWindow();
  WindowData* w = Find(window);
  if (w == nullptr || !IsTopLevel(*w)) return nullptr;
  ActivateTopLevel(window, WA_ACTIVE);
  return previous;
}

HWND GetForegroundWindow() { return State().appActive ? GetActiveWindow() : nullptr; }

BOOL SetForegroundWindow(HWND window) {
  WindowData* w = Find(window);
  if (w == nullptr || w == &Desktop()) return FALSE;
  const HWND top = TopLevelOf(*w).handle;
  BringWindowToTop(top);
  ActivateTopLevel(top, WA_ACTIVE);
  return TRUE;
}

namespace platform {

void SetApplicationActive(bool active) {
  ActivationState& s = user::State();
  if (active == s.appActive) return;
  if (!active) {
    s.dormant = GetActiveWindow();
    ActivateTopLevel(nullptr, WA_INACTIVE);
    return;
  }
  HWND next = IsWindow(s.dormant) ? s.dormant : nullptr;
  if (next == nullptr) {
    for (WindowData* top : Desktop().children) {
      if ((top->style & WS_VISIBLE) && !(top->style & WS_DISABLED)) {
        next = top->handle;
        break;
      }
    }
  }
  s.dormant = nullptr;
  if (next != nullptr) {
    ActivateTopLevel(next, WA_ACTIVE);
  } else {
    s.appActive = true;
    TellApplication(true);
  }
}

bool IsApplicationActive() { return user::State().appActive; }

}  // namespace platform
