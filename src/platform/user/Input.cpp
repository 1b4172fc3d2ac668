#include "platform/user/Input.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/Activation.h"
#include "platform/user/Cursor.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/WindowTree.h"
#include "platform/user/ActivationInternals.h"
#include "platform/user/FrameInternals.h"
#include "platform/user/InputInternals.h"
#include "platform/user/QueueInternals.h"

using namespace platform::user;

namespace platform::user {

namespace {

// The double-click limits: the second press within this time and this distance of the first.
constexpr DWORD kDoubleClickTime = 500;
constexpr int kDoubleClickDistance = 4;

struct LastPress {
  HWND window = nullptr;
  UINT message = 0;
  DWORD time = 0;
  POINT point{0, 0};
};

// A caption being dragged or a close box being pressed: the layer follows the mouse itself until the
// button comes up.
struct FrameTracking {
  HWND window = nullptr;
  int hit = HTNOWHERE;
  POINT start{0, 0};
  RECT startRect{};  // in the parent's client coordinates
};

struct TakenKey {
  MSG msg{};
  std::string text;
};

struct InputState {
  POINT cursor{0, 0};
  HWND focus = nullptr;
  HWND capture = nullptr;
  // Buttons and keys as the input arrives; GetKeyState follows as each message is taken.
  bool left = false, right = false, middle = false;
  std::array<bool, 256> keys{};
  LastPress lastPress;
  FrameTracking tracking;
  TakenKey lastKey;
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
  if (s.keys[VK_SHIFT]) keys |= MK_SHIFT;
  if (s.keys[VK_CONTROL]) keys |= MK_CONTROL;
  return keys;
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// Presses and double-clicks of any button, in the client area or on the frame.
bool IsPress(UINT message) {
  if (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) message += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
  if (message < WM_LBUTTONDOWN || message > WM_MBUTTONDBLCLK) return false;
  return (message - WM_LBUTTONDOWN) % 3 != 1;
}

bool IsClientMouse(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK; }
bool IsNonClientMouse(UINT message) { return message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK; }

// A press turns into a double-click for windows whose class asks for them, when it follows a press of the
// same button on the same window closely enough in time and place.
UINT PressMessage(UINT message, HWND target, POINT point) {
  InputState& s = State();
  const DWORD now = GetTickCount();
  WindowData* w = Find(target);
  const bool wants = w != nullptr && w->windowClass && (w->windowClass->info.style & CS_DBLCLKS);
  const LastPress& last = s.lastPress;
  if (wants && last.window == target && last.message == message && now - last.time <= kDoubleClickTime &&
      std::abs(point.x - last.point.x) <= kDoubleClickDistance &&
      std::abs(point.y - last.point.y) <= kDoubleClickDistance) {
    s.lastPress = LastPress{};  // a third press starts again
    return message + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
  }
  s.lastPress = LastPress{target, message, now, point};
  return message;
}

// A key or button that goes down or up with no window to tell: the state changes in its turn, after the
// input queued before it.
void ChangeKeyState(int virtualKey, bool down) {
  if (virtualKey < 0) return;
  if (LastQueuedInput() == nullptr) {
    platform::SetKeyDown(virtualKey, down);
    return;
  }
  InputMessage change;
  change.msg.message = WM_NULL;
  change.virtualKey = virtualKey;
  change.down = down;
  QueueInput(change);
}

// Aims a mouse message at the window that gets its point: the client message, or its non-client twin when
// the point lies on the window's frame. False when no window takes it.
bool AimMouse(InputMessage& input) {
  // A frame being dragged takes the mouse wherever it goes, as the capture does, while it lives.
  if (State().tracking.window != nullptr && !IsWindow(State().tracking.window)) State().tracking = FrameTracking{};
  const POINT point = input.msg.pt;
  const UINT clientMessage = input.mouseMessage;
  HWND target = State().tracking.window != nullptr ? State().tracking.window : State().capture;
  int hit = HTCLIENT;
  if (target == nullptr) {
    target = WindowFromPoint(point);
    if (target != nullptr) hit = static_cast<int>(SendMessageA(target, WM_NCHITTEST, 0, MAKELONG(point.x, point.y)));
  }
  // A disabled window takes no mouse input (a modal dialog disables the window behind it).
  if (!IsWindow(target) || !IsWindowEnabled(target)) return false;
  input.hit = hit;
  input.aimedCapture = State().capture;
  input.msg.hwnd = target;
  if (hit == HTCLIENT) {
    POINT client = point;
    ScreenToClient(target, &client);
    input.msg.message = IsButtonDown(clientMessage) ? PressMessage(clientMessage, target, point) : clientMessage;
    input.msg.wParam = input.mouseKeys;
    // Signed 16-bit coordinates: a captured mouse left or above the window gives negative ones.
    input.msg.lParam = MAKELONG(client.x, client.y);
  } else {
    if (IsButtonDown(clientMessage)) State().lastPress = LastPress{};
    input.msg.message = clientMessage - (WM_MOUSEMOVE - WM_NCMOUSEMOVE);
    input.msg.wParam = static_cast<WPARAM>(hit);
    input.msg.lParam = MAKELONG(point.x, point.y);
  }
  return true;
}

// Queues a mouse message for the window that gets the point.
void QueueMouse(UINT clientMessage, int x, int y, int virtualKey, bool down) {
  InputMessage input;
  input.virtualKey = virtualKey;
  input.down = down;
  input.mouseMessage = clientMessage;
  input.mouseKeys = MouseKeys();
  input.msg.pt = POINT{x, y};
  // The button's state changes all the same, so that a button let go outside every window is not held for
  // ever.
  if (!AimMouse(input)) {
    ChangeKeyState(virtualKey, down);
    return;
  }
  QueueInput(input);
}

HWND KeyTarget() {
  if (State().focus != nullptr) return State().focus;
  if (HWND active = GetActiveWindow()) return active;
  for (WindowData* top : Desktop().children) {
    if (top->style & WS_VISIBLE) return top->handle;
  }
  return nullptr;
}

// Follows a caption drag or a close-box press with the message just taken; true when it took it.
bool Track(const InputMessage& input) {
  FrameTracking& t = State().tracking;
  if (t.window == nullptr) return false;
  const UINT message = input.msg.message;
  if (!IsClientMouse(message) && !IsNonClientMouse(message)) return false;
  const bool release = message == WM_LBUTTONUP || message == WM_NCLBUTTONUP;
  WindowData* w = Find(t.window);
  if (w == nullptr) {
    t = FrameTracking{};
    return false;
  }
  POINT p = input.msg.pt;
  if (t.hit == HTCAPTION && !IsPress(message)) {
    // The pointer stays over the parent's client area, so the caption can always be taken again.
    const POINT parentOrigin = ClientOriginOnScreen(*w->parent);
    const RECT parentClient = ClientRectInParent(*w->parent);
    const LONG width = parentClient.right - parentClient.left, height = parentClient.bottom - parentClient.top;
    p.x = std::clamp<LONG>(p.x, parentOrigin.x, parentOrigin.x + std::max<LONG>(width - 1, 0));
    p.y = std::clamp<LONG>(p.y, parentOrigin.y, parentOrigin.y + std::max<LONG>(height - 1, 0));
    const HWND window = t.window;
    const RECT from = t.startRect;
    SetWindowPos(window, nullptr, from.left + (p.x - t.start.x), from.top + (p.y - t.start.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (t.hit == HTCLOSE) {
    // The box looks held down while the mouse is over it, and closes when let go there.
    const bool over = HitTest(*w, p) == HTCLOSE;
    const bool pushed = over && !release && !IsPress(message);
    if (w->closePushed != pushed) {
      w->closePushed = pushed;
      MarkFrame(*w);
    }
    if (over && release) PostMessageA(t.window, WM_SYSCOMMAND, SC_CLOSE, MAKELONG(p.x, p.y));
  }
  // Taken in their turn, the messages end the drag at the release; a press means the release was lost
  // (let go where no window took it), so it ends the drag too.
  if (release || IsPress(message)) State().tracking = FrameTracking{};
  return true;
}

}  // namespace

void BeginFrameTracking(HWND window, int hit, POINT screen) {
  WindowData* w = Find(window);
  if (w == nullptr || (hit != HTCAPTION && hit != HTCLOSE)) return;
  if (hit == HTCAPTION) {
    if (w->style & WS_MAXIMIZE) return;
    // Taking a frame by its caption brings it forward, which activates it.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    w = Find(window);
    if (w == nullptr) return;
  }
  if (hit == HTCLOSE) {
    w->closePushed = true;
    MarkFrame(*w);
  }
  State().tracking = FrameTracking{window, hit, screen, w->rect};
}

bool TakeInput(InputMessage& input) {
  MSG& msg = input.msg;
  if (msg.hwnd == nullptr && msg.message == WM_NULL) return false;  // a change of key state only
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    State().lastKey = TakenKey{msg, input.text};
    return true;
  }
  if (!IsClientMouse(msg.message) && !IsNonClientMouse(msg.message)) return true;
  if (Track(input)) return false;
  if (!IsWindow(msg.hwnd)) return false;
  const HWND window = msg.hwnd;
  // The cursor's shape is the window's to choose, except while the mouse is captured.
  if (State().capture == nullptr) {
    const UINT mouseMessage = IsNonClientMouse(msg.message) ? msg.message + (WM_MOUSEMOVE - WM_NCMOUSEMOVE) : msg.message;
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELONG(input.hit, mouseMessage));
    if (!IsWindow(window)) return false;
  }
  const bool press = IsPress(msg.message);
  if (!press) return true;
  // A press in a window of an inactive top-level window may activate it, as the window answers.
  WindowData* w = Find(window);
  const HWND top = TopLevelOf(*w).handle;
  if (top == GetActiveWindow() && IsApplicationActive()) return true;
  const UINT mouseMessage = IsNonClientMouse(msg.message) ? msg.message + (WM_MOUSEMOVE - WM_NCMOUSEMOVE) : msg.message;
  const LRESULT answer =
      SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELONG(input.hit, mouseMessage));
  if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && IsWindow(top)) {
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ActivateTopLevel(top, WA_CLICKACTIVE);
  }
  return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT && IsWindow(window);
}

bool AimQueuedInput(InputMessage& input) {
  if (input.mouseMessage != 0) {
    if (State().tracking.window != nullptr || State().capture == input.aimedCapture) return true;
    return AimMouse(input);
  }
  const UINT message = input.msg.message;
  if (input.msg.hwnd == nullptr || message < WM_KEYDOWN || message > WM_SYSCHAR) return true;
  if (const HWND target = KeyTarget()) input.msg.hwnd = target;
  return true;
}

const std::string* TypedTextOf(const MSG& msg) {
  const TakenKey& k = State().lastKey;
  if (k.text.empty() || k.msg.hwnd != msg.hwnd || k.msg.message != msg.message || k.msg.wParam != msg.wParam ||
      k.msg.lParam != msg.lParam || k.msg.time != msg.time) {
    return nullptr;
  }
  return &k.text;
}

void ResetInput() {
  State() = InputState{};
  for (int key = 1; key < 256; ++key) platform::SetKeyDown(key, false);
}

}  // namespace platform::user

HWND SetFocus(HWND window) {
  WindowData* w = window != nullptr ? Find(window) : nullptr;
  if (window != nullptr && w == nullptr) return nullptr;
  // The focus lies in the active window: focusing a window of another top-level window activates that one.
  if (w != nullptr && platform::IsApplicationActive()) {
    const HWND top = TopLevelOf(*w).handle;
    if (top != GetActiveWindow()) ActivateTopLevel(top, WA_ACTIVE);
    if (!IsWindow(window)) return nullptr;
  }
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
  const POINT p = ConfinePoint(POINT{x, y});
  State().cursor = p;
  QueueMouse(WM_MOUSEMOVE, p.x, p.y, -1, false);
}

void InjectMouseButton(int x, int y, MouseButton button, bool down) {
  const POINT p = ConfinePoint(POINT{x, y});
  if (State().cursor.x != p.x || State().cursor.y != p.y) InjectMouseMove(p.x, p.y);
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
  QueueMouse(message, p.x, p.y, key, down);
}

void InjectKey(int virtualKey, bool down, bool extended) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  auto& keys = State().keys;
  const bool wasDown = keys[static_cast<std::size_t>(virtualKey)];
  keys[static_cast<std::size_t>(virtualKey)] = down;
  const HWND target = KeyTarget();
  if (target == nullptr) {
    user::ChangeKeyState(virtualKey, down);
    return;
  }
  // With Alt held (and for Alt itself, and F10) keys are system keys, meant for the menu bar; Ctrl with Alt
  // is the key that types a keyboard's third characters (AltGr: @, #, € on a French keyboard), so those
  // keys stay ordinary ones.
  const bool alt = keys[VK_MENU];
  const bool system = ((alt || virtualKey == VK_MENU) && !keys[VK_CONTROL]) || virtualKey == VK_F10;
  user::InputMessage input;
  input.virtualKey = virtualKey;
  input.down = down;
  input.msg.hwnd = target;
  input.msg.message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  input.msg.wParam = static_cast<WPARAM>(virtualKey);
  // Repeat count 1; bit 24 an extended key (keypad Enter, the arrows beside the letters, ...); bit 29 Alt
  // held; bit 30 the previous state; bit 31 set on release.
  std::uint32_t data = 1;
  if (extended) data |= 1u << 24;
  if (alt) data |= 1u << 29;
  if (wasDown || !down) data |= 1u << 30;
  if (!down) data |= 1u << 31;
  input.msg.lParam = static_cast<LPARAM>(static_cast<std::int32_t>(data));
  input.msg.pt = State().cursor;
  user::QueueInput(input);
}

void InjectText(const char* text) {
  if (text == nullptr || *text == '\0') return;
  const HWND target = KeyTarget();
  if (target == nullptr) return;
  // Characters typed by the key that just went down are that key's, for TranslateMessage to give.
  user::InputMessage* last = user::LastQueuedInput();
  if (last != nullptr && last->down && last->msg.hwnd == target &&
      (last->msg.message == WM_KEYDOWN || last->msg.message == WM_SYSKEYDOWN)) {
    last->text += text;
    return;
  }
  // Text with no key of its own (an input method, a symbol the keyboard has no key for) arrives as
  // characters.
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
