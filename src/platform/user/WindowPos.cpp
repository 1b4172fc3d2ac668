// Placement, z-order and visibility of windows, with the messages and repainting that follow a change.
#include <algorithm>

#include "platform/kernel/Errors.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTree.h"
#include "platform/user/ActivationInternals.h"
#include "platform/user/FrameInternals.h"

using namespace platform::user;
using platform::RectList;

namespace {

bool IsTopmost(const WindowData* w) { return IsTopLevel(*w) && (w->exStyle & WS_EX_TOPMOST); }

// Where the window goes among its siblings (index into the list without it), or -1 when the request is bad.
int TargetIndex(const WindowData& w, HWND insertAfter) {
  std::vector<WindowData*> others = w.parent->children;
  others.erase(std::remove(others.begin(), others.end(), &w), others.end());
  int firstPlain = 0;  // top-level windows below the topmost ones
  while (firstPlain < static_cast<int>(others.size()) && IsTopmost(others[firstPlain])) ++firstPlain;
  if (insertAfter == HWND_TOP) return IsTopmost(&w) ? 0 : firstPlain;
  if (insertAfter == HWND_TOPMOST) return 0;
  if (insertAfter == HWND_NOTOPMOST) return firstPlain;
  if (insertAfter == HWND_BOTTOM) return static_cast<int>(others.size());
  WindowData* after = Find(insertAfter);
  if (after == nullptr) return -1;
  const auto at = std::find(others.begin(), others.end(), after);
  if (at == others.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return static_cast<int>(at - others.begin()) + 1;
}

int CurrentIndex(const WindowData& w) {
  const auto& siblings = w.parent->children;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), &w) - siblings.begin());
}

void ClearUpdates(WindowData& w) {
  w.update.Clear();
  w.eraseNeeded = false;
  for (WindowData* child : w.children) ClearUpdates(*child);
}

}  // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  WindowData* w = Find(window);
  if (w == nullptr || w == &Desktop()) return FALSE;
  WINDOWPOS pos{window, insertAfter, x, y, width, height, flags};
  // Works out which of the asked changes are real ones: 1 some, 0 none, -1 a bad request.
  auto normalize = [&](WindowData& data, WINDOWPOS& p) -> int {
    if (p.flags & SWP_NOMOVE) {
      p.x = data.rect.left;
      p.y = data.rect.top;
    }
    if (p.flags & SWP_NOSIZE) {
      p.cx = data.rect.right - data.rect.left;
      p.cy = data.rect.bottom - data.rect.top;
    }
    // Within the window system's reach, so that no edge or screen position overflows.
    p.x = std::clamp<int>(p.x, -platform::kAreaLimit, platform::kAreaLimit);
    p.y = std::clamp<int>(p.y, -platform::kAreaLimit, platform::kAreaLimit);
    p.cx = std::clamp<int>(p.cx, 0, platform::kAreaLimit);
    p.cy = std::clamp<int>(p.cy, 0, platform::kAreaLimit);
    if (p.x == data.rect.left && p.y == data.rect.top) p.flags |= SWP_NOMOVE;
    if (p.cx == data.rect.right - data.rect.left && p.cy == data.rect.bottom - data.rect.top) p.flags |= SWP_NOSIZE;
    if (!(p.flags & SWP_NOZORDER)) {
      if (p.hwndInsertAfter == p.hwnd) {
        p.flags |= SWP_NOZORDER;
      } else {
        const int target = TargetIndex(data, p.hwndInsertAfter);
        if (target < 0) return -1;
        if (target == CurrentIndex(data)) p.flags |= SWP_NOZORDER;
      }
    }
    const bool shown = (data.style & WS_VISIBLE) != 0;
    if ((p.flags & SWP_HIDEWINDOW) && !shown) p.flags &= ~SWP_HIDEWINDOW;
    if ((p.flags & SWP_SHOWWINDOW) && (shown || (p.flags & SWP_HIDEWINDOW))) p.flags &= ~SWP_SHOWWINDOW;
    constexpr UINT kUnchanged = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    return ((p.flags & kUnchanged) != kUnchanged || (p.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)))
               ? 1
               : 0;
  };
  const int asked = normalize(*w, pos);
  if (asked <= 0) return asked == 0 ? TRUE : FALSE;
  if (!(pos.flags & SWP_NOSENDCHANGING)) {
    SendMessageA(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    w = Find(window);
    if (w == nullptr) return FALSE;
    pos.hwnd = window;
    const int kept = normalize(*w, pos);
    if (kept <= 0) return kept == 0 ? TRUE : FALSE;
  }

  const RectList oldVisible = VisibleAreaInParent(*w);
  const RECT oldClient = ClientRectInParent(*w);
  const bool wasShown = (w->style & WS_VISIBLE) != 0;

  if (!(pos.flags & SWP_NOZORDER)) {
    const int target = TargetIndex(*w, pos.hwndInsertAfter);
    auto& siblings = w->parent->children;
    siblings.erase(siblings.begin() + CurrentIndex(*w));
    siblings.insert(siblings.begin() + target, w);
    if (pos.hwndInsertAfter == HWND_TOPMOST && IsTopLevel(*w)) w->exStyle |= WS_EX_TOPMOST;
    if (pos.hwndInsertAfter == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
  }
  w->rect = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
  if (!(w->style & WS_MAXIMIZE)) w->restoreRect = w->rect;
  if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (pos.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  if (IsTopLevel(*w) && !(pos.flags & SWP_NOSIZE)) w->surface.Resize(pos.cx, pos.cy);

  const RECT newClient = ClientRectInParent(*w);
  if (newClient.right - newClient.left == oldClient.right - oldClient.left &&
      newClient.bottom - newClient.top == oldClient.bottom - oldClient.top) {
    pos.flags |= SWP_NOCLIENTSIZE;
  }
  if (newClient.left == oldClient.left && newClient.top == oldClient.top) pos.flags |= SWP_NOCLIENTMOVE;

  if (!(w->style & WS_VISIBLE)) ClearUpdates(*w);
  if (w->style & WS_VISIBLE) MarkFrame(*w);
  if (!(pos.flags & SWP_NOREDRAW)) {
    const RectList newVisible = VisibleAreaInParent(*w);
    // What the window no longer covers belongs to what lies beneath it. A top-level window keeps its own
    // pixels, so nothing beneath one needs repainting.
    if (!IsTopLevel(*w)) {
      RectList beneath = oldVisible;
      beneath.Subtract(newVisible);
      if (!beneath.Empty()) InvalidateTree(*w->parent, beneath, true, true);
    }
    const bool geometry = !(pos.flags & SWP_NOSIZE) || (!(pos.flags & SWP_NOMOVE) && !IsTopLevel(*w));
    if ((pos.flags & SWP_SHOWWINDOW) || geometry || (pos.flags & SWP_FRAMECHANGED)) {
      InvalidateTree(*w, RectList(kEverywhere), true, true);
    } else if (wasShown && (pos.flags & SWP_NOMOVE)) {
      // Raised: what was covered before now shows.
      RectList exposed = newVisible;
      exposed.Subtract(oldVisible);
      exposed.Offset(-newClient.left, -newClient.top);
      if (!exposed.Empty()) InvalidateTree(*w, exposed, true, true);
    }
  }
  platform::NoteScreenChanged();
  SendMessageA(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  // A top-level window that is shown or brought forward becomes the active one unless asked otherwise; the
  // active window, hidden, hands activation on.
  if (IsWindow(window) && IsTopLevel(*Find(window))) {
    if ((pos.flags & SWP_HIDEWINDOW)) {
      ForgetActivation(window);
    } else if (!(pos.flags & SWP_NOACTIVATE) && (pos.flags & (SWP_SHOWWINDOW | SWP_NOZORDER)) != SWP_NOZORDER &&
               IsWindowVisible(window)) {
      ActivateTopLevel(window, WA_ACTIVE);
    }
  }
  return TRUE;
}

namespace platform::user {

RECT MaximizedRect(const WindowData& w) {
  const RECT parent = ClientRectInParent(*w.parent);
  const RECT in = Insets(w);
  // The frame's outer border hangs off the parent's edges; the caption stays in view.
  return RECT{-in.left, -in.left, (parent.right - parent.left) + in.right, (parent.bottom - parent.top) + in.bottom};
}

}  // namespace platform::user

BOOL ShowWindow(HWND window, int command) {
  WindowData* w = Find(window);
  if (w == nullptr || w == &Desktop()) return FALSE;
  const bool wasShown = (w->style & WS_VISIBLE) != 0;
  const bool child = (w->style & WS_CHILD) != 0;
  RECT target = w->rect;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE;
  bool show = true;
  bool activate = true;
  switch (command) {
    case SW_HIDE:
      show = false;
      activate = false;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
    case SW_SHOWNOACTIVATE:
      if (w->style & WS_MAXIMIZE) {
        w->style &= ~WS_MAXIMIZE;
        target = w->restoreRect;
        flags = 0;
      }
      activate = command != SW_SHOWNOACTIVATE;
      break;
    case SW_SHOWMAXIMIZED:
      if (!(w->style & WS_MAXIMIZE)) {
        w->restoreRect = w->rect;
        w->style |= WS_MAXIMIZE;
      }
      target = MaximizedRect(*w);
      flags = 0;
      break;
    case SW_SHOW: break;
    case SW_SHOWNA: activate = false; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (!show && !wasShown) return FALSE;
  if (show != wasShown) {
    SendMessageA(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(window)) return wasShown;
  }
  flags |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  // Child windows are neither activated nor reordered by being shown; hidden windows never come forward.
  if (child || !show) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
  if (!activate) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
  SetWindowPos(window, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top,
               flags);
  return wasShown ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  WindowData* w = Find(window);
  if (w == nullptr) return FALSE;
  w->style &= ~WS_MAXIMIZE;
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL BringWindowToTop(HWND window) {
  return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  WindowData* w = Find(window);
  if (w == nullptr || rect == nullptr) return FALSE;
  const POINT origin = WindowOriginOnScreen(*w);
  *rect = RECT{origin.x, origin.y, origin.x + (w->rect.right - w->rect.left), origin.y + (w->rect.bottom - w->rect.top)};
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  WindowData* w = Find(window);
  if (w == nullptr || rect == nullptr) return FALSE;
  const RECT client = ClientRectInParent(*w);
  *rect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  WindowData* w = Find(window);
  if (w == nullptr || point == nullptr) return FALSE;
  const POINT origin = ClientOriginOnScreen(*w);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
  WindowData* w = Find(window);
  if (w == nullptr || point == nullptr) return FALSE;
  const POINT origin = ClientOriginOnScreen(*w);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  WindowData* source = from ? Find(from) : &Desktop();
  WindowData* destination = to ? Find(to) : &Desktop();
  if (source == nullptr || destination == nullptr) return 0;
  SetLastError(ERROR_SUCCESS);
  const POINT a = ClientOriginOnScreen(*source);
  const POINT b = ClientOriginOnScreen(*destination);
  const LONG dx = a.x - b.x;
  const LONG dy = a.y - b.y;
  for (UINT i = 0; points != nullptr && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(dx, dy);
}

namespace {

bool InRect(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The deepest shown, enabled window at a point given in the client coordinates of parent.
WindowData* Descend(WindowData& parent, POINT p) {
  for (WindowData* child : parent.children) {
    if (!(child->style & WS_VISIBLE) || !InRect(child->rect, p)) continue;
    if (child->style & WS_DISABLED) return &parent == &Desktop() ? child : &parent;
    const RECT client = ClientRectInParent(*child);
    if (!InRect(client, p)) return child;
    return Descend(*child, POINT{p.x - client.left, p.y - client.top});
  }
  return &parent;
}

}  // namespace

HWND WindowFromPoint(POINT point) {
  WindowData* found = Descend(Desktop(), point);
  return found == &Desktop() ? nullptr : found->handle;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  WindowData* p = Find(parent);
  if (p == nullptr) return nullptr;
  const RECT client = ClientRectInParent(*p);
  if (!InRect(RECT{0, 0, client.right - client.left, client.bottom - client.top}, point)) return nullptr;
  for (WindowData* child : p->children) {
    if (InRect(child->rect, point)) return child->handle;
  }
  return parent;
}
