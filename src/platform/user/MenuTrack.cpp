// Following the user through menus: a press on a menu bar or TrackPopupMenu opens a menu and takes the
// mouse and the keys until an item is chosen or the menu is left. Pop-up menus are top-level windows of
// the layer's own class, above every other window; other messages go on being dispatched meanwhile.
#include <algorithm>
#include <functional>

#include "platform/kernel/Errors.h"
#include "platform/user/Activation.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/MenuData.h"
#include "platform/user/FrameInternals.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowSurface.h"

namespace platform::user {

namespace {

constexpr const char* kPopupClass = "#MenuPopup";
constexpr int kOverlap = 3;  // a sub-menu's frame lies over its parent's

struct OpenMenu {
  HMENU menu = nullptr;
  HWND window = nullptr;
  int hot = -1;
};

struct Tracker {
  HWND owner = nullptr;
  HMENU bar = nullptr;  // while the user is in the owner's menu bar
  int barHot = -1;
  std::vector<OpenMenu> open;  // outermost first
  bool notify = true;
  UINT chooseButtons = MK_LBUTTON;
  // The press that opened the menu is still down: its release, away from the items, leaves the menu open.
  bool pressOpened = false;
  // The mouse has been over an item since the menu opened: a release over one chooses it (a menu that
  // opens under a held button is not chosen from by merely letting go).
  bool mouseOnItems = false;
  bool done = false;
  bool chosen = false;
  UINT_PTR choice = 0;
};

Tracker* gTracker = nullptr;

const MenuItemData* ItemOf(HMENU menu, int index) {
  const MenuData* data = FindMenu(menu);
  if (data == nullptr || index < 0 || static_cast<std::size_t>(index) >= data->items.size()) return nullptr;
  return &data->items[static_cast<std::size_t>(index)];
}

bool Opens(const MenuItemData* item) {
  return item != nullptr && item->IsPopup() && !item->IsDisabled() && IsMenu(item->subMenu);
}

bool Choosable(const MenuItemData* item) {
  return item != nullptr && !item->IsSeparator() && !item->IsPopup() && !item->IsDisabled();
}

LRESULT PopupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      if (gTracker != nullptr) {
        for (const OpenMenu& open : gTracker->open) {
          const MenuData* data = open.window == window ? FindMenu(open.menu) : nullptr;
          if (data != nullptr) DrawPopup(dc, *data, open.hot);
        }
      }
      EndPaint(window, &paint);
      return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterPopupClass() {
  WNDCLASSA existing{};
  if (GetClassInfoA(nullptr, kPopupClass, &existing)) return;
  WNDCLASSA wc{};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = &PopupProcedure;
  wc.lpszClassName = kPopupClass;
  RegisterClassA(&wc);
}

RECT ScreenRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Keeps a rectangle of the size on the screen, moving it no more than it must.
POINT OnScreen(POINT at, SIZE size) {
  const RECT screen = Desktop().rect;
  at.x = std::max<LONG>(screen.left, std::min<LONG>(at.x, screen.right - size.cx));
  at.y = std::max<LONG>(screen.top, std::min<LONG>(at.y, screen.bottom - size.cy));
  return at;
}

void Redraw(HWND window) {
  if (IsWindow(window)) InvalidateRect(window, nullptr, FALSE);
}

void RedrawBar(Tracker& t) {
  if (WindowData* w = t.bar != nullptr ? Find(t.owner) : nullptr) {
    MarkFrame(*w);
    NoteScreenChanged();
  }
}

void CloseFrom(Tracker& t, std::size_t level) {
  while (t.open.size() > level) {
    const HWND window = t.open.back().window;
    t.open.pop_back();
    if (IsWindow(window)) DestroyWindow(window);
  }
}

// Opens a pop-up menu at a place the caller works out from its size; `index` is its place in the menu
// that opens it, as WM_INITMENUPOPUP tells.
void OpenPopup(Tracker& t, HMENU menu, int index, const std::function<POINT(SIZE)>& place) {
  if (t.notify) SendMessageA(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELONG(index, 0));
  const MenuData* data = FindMenu(menu);
  if (data == nullptr || !IsWindow(t.owner) || t.done) return;
  const SIZE size = PopupSize(*data);
  const POINT at = OnScreen(place(size), size);
  RegisterPopupClass();
  const HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP | WS_DISABLED,
                                      at.x, at.y, size.cx, size.cy, t.owner, nullptr, nullptr, nullptr);
  if (window == nullptr) return;
  t.open.push_back(OpenMenu{menu, window, -1});
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

RECT ItemScreenRect(const OpenMenu& open, int index) {
  const MenuData* data = FindMenu(open.menu);
  if (data == nullptr) return RECT{};
  const std::vector<RECT> rects = PopupItemRects(*data);
  if (index < 0 || static_cast<std::size_t>(index) >= rects.size()) return RECT{};
  const RECT frame = ScreenRectOf(open.window);
  const RECT r = rects[static_cast<std::size_t>(index)];
  return RECT{r.left + frame.left, r.top + frame.top, r.right + frame.left, r.bottom + frame.top};
}

// A sub-menu opens beside its item, to the right unless the screen ends there.
void OpenSubMenu(Tracker& t, std::size_t level, int index) {
  const MenuItemData* item = ItemOf(t.open[level].menu, index);
  if (!Opens(item)) return;
  const RECT parent = ScreenRectOf(t.open[level].window);
  const RECT beside = ItemScreenRect(t.open[level], index);
  OpenPopup(t, item->subMenu, index, [&](SIZE size) {
    POINT at{parent.right - kOverlap, beside.top - kOverlap};
    if (at.x + size.cx > Desktop().rect.right) at.x = parent.left - size.cx + kOverlap;
    return at;
  });
}

void OpenBarPopup(Tracker& t) {
  const WindowData* w = Find(t.owner);
  const MenuItemData* item = ItemOf(t.bar, t.barHot);
  if (w == nullptr || !Opens(item)) return;
  const std::vector<RECT> rects = BarItemRects(*w);
  if (t.barHot >= static_cast<int>(rects.size())) return;
  const POINT origin = WindowOriginOnScreen(*w);
  const RECT r = rects[static_cast<std::size_t>(t.barHot)];
  const POINT below{r.left + origin.x, r.bottom + origin.y};
  OpenPopup(t, item->subMenu, t.barHot, [&](SIZE) { return below; });
}

void SwitchBar(Tracker& t, int index) {
  CloseFrom(t, 0);
  t.barHot = index;
  RedrawBar(t);
  OpenBarPopup(t);
}

void SetHot(Tracker& t, std::size_t level, int index) {
  if (level >= t.open.size() || t.open[level].hot == index) return;
  CloseFrom(t, level + 1);
  t.open[level].hot = index;
  Redraw(t.open[level].window);
}

void Choose(Tracker& t, UINT_PTR id) {
  t.chosen = true;
  t.choice = id;
  t.done = true;
}

struct Hit {
  int level = -1;  // an open menu, with the item there (-1: its frame)
  int item = -1;
  int barItem = -1;
};

Hit HitAt(const Tracker& t, POINT p) {
  for (int level = static_cast<int>(t.open.size()) - 1; level >= 0; --level) {
    const OpenMenu& open = t.open[static_cast<std::size_t>(level)];
    if (!Inside(ScreenRectOf(open.window), p)) continue;
    Hit hit;
    hit.level = level;
    if (const MenuData* data = FindMenu(open.menu)) {
      const std::vector<RECT> rects = PopupItemRects(*data);
      const RECT frame = ScreenRectOf(open.window);
      for (std::size_t i = 0; i < rects.size(); ++i) {
        if (Inside(rects[i], POINT{p.x - frame.left, p.y - frame.top})) hit.item = static_cast<int>(i);
      }
    }
    return hit;
  }
  if (const WindowData* w = t.bar != nullptr ? Find(t.owner) : nullptr) {
    const POINT origin = WindowOriginOnScreen(*w);
    const std::vector<RECT> rects = BarItemRects(*w);
    for (std::size_t i = 0; i < rects.size(); ++i) {
      if (Inside(rects[i], POINT{p.x - origin.x, p.y - origin.y})) return Hit{-1, -1, static_cast<int>(i)};
    }
  }
  return Hit{};
}

// The mouse over an item of an open menu: the item lights up, and a sub-menu it opens shows.
void OverItem(Tracker& t, std::size_t level, int index) {
  if (index >= 0) t.mouseOnItems = true;
  const MenuItemData* item = ItemOf(t.open[level].menu, index);
  const bool separator = item != nullptr && item->IsSeparator();
  SetHot(t, level, separator ? -1 : index);
  if (!separator && t.open.size() == level + 1) OpenSubMenu(t, level, index);
}

void MouseMoved(Tracker& t, POINT p, bool pressed) {
  const Hit hit = HitAt(t, p);
  if (hit.level >= 0) {
    OverItem(t, static_cast<std::size_t>(hit.level), hit.item);
  } else if (hit.barItem >= 0) {
    if (hit.barItem != t.barHot && (!t.open.empty() || pressed)) SwitchBar(t, hit.barItem);
  } else if (!t.open.empty()) {
    // Off the menus, the deepest one forgets its highlight unless a sub-menu of that item is open.
    OpenMenu& deepest = t.open.back();
    if (!Opens(ItemOf(deepest.menu, deepest.hot))) SetHot(t, t.open.size() - 1, -1);
  }
}

void MousePressed(Tracker& t, POINT p) {
  const Hit hit = HitAt(t, p);
  if (hit.level >= 0) {
    OverItem(t, static_cast<std::size_t>(hit.level), hit.item);
  } else if (hit.barItem >= 0) {
    // A press on the open title closes its menu; on another title it opens that one.
    if (hit.barItem == t.barHot && !t.open.empty()) {
      t.done = true;
      return;
    }
    SwitchBar(t, hit.barItem);
    t.pressOpened = true;
  } else {
    t.done = true;  // a press away from the menus leaves them
  }
}

void MouseReleased(Tracker& t, POINT p, bool choosing) {
  const Hit hit = HitAt(t, p);
  const bool opening = t.pressOpened;
  t.pressOpened = false;
  if (hit.level >= 0) {
    if (hit.item < 0 || !choosing || !t.mouseOnItems) return;
    const MenuItemData* item = ItemOf(t.open[static_cast<std::size_t>(hit.level)].menu, hit.item);
    if (Choosable(item)) Choose(t, item->id);
  } else if (hit.barItem >= 0) {
    // A title that is a command of its own is chosen where it was pressed.
    const MenuItemData* item = ItemOf(t.bar, hit.barItem);
    if (choosing && hit.barItem == t.barHot && Choosable(item)) Choose(t, item->id);
  } else if (!opening) {
    t.done = true;
  }
}

// The next item that can light up, from `from` in the direction, round the menu; -1 when none can.
int Step(HMENU menu, int from, int direction) {
  const MenuData* data = FindMenu(menu);
  if (data == nullptr || data->items.empty()) return -1;
  const int count = static_cast<int>(data->items.size());
  int i = from;
  for (int steps = 0; steps < count; ++steps) {
    i = i < 0 ? (direction > 0 ? 0 : count - 1) : (i + direction + count) % count;
    if (!data->items[static_cast<std::size_t>(i)].IsSeparator()) return i;
  }
  return -1;
}

// The next title along the bar; its menu opens when one was open.
void MoveAlongBar(Tracker& t, int direction, int count) {
  const int next = (t.barHot + direction + count) % count;
  if (!t.open.empty()) {
    SwitchBar(t, next);
    return;
  }
  t.barHot = next;
  RedrawBar(t);
}

void KeyPressed(Tracker& t, WPARAM key) {
  const int barCount = t.bar != nullptr ? GetMenuItemCount(t.bar) : 0;
  switch (key) {
    case VK_ESCAPE:
      if (t.open.size() > 1) {
        CloseFrom(t, t.open.size() - 1);
      } else {
        t.done = true;
      }
      return;
    case VK_MENU:
    case VK_F10: t.done = true; return;
    case VK_UP:
    case VK_DOWN: {
      if (t.open.empty()) {
        OpenBarPopup(t);
        if (t.open.empty()) return;
      }
      OpenMenu& deepest = t.open.back();
      SetHot(t, t.open.size() - 1, Step(deepest.menu, deepest.hot, key == VK_DOWN ? 1 : -1));
      return;
    }
    case VK_RIGHT:
      if (!t.open.empty() && Opens(ItemOf(t.open.back().menu, t.open.back().hot))) {
        OpenSubMenu(t, t.open.size() - 1, t.open.back().hot);
        if (!t.open.empty()) SetHot(t, t.open.size() - 1, Step(t.open.back().menu, -1, 1));
      } else if (barCount > 0) {
        MoveAlongBar(t, 1, barCount);
      }
      return;
    case VK_LEFT:
      if (t.open.size() > 1) {
        CloseFrom(t, t.open.size() - 1);
      } else if (barCount > 0) {
        MoveAlongBar(t, -1, barCount);
      }
      return;
    case VK_RETURN: {
      if (t.open.empty()) {
        const MenuItemData* title = ItemOf(t.bar, t.barHot);
        if (Choosable(title)) Choose(t, title->id);
        else OpenBarPopup(t);
        return;
      }
      OpenMenu& deepest = t.open.back();
      const MenuItemData* item = ItemOf(deepest.menu, deepest.hot);
      if (Opens(item)) {
        OpenSubMenu(t, t.open.size() - 1, deepest.hot);
        if (!t.open.empty()) SetHot(t, t.open.size() - 1, Step(t.open.back().menu, -1, 1));
      } else if (Choosable(item)) {
        Choose(t, item->id);
      }
      return;
    }
    default: return;
  }
}

bool IsMouse(UINT message) {
  return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) || message == WM_MOUSEWHEEL;
}

void HandleMouse(Tracker& t, const MSG& msg) {
  UINT message = msg.message;
  if (message == WM_MOUSEWHEEL) return;
  if (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) message += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
  const POINT p = msg.pt;
  switch (message) {
    case WM_MOUSEMOVE: MouseMoved(t, p, GetKeyState(VK_LBUTTON) < 0); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MousePressed(t, p); return;
    case WM_LBUTTONUP: MouseReleased(t, p, (t.chooseButtons & MK_LBUTTON) != 0); return;
    case WM_RBUTTONUP: MouseReleased(t, p, (t.chooseButtons & MK_RBUTTON) != 0); return;
    default: return;
  }
}

// The menu loop: input goes to the menus, everything else is dispatched as usual. It ends with a choice,
// when the user leaves the menus, when the owner goes away or loses the mouse, or when the program quits.
void Run(Tracker& t) {
  gTracker = &t;
  SetCapture(t.owner);
  const bool active = IsApplicationActive();
  while (!t.done) {
    // The user going to another program leaves the menus too.
    if (!IsWindow(t.owner) || GetCapture() != t.owner || (active && !IsApplicationActive())) break;
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsMouse(msg.message)) {
      HandleMouse(t, msg);
    } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      KeyPressed(t, msg.wParam & 0xFF);
    } else if (msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP && msg.message != WM_CHAR &&
               msg.message != WM_SYSCHAR) {
      DispatchMessageA(&msg);
    }
  }
  CloseFrom(t, 0);
  t.barHot = -1;
  RedrawBar(t);
  if (GetCapture() == t.owner) ReleaseCapture();
  gTracker = nullptr;
}

}  // namespace

int OpenBarItem(HWND window) {
  return gTracker != nullptr && gTracker->bar != nullptr && gTracker->owner == window ? gTracker->barHot : -1;
}

bool OpenPopupItemRect(HMENU menu, int position, RECT* rect) {
  if (gTracker == nullptr) return false;
  for (const OpenMenu& open : gTracker->open) {
    const MenuData* data = open.menu == menu ? FindMenu(menu) : nullptr;
    if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->items.size()) continue;
    *rect = ItemScreenRect(open, position);
    return true;
  }
  return false;
}

namespace {

// Follows the user in the window's bar from the title at `index`: its menu open after a press, only the
// title lit when the keys entered the bar.
void TrackBar(HWND window, int index, bool pressed) {
  Tracker t;
  t.owner = window;
  t.bar = GetMenu(window);
  t.pressOpened = pressed;
  SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(t.bar), 0);
  if (!IsWindow(window) || GetMenu(window) != t.bar || !IsMenu(t.bar)) return;
  gTracker = &t;
  if (pressed) {
    SwitchBar(t, index);
  } else {
    t.barHot = index;
    RedrawBar(t);
  }
  Run(t);
  if (t.chosen && IsWindow(window)) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(t.choice & 0xFFFF), 0);
}

WindowData* BarWindow(HWND window) {
  WindowData* w = Find(window);
  if (gTracker != nullptr || w == nullptr || !IsTopLevel(*w) || !w->hasMenu || FindMenu(w->menu) == nullptr) {
    return nullptr;
  }
  return w;
}

}  // namespace

void TrackMenuBar(HWND window, POINT screen) {
  WindowData* w = BarWindow(window);
  if (w == nullptr) return;
  const POINT origin = WindowOriginOnScreen(*w);
  const std::vector<RECT> rects = BarItemRects(*w);
  int index = -1;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (Inside(rects[i], POINT{screen.x - origin.x, screen.y - origin.y})) index = static_cast<int>(i);
  }
  const MenuItemData* item = ItemOf(w->menu, index);
  if (item == nullptr || item->IsSeparator()) return;
  TrackBar(window, index, true);
}

void EnterMenuBar(HWND window) {
  WindowData* w = Find(window);
  if (w == nullptr) return;
  w = BarWindow(TopLevelOf(*w).handle);
  if (w == nullptr) return;
  const int first = Step(w->menu, -1, 1);
  if (first >= 0) TrackBar(w->handle, first, false);
}

}  // namespace platform::user

using namespace platform::user;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (gTracker != nullptr) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  if (MenuOrError(menu) == nullptr) return FALSE;
  if (!IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Tracker t;
  t.owner = owner;
  t.notify = !(flags & TPM_NONOTIFY);
  t.chooseButtons = (flags & TPM_RIGHTBUTTON) ? (MK_LBUTTON | MK_RBUTTON) : MK_LBUTTON;
  t.pressOpened = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
  if (t.notify) SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  if (!IsWindow(owner) || !IsMenu(menu)) return FALSE;
  gTracker = &t;
  OpenPopup(t, menu, 0, [&](SIZE size) {
    POINT at{x, y};
    if (flags & TPM_CENTERALIGN) at.x -= size.cx / 2;
    else if (flags & TPM_RIGHTALIGN) at.x -= size.cx;
    if (flags & TPM_VCENTERALIGN) at.y -= size.cy / 2;
    else if (flags & TPM_BOTTOMALIGN) at.y -= size.cy;
    return at;
  });
  if (t.open.empty()) {
    gTracker = nullptr;
    return FALSE;
  }
  Run(t);
  if (flags & TPM_RETURNCMD) return t.chosen ? static_cast<BOOL>(t.choice & 0xFFFF) : 0;
  if (t.chosen && t.notify && IsWindow(owner)) {
    PostMessageA(owner, WM_COMMAND, static_cast<WPARAM>(t.choice & 0xFFFF), 0);
  }
  return TRUE;
}
