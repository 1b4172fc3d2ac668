// The window system's own records of windows and classes, and the tree they form (not part of the
// programming interface). The queue, timers, input, painting, frames, activation and the clipboard keep
// their own internal headers beside this one.
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

// A rectangle larger than any window: "all of it" for invalidation.
constexpr RECT kEverywhere{-kAreaLimit, -kAreaLimit, kAreaLimit, kAreaLimit};

void ResetWindows();

}  // namespace platform::user
