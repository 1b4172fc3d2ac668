// The window system's own records of windows and classes (not part of the programming interface).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/user/RectList.h"
#include "platform/user/WindowSurface.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"

namespace platform::user {

struct WindowClass {
  std::string name;
  WNDCLASSA info{};
  std::string menuName;
  int windowCount = 0;
};

// The state the system's own controls keep for each of their windows; it goes with the window.
struct ControlState {
  virtual ~ControlState() = default;
};

struct WindowData {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC procedure = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  WindowData* parent = nullptr;  // the desktop for top-level windows; null only for the desktop
  WindowData* owner = nullptr;
  std::vector<WindowData*> children;  // front-most first
  RECT rect{};                        // window rectangle in the parent's client coordinates
  RECT restoreRect{};                 // where a maximised window goes back to
  bool hasMenu = false;
  HMENU menu = nullptr;  // menu of a top-level window, identifier of a child
  HINSTANCE instance = nullptr;
  std::string text;
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;  // the class's cbWndExtra bytes
  std::vector<std::pair<std::string, HANDLE>> properties;
  RectList update;  // client coordinates, already clipped to what is visible
  bool eraseNeeded = false;
  bool destroying = false;
  bool captionActive = false;  // the frame's look: active or inactive caption (WM_NCACTIVATE)
  bool frameDirty = false;     // the frame needs drawing again (WM_NCPAINT)
  bool closePushed = false;    // the close box is held down under the mouse
  HWND lastFocus = nullptr;    // top-level windows: the focus when the window was last deactivated
  Surface surface;  // top-level windows only
  std::unique_ptr<ControlState> control;  // windows of the system's control classes
};

// The record of a live window; null (and ERROR_INVALID_WINDOW_HANDLE) for anything else.
WindowData* Find(HWND window);
WindowData& Desktop();
bool IsTopLevel(const WindowData& window);
WindowData& TopLevelOf(WindowData& window);

RECT Insets(const WindowData& window);
// Where a maximised window lies in its parent's client coordinates.
RECT MaximizedRect(const WindowData& window);
// The client area in the parent's client coordinates.
RECT ClientRectInParent(const WindowData& window);
POINT ClientOriginOnScreen(const WindowData& window);
POINT WindowOriginOnScreen(const WindowData& window);
bool IsShownChain(const WindowData& window);

// What of the window the user can see, in its client coordinates: its client area (or whole window),
// without what the siblings above it and above its ancestors cover, and without what its visible children
// cover when asked. A top-level window keeps its own pixels whatever lies above it, so other top-level
// windows do not clip it.
RectList VisibleArea(const WindowData& window, bool clientArea, bool withoutChildren = true);
// The area the window (children included) covers on screen, in its parent's client coordinates.
RectList VisibleAreaInParent(const WindowData& window);

// Invalidation of an area in client coordinates: each window takes the part of it that it shows.
void InvalidateTree(WindowData& window, const RectList& area, bool erase, bool children);
void ValidateTree(WindowData& window, const RectList& area, bool children);

// Calls the procedure of a window, after the observers have seen the message.
LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_ERASEBKGND as the system does it: the class brush over the area the DC may touch.
LRESULT EraseBackground(HWND window, HDC dc);

// Queue side of the window system.
struct InputMessage {
  MSG msg;
  int virtualKey = -1;  // the key or button that goes down or up when the message is taken
  bool down = false;
  int hit = HTCLIENT;   // mouse messages: where on the window the point lies
  std::string text;     // key downs: the characters the key typed, for TranslateMessage
  // Mouse messages: the client-area form of the message, the buttons and keys held, and the capture when
  // the message was aimed at its window.
  UINT mouseMessage = 0;
  WPARAM mouseKeys = 0;
  HWND aimedCapture = nullptr;
};
void QueueInput(const InputMessage& input);  // coalesces mouse moves
// The input message queued last and not yet taken, or null.
InputMessage* LastQueuedInput();
// Called as an input message is taken from the queue: the system's part of mouse input (cursor shape,
// activation by a click, frame drags). False when the message goes no further.
bool TakeInput(InputMessage& input);
// Input waiting in the queue goes where the system's state sends it when it comes out, as typed-ahead keys
// and a quick drag do: keys to the window that has the focus then (a key that moves the focus sends the next
// ones to the new window), mouse messages to the capture taken or let go since they were queued. False
// when no window takes the message any more.
bool AimQueuedInput(InputMessage& input);
// The characters typed with the key of a key-down message just taken, or null when none came with it.
const std::string* TypedTextOf(const MSG& msg);
bool FindPaintWindow(HWND filter, HWND* window);
bool MatchesWindowFilter(HWND window, HWND filter);
// Timers: marks those due, hands out the earliest ready one, and tells how long until the next.
bool TakeDueTimer(HWND filter, bool remove, MSG* msg);
DWORD NextTimerDelay(HWND filter);
bool IsTimerProcedure(HWND window, UINT_PTR id, LPARAM procedure);
void KillWindowTimers(HWND window);
void ResetTimers();
void ResetInput();
void ResetActivation();
void ResetCursors();
// The clipboard (Clipboard.cpp): a window going away gives up the clipboard it owns or holds open.
void ForgetClipboardWindow(HWND window);
void ResetClipboard();

// Activation (Activation.cpp): a top-level window becomes the active one, with WM_ACTIVATEAPP,
// WM_NCACTIVATE and WM_ACTIVATE as the system sends them; the window going away hands activation on.
void ActivateTopLevel(HWND window, int how);
void ForgetActivation(HWND window);
// Frames (Frame.cpp): marks frames for drawing, draws those marked, and the hit test of frame parts.
void MarkFrame(WindowData& window);
void MarkFramesIn(WindowData& window, const RectList& area);
void PaintFrames();
LRESULT FramePaint(HWND window);  // WM_NCPAINT as the system does it
// A context drawing on a window's draw target, which ReleaseDC ends.
HDC OpenDrawContext(const DrawTarget& target);
int HitTest(const WindowData& window, POINT screen);
// Caption drags and the close box (Input.cpp): the layer tracks the mouse itself until the button is up.
void BeginFrameTracking(HWND window, int hit, POINT screen);

// A rectangle larger than any window: "all of it" for invalidation.
constexpr RECT kEverywhere{-kAreaLimit, -kAreaLimit, kAreaLimit, kAreaLimit};

void ForgetWindowMessages(HWND window);  // queue side: drops posted messages and timers of a window
void ResetWindows();
void ResetQueue();

}  // namespace platform::user
