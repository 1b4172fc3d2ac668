// Menu objects: their items, the calls that build and change them, and the menu bars of windows.
#include "platform/user/Menu.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/kernel/Errors.h"
#include "platform/user/MenuData.h"
#include "platform/user/FrameInternals.h"
#include "platform/user/WindowSurface.h"

namespace platform::user {

namespace {

// Never destroyed, as the window table: program objects kept in globals (a dialog's pop-up menu) let their
// menus go in the exit handlers, in whatever order those run.
std::map<std::uintptr_t, std::unique_ptr<MenuData>>& MenuTable() {
  static auto* table = new std::map<std::uintptr_t, std::unique_ptr<MenuData>>;
  return *table;
}

std::uintptr_t& NextMenuHandle() {
  static std::uintptr_t next = 0x70010;
  return next;
}

HMENU NewMenu(bool popup) {
  auto menu = std::make_unique<MenuData>();
  menu->handle = reinterpret_cast<HMENU>(NextMenuHandle());
  NextMenuHandle() += 4;
  menu->popup = popup;
  const HMENU handle = menu->handle;
  MenuTable().emplace(reinterpret_cast<std::uintptr_t>(handle), std::move(menu));
  return handle;
}

// Whether `inner` is `outer` or lies somewhere below it.
bool Contains(HMENU outer, HMENU inner, int depth = 0) {
  if (outer == inner) return true;
  const auto found = MenuTable().find(reinterpret_cast<std::uintptr_t>(outer));
  if (found == MenuTable().end() || depth > 64) return false;
  for (const MenuItemData& item : found->second->items) {
    if (item.IsPopup() && Contains(item.subMenu, inner, depth + 1)) return true;
  }
  return false;
}

struct ItemPlace {
  MenuData* menu = nullptr;
  std::size_t index = 0;
};

// The first item with the identifier, depth first through the sub-menus.
ItemPlace FindByCommand(MenuData& menu, UINT id, int depth = 0) {
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    MenuItemData& item = menu.items[i];
    if (!item.IsPopup()) {
      if (item.id == id) return {&menu, i};
      continue;
    }
    const auto found = MenuTable().find(reinterpret_cast<std::uintptr_t>(item.subMenu));
    if (found == MenuTable().end() || depth > 64) continue;
    if (ItemPlace place = FindByCommand(*found->second, id, depth + 1); place.menu != nullptr) return place;
  }
  return {};
}

ItemPlace FindItem(HMENU handle, UINT position, UINT flags) {
  MenuData* menu = MenuOrError(handle);
  if (menu == nullptr) return {};
  if (flags & MF_BYPOSITION) {
    if (position >= menu->items.size()) return {};
    return {menu, position};
  }
  return FindByCommand(*menu, position);
}

// The item the flags describe, or nothing (with the reason in the last error).
bool MakeItem(HMENU owner, UINT flags, UINT_PTR id, LPCSTR content, MenuItemData* item) {
  if (flags & MF_OWNERDRAW) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  }
  item->flags = flags & ~static_cast<UINT>(MF_BYPOSITION | MF_HILITE);
  if (flags & MF_POPUP) {
    const auto sub = reinterpret_cast<HMENU>(id);
    if (MenuOrError(sub) == nullptr) return false;
    // A menu inside itself would open without end.
    if (Contains(sub, owner)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    item->subMenu = sub;
  } else {
    item->id = id;
  }
  if (flags & MF_SEPARATOR) {
    item->flags &= ~static_cast<UINT>(MF_BITMAP | MF_POPUP);
    item->subMenu = nullptr;
  } else if (flags & MF_BITMAP) {
    item->bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(content));
  } else if (content != nullptr) {
    item->text = content;
  }
  return true;
}

void DestroyTree(HMENU handle, int depth) {
  const auto found = MenuTable().find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == MenuTable().end()) return;
  std::unique_ptr<MenuData> menu = std::move(found->second);
  MenuTable().erase(found);
  if (depth > 64) return;
  for (const MenuItemData& item : menu->items) {
    if (item.IsPopup()) DestroyTree(item.subMenu, depth + 1);
  }
}

bool RemoveItem(HMENU menu, UINT position, UINT flags, bool destroySubMenu) {
  const ItemPlace place = FindItem(menu, position, flags);
  if (place.menu == nullptr) {
    if (MenuOrError(menu) != nullptr) SetLastError(ERROR_NOT_FOUND);
    return false;
  }
  const MenuItemData item = place.menu->items[place.index];
  place.menu->items.erase(place.menu->items.begin() + static_cast<std::ptrdiff_t>(place.index));
  if (destroySubMenu && item.IsPopup()) DestroyTree(item.subMenu, 0);
  return true;
}

}  // namespace

MenuData* FindMenu(HMENU menu) {
  const auto found = MenuTable().find(reinterpret_cast<std::uintptr_t>(menu));
  return found == MenuTable().end() ? nullptr : found->second.get();
}

MenuData* MenuOrError(HMENU menu) {
  MenuData* data = FindMenu(menu);
  if (data == nullptr) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return data;
}

void ResetMenus() { MenuTable().clear(); }

void DestroyWindowMenu(WindowData& window) {
  if (!IsTopLevel(window) || window.menu == nullptr) return;
  DestroyTree(window.menu, 0);
  window.menu = nullptr;
}

}  // namespace platform::user

using namespace platform::user;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (MenuOrError(menu) == nullptr) return FALSE;
  DestroyTree(menu, 0);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  return MenuTable().count(reinterpret_cast<std::uintptr_t>(menu)) != 0 ? TRUE : FALSE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item) {
  MenuData* data = MenuOrError(menu);
  if (data == nullptr) return FALSE;
  MenuItemData made;
  if (!MakeItem(menu, flags, id, item, &made)) return FALSE;
  data->items.push_back(std::move(made));
  return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item) {
  MenuData* data = MenuOrError(menu);
  if (data == nullptr) return FALSE;
  MenuItemData made;
  if (!MakeItem(menu, flags, id, item, &made)) return FALSE;
  if (flags & MF_BYPOSITION) {
    const std::size_t at = std::min<std::size_t>(position, data->items.size());
    data->items.insert(data->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(made));
    return TRUE;
  }
  const ItemPlace place = FindByCommand(*data, position);
  if (place.menu == nullptr) {
    SetLastError(ERROR_NOT_FOUND);
    return FALSE;
  }
  place.menu->items.insert(place.menu->items.begin() + static_cast<std::ptrdiff_t>(place.index), std::move(made));
  return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item) {
  const ItemPlace place = FindItem(menu, position, flags);
  if (place.menu == nullptr) {
    if (MenuOrError(menu) != nullptr) SetLastError(ERROR_NOT_FOUND);
    return FALSE;
  }
  MenuItemData made;
  if (!MakeItem(place.menu->handle, flags, id, item, &made)) return FALSE;
  MenuItemData& old = place.menu->items[place.index];
  const HMENU replaced = old.IsPopup() && old.subMenu != made.subMenu ? old.subMenu : nullptr;
  old = std::move(made);
  if (replaced != nullptr) DestroyTree(replaced, 0);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return RemoveItem(menu, position, flags, true) ? TRUE : FALSE; }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return RemoveItem(menu, position, flags, false) ? TRUE : FALSE; }

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  const ItemPlace place = FindItem(menu, item, enable);
  if (place.menu == nullptr) return -1;
  UINT& flags = place.menu->items[place.index].flags;
  const UINT previous = flags & (MF_GRAYED | MF_DISABLED);
  flags = (flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  const ItemPlace place = FindItem(menu, item, check);
  if (place.menu == nullptr) return static_cast<DWORD>(-1);
  UINT& flags = place.menu->items[place.index].flags;
  const UINT previous = flags & MF_CHECKED;
  flags = (flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  const ItemPlace place = FindItem(menu, item, flags);
  if (place.menu == nullptr) return static_cast<UINT>(-1);
  const MenuItemData& found = place.menu->items[place.index];
  if (!found.IsPopup()) return found.flags;
  const MenuData* sub = FindMenu(found.subMenu);
  const UINT count = sub != nullptr ? static_cast<UINT>(std::min<std::size_t>(sub->items.size(), 0xFF)) : 0;
  return (count << 8) | (found.flags & 0xFF);
}

int GetMenuItemCount(HMENU menu) {
  const MenuData* data = MenuOrError(menu);
  return data != nullptr ? static_cast<int>(data->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  const MenuData* data = MenuOrError(menu);
  if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->items.size()) {
    return static_cast<UINT>(-1);
  }
  const MenuItemData& item = data->items[static_cast<std::size_t>(position)];
  return item.IsPopup() ? static_cast<UINT>(-1) : static_cast<UINT>(item.id);
}

HMENU GetSubMenu(HMENU menu, int position) {
  const MenuData* data = MenuOrError(menu);
  if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->items.size()) return nullptr;
  const MenuItemData& item = data->items[static_cast<std::size_t>(position)];
  return item.IsPopup() && IsMenu(item.subMenu) ? item.subMenu : nullptr;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  const ItemPlace place = FindItem(menu, item, flags);
  if (place.menu == nullptr) return 0;
  const std::string& text = place.menu->items[place.index].text;
  if (buffer == nullptr || size <= 0) return static_cast<int>(text.size());
  const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

HMENU GetMenu(HWND window) {
  const WindowData* w = Find(window);
  if (w == nullptr || !IsTopLevel(*w)) return nullptr;
  return w->menu;
}

BOOL SetMenu(HWND window, HMENU menu) {
  WindowData* w = Find(window);
  if (w == nullptr) return FALSE;
  if (!IsTopLevel(*w) || (w->style & WS_CHILD)) {
    SetLastError(ERROR_CHILD_WINDOW_NOT_HMENU);
    return FALSE;
  }
  if (menu != nullptr && MenuOrError(menu) == nullptr) return FALSE;
  const RECT oldClient = ClientRectInParent(*w);
  w->menu = menu;
  w->hasMenu = menu != nullptr;
  const RECT client = ClientRectInParent(*w);
  MarkFrame(*w);
  InvalidateTree(*w, platform::RectList(kEverywhere), true, true);
  platform::NoteScreenChanged();
  // The bar takes its room from the client area, or gives it back.
  if (client.top != oldClient.top) SendMessageA(window, WM_MOVE, 0, MAKELONG(client.left, client.top));
  if (IsWindow(window) && client.bottom - client.top != oldClient.bottom - oldClient.top) {
    SendMessageA(window, WM_SIZE, (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                 MAKELONG(client.right - client.left, client.bottom - client.top));
  }
  return TRUE;
}

BOOL DrawMenuBar(HWND window) {
  WindowData* w = Find(window);
  if (w == nullptr) return FALSE;
  if (!IsTopLevel(*w) || !w->hasMenu) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  MarkFrame(*w);
  platform::NoteScreenChanged();
  return TRUE;
}

BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, RECT* rect) {
  if (rect == nullptr || MenuOrError(menu) == nullptr) {
    if (rect == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const WindowData* w = Find(window);
  if (w != nullptr && IsTopLevel(*w) && w->hasMenu && w->menu == menu) {
    const std::vector<RECT> items = BarItemRects(*w);
    if (position >= items.size()) return FALSE;
    const POINT origin = WindowOriginOnScreen(*w);
    const RECT r = items[position];
    *rect = RECT{r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
    return TRUE;
  }
  return OpenPopupItemRect(menu, static_cast<int>(position), rect) ? TRUE : FALSE;
}
