#include "ui/shell/MessagePump.h"

#include "core/Alert.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/UiState.h"
#include "ui/shell/App.h"
#include "ui/shell/TwainSupport.h"

bool ProcessModalEvents(HWND modalWindow) {
  const DWORD deadline = GetTickCount() + 500;
  try {
    MSG msg{};
    // The difference is read as signed, so that the tick count wrapping round does not end the batch.
    while (static_cast<LONG>(deadline - GetTickCount()) > 0 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The quit is the program's own loop's to end on: it goes back for that loop to find, and the
        // modal loop ends so that the program gets there.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      try {
        if (TwainFilterMessage(&msg)) continue;
      } catch (...) {
        Alert(kAlertStop, kButtonsOK, "Caught Bad Error in ProcessModalEvents(1)");
      }
      try {
        if (modalWindow != nullptr && IsMouseMessage(msg.message) && msg.hwnd != gMainWindow &&
            msg.hwnd != modalWindow && GetParent(msg.hwnd) != modalWindow)
          return true;
      } catch (...) {
        Alert(kAlertStop, kButtonsOK, "Caught Bad Error in ProcessModalEvents(2)");
      }
      try {
        TranslateMessage(&msg);
      } catch (...) {
        Alert(kAlertStop, kButtonsOK, "Caught Bad Error in ProcessModalEvents(3)");
      }
      try {
        DispatchMessageA(&msg);
      } catch (...) {
        Alert(kAlertStop, kButtonsOK, "Caught Bad Error in ProcessModalEvents(4)");
      }
      if (!IsApplicationRunning()) {
        PostQuitMessage(0);
        return false;
      }
    }
  } catch (...) {
    Alert(kAlertStop, kButtonsOK, "Caught Bad Error in ProcessModalEvents(End)");
  }
  return true;
}

void PumpPaintMessages() {
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    // The quit comes whatever the filter: it goes back for the program's own loop to end on.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchMessageA(&msg);
  }
}

bool HasMouseMoved() {
  MSG msg{};
  if (!PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE)) return false;
  const WORD x = LOWORD(msg.lParam);
  const WORD y = HIWORD(msg.lParam);
  UiState& state = TheUiState();
  if (x == state.lastMouseX && y == state.lastMouseY) return false;
  state.lastMouseX = x;
  state.lastMouseY = y;
  return true;
}

bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

Point PointFromLParam(LPARAM lParam) { return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

std::uint32_t MouseModifierFlags(WPARAM wParam) {
  std::uint32_t flags = 0;
  if (wParam & MK_SHIFT) flags |= 1;
  if (wParam & MK_CONTROL) flags |= 4;
  return flags;
}
