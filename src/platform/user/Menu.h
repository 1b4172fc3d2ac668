// Menus: menu bars in the frames of top-level windows, pop-up menus opened from them or tracked on their
// own, their items (text, bitmap, separator, sub-menu) with their greyed and ticked states.
#pragma once

#include "platform/kernel/WinTypes.h"

// Item flags. MF_STRING, MF_BITMAP and MF_SEPARATOR say what the item shows; MF_POPUP makes it open a
// sub-menu (the identifier is then the sub-menu's handle); MF_MENUBARBREAK and MF_MENUBREAK start a new
// column of a pop-up menu, with and without a line between the columns. MF_BYPOSITION makes the position
// argument a 0-based place, else it is an item's identifier, looked for in sub-menus too.
enum : UINT {
  MF_STRING = 0x0000,
  MF_ENABLED = 0x0000,
  MF_UNCHECKED = 0x0000,
  MF_BYCOMMAND = 0x0000,
  MF_GRAYED = 0x0001,
  MF_DISABLED = 0x0002,
  MF_BITMAP = 0x0004,
  MF_CHECKED = 0x0008,
  MF_POPUP = 0x0010,
  MF_MENUBARBREAK = 0x0020,
  MF_MENUBREAK = 0x0040,
  MF_HILITE = 0x0080,
  MF_OWNERDRAW = 0x0100,
  MF_BYPOSITION = 0x0400,
  MF_SEPARATOR = 0x0800,
};

// TrackPopupMenu: where the menu lies about the point, and how the choice comes back.
enum : UINT {
  TPM_LEFTBUTTON = 0x0000,
  TPM_LEFTALIGN = 0x0000,
  TPM_TOPALIGN = 0x0000,
  TPM_RIGHTBUTTON = 0x0002,
  TPM_CENTERALIGN = 0x0004,
  TPM_RIGHTALIGN = 0x0008,
  TPM_VCENTERALIGN = 0x0010,
  TPM_BOTTOMALIGN = 0x0020,
  TPM_NONOTIFY = 0x0080,
  TPM_RETURNCMD = 0x0100,
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, with it, the sub-menus its items open.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// `item` is the text (MF_STRING), the HBITMAP (MF_BITMAP, which the menu shows but never frees) or unused
// (MF_SEPARATOR). A sub-menu may not contain the menu it is put in.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item);
// Before the item at the position; MF_BYPOSITION with -1 (or a place past the end) appends.
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item);
// Replaces the item wholly; a sub-menu it opened is destroyed unless the new item opens the same one.
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item);
// DeleteMenu destroys a sub-menu the item opens, RemoveMenu keeps it for the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

// Both answer the item's previous state (MF_GRAYED/MF_DISABLED, MF_CHECKED), or -1 when there is no such
// item.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// The item's flags, with the sub-menu's item count in the high byte for an item opening one; -1 when
// there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// -1 without a menu.
int GetMenuItemCount(HMENU menu);
// -1 for an item opening a sub-menu or a place with no item.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// Copies at most size - 1 characters and a NUL; answers the length copied (the full length with no
// buffer).
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);

// The menu bar of a top-level window (null for child windows, whose "menu" is their identifier).
HMENU GetMenu(HWND window);
// Gives a top-level window a menu bar (null: none); the frame makes room for it or gives it back.
BOOL SetMenu(HWND window, HMENU menu);
// Shows the bar as its items now stand; changes to items show only then.
BOOL DrawMenuBar(HWND window);
// Where an item lies on the screen: an item of the window's bar, or of a pop-up menu that is open.
BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, RECT* rect);

// Shows the pop-up menu at the screen point and lets the user choose (mouse or keys) before it returns.
// The owner gets WM_INITMENU and WM_INITMENUPOPUP (unless TPM_NONOTIFY), then the choice posted as
// WM_COMMAND; with TPM_RETURNCMD the choice is answered instead (0: none). Fails while another menu is
// being tracked.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* unused);
