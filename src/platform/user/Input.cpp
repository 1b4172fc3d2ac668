#include "platform/user/Input.h"

#include "platform/kernel/Errors.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/WindowTree.h"

using namespace platform::user;

namespace platform::user {

namespace {

struct InputState {
  POINT cursor{0, 0};
  HWND focus = nullptr;
  HWND capture = nullptr;
  // Buttons and modifiers as the input arrives; GetKeyState follows as each message is taken.
  bool left = false, right = false, middle = false, shift = false, control = false;
};

InputState& State() {
  static InputState state;
  return state;
}

WPARAM MouseKeys() {
  const InputState& s = State();
  WPARAM keys = 0;
  if (s.left) keys |= MK_LBUTTON;
  if (s.right) keys |= MK_RBUTTON;
  if (s.middle) keys |= MK_MBUTTON;
  if (s.shift) keys |= MK_SHIFT;
  if (s.control) keys |= MK_CONTROL;
  return keys;
}

// Queues a mouse message for the window that gets the point: the client message given, or its non-client
// twin when the point lies on the window's frame.
void QueueMouse(UINT clientMessage, int x, int y, int virtualKey, bool down) {
  HWND target = State().capture;
  int hit = HTCLIENT;
  if (target == nullptr) {
    target = WindowFromPoint(POINT{x, y});
    if (target == nullptr) return;
    hit = static_cast<int>(SendMessageA(target, WM_NCHITTEST, 0, MAKELONG(x, y)));
    if (!IsWindow(target)) return;
  }
  // A disabled window takes no mouse input (a modal dialog disables the window behind it).
  if (!IsWindowEnabled(target)) return;
  InputMessage input;
  input.virtualKey = virtualKey;
  input.down = down;
  input.msg.hwnd = target;
  input.msg.pt = POINT{x, y};
  if (hit == HTCLIENT) {
    POINT client{x, y};
    ScreenToClient(target, &client);
    input.msg.message = clientMessage;
    input.msg.wParam = MouseKeys();
    input.msg.lParam = MAKELONG(client.x, client.y);
  } else {
    input.msg.message = clientMessage - (WM_MOUSEMOVE - WM_NCMOUSEMOVE);
    input.msg.wParam = static_cast<WPARAM>(hit);
    input.msg.lParam = MAKELONG(x, y);
  }
  QueueInput(input);
}

HWND KeyTarget() {
  if (State().focus != nullptr) return State().focus;
  for (WindowData* top : Desktop().children) {
    if (top->style & WS_VISIBLE) return top->handle;
  }
  return nullptr;
}

}  // namespace

void ResetInput() {
  State() = InputState{};
  for (int key = 1; key < 256; ++key) platform::SetKeyDown(key, false);
}

}  // namespace platform::user

HWND SetFocus(HWND window) {
  if (window != nullptr && Find(window) == nullptr) return nullptr;
  const HWND previous = State().focus;
  if (previous == window) return previous;
  State().focus = window;
  if (previous != nullptr && IsWindow(previous)) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (window != nullptr && IsWindow(window) && State().focus == window) {
    SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND GetFocus() { return State().focus; }

HWND SetCapture(HWND window) {
  if (window != nullptr && Find(window) == nullptr) return nullptr;
  const HWND previous = State().capture;
  State().capture = window;
  if (previous != nullptr && previous != window && IsWindow(previous)) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  }
  return previous;
}

BOOL ReleaseCapture() {
  const HWND previous = State().capture;
  State().capture = nullptr;
  if (previous != nullptr && IsWindow(previous)) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return State().capture; }

BOOL GetCursorPos(POINT* point) {
  if (point == nullptr) return FALSE;
  *point = State().cursor;
  return TRUE;
}

namespace platform {

void InjectMouseMove(int x, int y) {
  State().cursor = POINT{x, y};
  QueueMouse(WM_MOUSEMOVE, x, y, -1, false);
}

void InjectMouseButton(int x, int y, MouseButton button, bool down) {
  if (State().cursor.x != x || State().cursor.y != y) InjectMouseMove(x, y);
  UINT message = 0;
  int key = 0;
  switch (button) {
    case MouseButton::Left:
      State().left = down;
      message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      key = VK_LBUTTON;
      break;
    case MouseButton::Right:
      State().right = down;
      message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      key = VK_RBUTTON;
      break;
    case MouseButton::Middle:
      State().middle = down;
      message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      key = VK_MBUTTON;
      break;
  }
  QueueMouse(message, x, y, key, down);
}

void InjectKey(int virtualKey, bool down) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  if (virtualKey == VK_SHIFT) State().shift = down;
  if (virtualKey == VK_CONTROL) State().control = down;
  const HWND target = KeyTarget();
  if (target == nullptr) return;
  user::InputMessage input;
  input.virtualKey = virtualKey;
  input.down = down;
  input.msg.hwnd = target;
  input.msg.message = down ? WM_KEYDOWN : WM_KEYUP;
  input.msg.wParam = static_cast<WPARAM>(virtualKey);
  // Repeat count 1; bit 30 the previous state, bit 31 set on release.
  input.msg.lParam = static_cast<LPARAM>(down ? 0x00000001u : 0xC0000001u);
  input.msg.pt = State().cursor;
  user::QueueInput(input);
}

void InjectText(const char* text) {
  if (text == nullptr) return;
  const HWND target = KeyTarget();
  if (target == nullptr) return;
  for (const char* c = text; *c != '\0'; ++c) {
    user::InputMessage input;
    input.msg.hwnd = target;
    input.msg.message = WM_CHAR;
    input.msg.wParam = static_cast<WPARAM>(static_cast<unsigned char>(*c));
    input.msg.lParam = 1;
    input.msg.pt = State().cursor;
    user::QueueInput(input);
  }
}

}  // namespace platform
