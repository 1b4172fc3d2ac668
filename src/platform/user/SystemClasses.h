// The window classes the system gives every program: its controls (internal to the window system).
#pragma once

#include <memory>

#include "platform/user/WindowTree.h"

namespace platform::user {

// The system's class of that name (without regard to case), or null. A program's own class of the same
// name comes first where windows are made.
std::shared_ptr<WindowClass> FindSystemClass(LPCSTR name);

// The procedures of the system's controls.
LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The control state a window of one of those classes keeps, or null when it has none of that kind (the
// window is gone, or belongs to another class).
template <typename State>
State* ControlStateOf(HWND window) {
  WindowData* w = Find(window);
  return w != nullptr ? dynamic_cast<State*>(w->control.get()) : nullptr;
}

// The same, made as the window is made (WM_NCCREATE), so that it goes with the window whatever becomes of
// its procedure.
template <typename State>
State* ControlStateFor(HWND window, UINT message) {
  if (message == WM_NCCREATE) {
    if (WindowData* w = Find(window)) w->control = std::make_unique<State>();
  }
  return ControlStateOf<State>(window);
}

}  // namespace platform::user
