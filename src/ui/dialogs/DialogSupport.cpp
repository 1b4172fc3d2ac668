#include "ui/dialogs/DialogSupport.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/kernel/Errors.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/shell/App.h"

bool gForwardDelete = false;

namespace {

constexpr const char* kProperty = "subClasser";

bool ControlHeld() { return GetKeyState(VK_CONTROL) < 0; }

// The flag goes down again even when handling the backspace raises.
struct ForwardingDelete {
  ForwardingDelete() { gForwardDelete = true; }
  ~ForwardingDelete() { gForwardDelete = false; }
};

LRESULT KeyDown(const SubClasser& record, HWND window, WPARAM wParam, LPARAM lParam) {
  if (LOBYTE(wParam) == VK_DELETE) {
    ForwardingDelete forwarding;
    SendMessageA(window, WM_CHAR, 8, lParam);
    return 0;
  }
  if (ControlHeld()) {
    // Modal dialogs pump their messages without the accelerator table: the shortcut table stands in.
    if (WPARAM command = FindShortcutCommand(wParam)) {
      PostMessageA(gMainWindow, WM_COMMAND, command, 0);
      return 0;
    }
  }
  return CallWindowProcA(record.GetPrevious(), window, WM_KEYDOWN, wParam, lParam);
}

void Character(WPARAM wParam, LPARAM lParam) {
  int key = static_cast<int>(wParam);
  if (ControlHeld() && key < '0') return;
  // The keypad's Enter accepts a dialog even where the field keeps the other Enter for itself.
  if (key == 13 && (lParam & (1 << 24))) key = 3;
  KeyEvent(key, 0);
}

LRESULT ButtonDown(const SubClasser& record, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent(window);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  MapWindowPoints(window, parent, &point, 1);
  const WNDPROC previous = record.GetPrevious();
  MouseDownEvent(MouseEventRecord{parent, point.x, point.y, 0, 1});
  // The framework may have ended the control over that click (a field that stops editing): then nothing
  // is left to pass it to.
  if (message == WM_RBUTTONDOWN || !IsWindow(window)) return 0;
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* record = static_cast<SubClasser*>(GetPropA(window, kProperty));
  ClearBenignError({ERROR_INVALID_PARAMETER});
  CHECK_NOT_NULL(record);
  switch (message) {
    case WM_KEYDOWN:
      return KeyDown(*record, window, wParam, lParam);
    case WM_CHAR:
      Character(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      return ButtonDown(*record, window, message, wParam, lParam);
    default:
      return CallWindowProcA(record->GetPrevious(), window, message, wParam, lParam);
  }
}

}  // namespace

SubClasser::SubClasser(HWND control) : window(control) {
  SetPropA(control, kProperty, this);
  previous = reinterpret_cast<WNDPROC>(SetWindowLongA(control, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubClassProc)));
  if (previous == nullptr) {
    // No procedure was installed: the property must not outlive this record. The error that made the
    // call fail is the one to raise.
    const DWORD failure = GetLastError();
    RemovePropA(control, kProperty);
    SetLastError(failure);
    CHECK_NOT_NULL(previous);
  }
}

void SubClasser::Remove() {
  CHECK_CALL(SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous)));
  RemovePropA(window, kProperty);
}

LRESULT SubClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Handle(window, message, wParam, lParam);
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    held->Report(kAlertStop);
  }
  return 0;
}
