// The window system's own records of menus, and what the frames and the menu tracking share about them
// (not part of the programming interface).
#pragma once

#include <string>
#include <vector>

#include "platform/user/Menu.h"
#include "platform/user/WindowTree.h"

namespace platform::user {

struct MenuItemData {
  UINT flags = 0;  // kind, breaks and state bits as the calls give them (MF_BYPOSITION left out)
  UINT_PTR id = 0;
  HMENU subMenu = nullptr;  // items with MF_POPUP
  std::string text;         // MF_STRING items
  HBITMAP bitmap = nullptr; // MF_BITMAP items

  bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  bool IsPopup() const { return (flags & MF_POPUP) != 0; }
  bool IsDisabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
  bool IsChecked() const { return (flags & MF_CHECKED) != 0; }
};

struct MenuData {
  HMENU handle = nullptr;
  bool popup = false;
  std::vector<MenuItemData> items;
};

// The record of a live menu; null for anything else. MenuOrError also sets ERROR_INVALID_MENU_HANDLE, as
// the calls do for a bad handle; the layer's own lookups leave the last error alone.
MenuData* FindMenu(HMENU menu);
MenuData* MenuOrError(HMENU menu);
void ResetMenus();
// A window going away takes its menu bar with it.
void DestroyWindowMenu(WindowData& window);

// Layout and drawing (MenuDraw.cpp). Rectangles of a bar are in the window's coordinates (its top-left
// corner at 0, 0), those of a pop-up menu in the pop-up's.
std::vector<RECT> BarItemRects(const WindowData& window);
// The bar's area within the window, above its bottom line.
RECT BarRect(const WindowData& window);
void DrawBar(HDC dc, const WindowData& window, RECT bar, int hot);
SIZE PopupSize(const MenuData& menu);
std::vector<RECT> PopupItemRects(const MenuData& menu);
void DrawPopup(HDC dc, const MenuData& menu, int hot);

// Tracking (MenuTrack.cpp).
// The bar item shown open while the user is in the window's menu bar, or -1.
int OpenBarItem(HWND window);
// A press on the window's menu bar, at a screen point: opens the item there and follows the user.
void TrackMenuBar(HWND window, POINT screen);
// Alt or F10 on a window: its top-level window's bar lights its first title and takes the keys.
void EnterMenuBar(HWND window);
// Where an item of an open pop-up menu lies on the screen.
bool OpenPopupItemRect(HMENU menu, int position, RECT* rect);

}  // namespace platform::user
