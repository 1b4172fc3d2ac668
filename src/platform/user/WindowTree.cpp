#include "platform/user/WindowTree.h"
#include "platform/user/FrameInternals.h"

#include <algorithm>
#include <map>

#include "platform/kernel/Errors.h"
#include "platform/user/Message.h"

namespace platform::user {

namespace {

struct Observer {
  MessageObserver function;
  void* context;
};

std::vector<Observer>& Observers() {
  static std::vector<Observer> observers;
  return observers;
}

}  // namespace

std::map<std::uintptr_t, std::unique_ptr<WindowData>>& WindowTable();

// Never destroyed, like the window table: its surface belongs to the drawing layer's tables.
WindowData& Desktop() {
  static WindowData* desktop = [] {
    auto* d = new WindowData;
    d->handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010));
    d->style = WS_VISIBLE | WS_CLIPCHILDREN;
    d->rect = RECT{0, 0, 800, 600};
    return d;
  }();
  return *desktop;
}

WindowData* Find(HWND window) {
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (window == Desktop().handle) return &Desktop();
  auto& table = WindowTable();
  auto found = table.find(reinterpret_cast<std::uintptr_t>(window));
  if (found == table.end()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return found->second.get();
}

bool IsTopLevel(const WindowData& window) { return window.parent == &Desktop(); }

WindowData& TopLevelOf(WindowData& window) {
  WindowData* w = &window;
  while (w->parent != nullptr && w->parent != &Desktop()) w = w->parent;
  return *w;
}

RECT Insets(const WindowData& window) {
  if (&window == &Desktop()) return RECT{0, 0, 0, 0};
  return NonClientInsets(window.style, window.exStyle, window.hasMenu);
}

RECT ClientRectInParent(const WindowData& window) {
  const RECT in = Insets(window);
  RECT r{window.rect.left + in.left, window.rect.top + in.top, window.rect.right - in.right,
         window.rect.bottom - in.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

POINT ClientOriginOnScreen(const WindowData& window) {
  POINT p{0, 0};
  for (const WindowData* w = &window; w != nullptr && w != &Desktop(); w = w->parent) {
    const RECT client = ClientRectInParent(*w);
    p.x += client.left;
    p.y += client.top;
  }
  return p;
}

POINT WindowOriginOnScreen(const WindowData& window) {
  if (&window == &Desktop()) return POINT{0, 0};
  const POINT parent = ClientOriginOnScreen(*window.parent);
  return POINT{parent.x + window.rect.left, parent.y + window.rect.top};
}

bool IsShownChain(const WindowData& window) {
  for (const WindowData* w = &window; w != nullptr; w = w->parent) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return true;
}

RectList VisibleArea(const WindowData& window, bool clientArea, bool withoutChildren) {
  RectList area;
  if (!IsShownChain(window)) return area;
  // Worked out in screen coordinates, then moved to the window's client coordinates.
  const POINT client = ClientOriginOnScreen(window);
  const POINT origin = WindowOriginOnScreen(window);
  if (clientArea) {
    const RECT c = ClientRectInParent(window);
    area.Add(RECT{client.x, client.y, client.x + (c.right - c.left), client.y + (c.bottom - c.top)});
  } else {
    area.Add(RECT{origin.x, origin.y, origin.x + (window.rect.right - window.rect.left),
                  origin.y + (window.rect.bottom - window.rect.top)});
  }
  for (const WindowData* child : window.children) {
    if (withoutChildren && (child->style & WS_VISIBLE)) area.Subtract(gdi::MovedRect(child->rect, client));
  }
  for (const WindowData* w = &window; w->parent != nullptr && w->parent != &Desktop(); w = w->parent) {
    const WindowData& parent = *w->parent;
    const POINT parentClient = ClientOriginOnScreen(parent);
    const RECT c = ClientRectInParent(parent);
    area.Intersect(RECT{parentClient.x, parentClient.y, parentClient.x + (c.right - c.left),
                        parentClient.y + (c.bottom - c.top)});
    for (const WindowData* sibling : parent.children) {
      if (sibling == w) break;
      if (sibling->style & WS_VISIBLE) area.Subtract(gdi::MovedRect(sibling->rect, parentClient));
    }
  }
  area.Offset(-client.x, -client.y);
  return area;
}

RectList VisibleAreaInParent(const WindowData& window) {
  RectList area = VisibleArea(window, false, false);
  const RECT client = ClientRectInParent(window);
  area.Offset(client.left, client.top);
  return area;
}

void InvalidateTree(WindowData& window, const RectList& area, bool erase, bool children) {
  RectList own = &window == &Desktop() ? RectList() : VisibleArea(window, true);
  own.Intersect(area);
  if (!own.Empty()) {
    window.update.Add(own);
    if (erase) window.eraseNeeded = true;
  }
  if (!children) return;
  MarkFramesIn(window, area);
  for (WindowData* child : window.children) {
    if (!(child->style & WS_VISIBLE)) continue;
    const RECT c = ClientRectInParent(*child);
    RectList part = area;
    part.Offset(-c.left, -c.top);
    InvalidateTree(*child, part, erase, true);
  }
}

void ValidateTree(WindowData& window, const RectList& area, bool children) {
  window.update.Subtract(area);
  if (window.update.Empty()) window.eraseNeeded = false;
  if (!children) return;
  for (WindowData* child : window.children) {
    const RECT c = ClientRectInParent(*child);
    RectList part = area;
    part.Offset(-c.left, -c.top);
    ValidateTree(*child, part, true);
  }
}

LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Observers().empty()) {
    const std::vector<Observer> observers = Observers();
    for (const Observer& o : observers) o.function(o.context, window, message, wParam, lParam);
  }
  if (procedure == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return procedure(window, message, wParam, lParam);
}

}  // namespace platform::user

namespace platform {

FrameLayout FrameLayoutOf(DWORD style, DWORD exStyle, bool menu) {
  FrameLayout layout;
  const bool caption = (style & WS_CAPTION) == WS_CAPTION;
  // A caption carries a thin border (its WS_BORDER bit); WS_DLGFRAME alone is the thicker dialog frame.
  if (style & WS_THICKFRAME) {
    layout.border = 4;
  } else if ((exStyle & WS_EX_DLGMODALFRAME) || (!caption && (style & WS_DLGFRAME))) {
    layout.border = 3;
  } else if (style & WS_BORDER) {
    layout.border = 1;
  }
  // Tool windows (floating palettes) have the small caption.
  if (caption) layout.caption = (exStyle & WS_EX_TOOLWINDOW) ? kSmallCaptionHeight : kCaptionHeight;
  // A maximised main window's border hangs off the screen, so with the caption and this bar its client
  // area starts 40 pixels below the top of the screen, where the program's pop-up menus expect it.
  if (menu && !(style & WS_CHILD)) layout.menuBar = kMenuBarHeight;
  if (exStyle & WS_EX_CLIENTEDGE) layout.edge = 2;
  return layout;
}

RECT NonClientInsets(DWORD style, DWORD exStyle, bool menu) {
  const FrameLayout f = FrameLayoutOf(style, exStyle, menu);
  const LONG side = f.border + f.edge;
  return RECT{side, side + f.caption + f.menuBar, side, side};
}

void AddMessageObserver(MessageObserver observer, void* context) {
  user::Observers().push_back({observer, context});
}

void RemoveMessageObserver(MessageObserver observer, void* context) {
  auto& observers = user::Observers();
  observers.erase(std::remove_if(observers.begin(), observers.end(),
                                 [&](const user::Observer& o) { return o.function == observer && o.context == context; }),
                  observers.end());
}

}  // namespace platform

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT in = platform::NonClientInsets(style, exStyle, menu != FALSE);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }
