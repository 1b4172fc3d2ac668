// The system's "BUTTON" class: push buttons (the default one drawn with a heavier border), check boxes and
// radio buttons, their automatic kinds, and the dialog-item calls that reach them by identifier.
//
// A button follows the mouse while the left button is held (pressed while the pointer is over it, raised
// when it leaves) and is clicked when the button comes up over it; a space bar pressed and released while
// it has the focus clicks it too. A click first changes the check of the automatic kinds (an automatic radio
// button unchecks the other automatic radio buttons of its group), then tells the parent with WM_COMMAND:
// the identifier in the low word, BN_CLICKED in the high word, the button's handle in lParam. The
// characters of Tab, Enter and Esc go on to the parent window, so that a window's own keys keep working
// while one of its buttons has the focus; other keys do nothing.
#pragma once

#include "platform/kernel/WinTypes.h"

// Button styles: the kind in the low four bits. Plain constants, so that they combine with the window
// styles.
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_3STATE = 0x5;
constexpr DWORD BS_AUTO3STATE = 0x6;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_TYPEMASK = 0xF;

enum : UINT {
  BM_GETCHECK = 0x00F0,
  BM_SETCHECK = 0x00F1,
  BM_GETSTATE = 0x00F2,
  BM_SETSTATE = 0x00F3,
  BM_SETSTYLE = 0x00F4,
  BM_CLICK = 0x00F5,
};

enum : UINT { BST_UNCHECKED = 0x0, BST_CHECKED = 0x1, BST_INDETERMINATE = 0x2, BST_PUSHED = 0x4, BST_FOCUS = 0x8 };

// Notification codes (the high word of WM_COMMAND's wParam).
enum : WORD { BN_CLICKED = 0 };

// The child window with that identifier; null (ERROR_CONTROL_ID_NOT_FOUND) when there is none.
HWND GetDlgItem(HWND dialog, int id);
// BM_GETCHECK of that child; 0 when there is none.
UINT IsDlgButtonChecked(HWND dialog, int id);
// BM_SETCHECK of that child; FALSE when there is none.
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
