// The "EDIT" control: a child window the user types text into (CreateWindowExA with the class "EDIT").
//
// Text is Windows-1252 bytes; a multi-line control breaks it into lines at CR, LF and CR LF and wraps it
// at blanks to its width, with the same line breaker DrawTextA uses, so a text measured in the control
// breaks where the same text drawn in a rectangle of that width breaks. A line's wrap blanks and its line
// break belong to no line: EM_LINELENGTH does not count them. Positions are 0-based byte offsets; CR LF
// counts as one step for the caret and for Backspace and Delete. A single-line control keeps no line
// breaks: text given to it ends at its first CR or LF, and it scrolls sideways to keep the caret in view.
//
// The control paints in its font (WM_SETFONT; the system font without one) with the text colour and the
// brush its parent answers to WM_CTLCOLOREDIT, black on white when the parent answers null. Over a hollow
// brush the text is drawn over what lay beneath the control when it first covered it, kept by the control
// since (a parent does not paint under its children). It tells its parent of changes through WM_COMMAND:
// EN_SETFOCUS, EN_KILLFOCUS, and EN_CHANGE after the user or EM_REPLACESEL changed the text (after
// WM_SETTEXT only in a single-line control).
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/user/ScrollBar.h"  // the SB_ codes of EM_SCROLL

// Styles. The alignment is fixed when the control is made.
enum : DWORD {
  ES_LEFT = 0x0000,
  ES_CENTER = 0x0001,
  ES_RIGHT = 0x0002,
  ES_MULTILINE = 0x0004,
  ES_PASSWORD = 0x0020,
  ES_AUTOVSCROLL = 0x0040,
  ES_AUTOHSCROLL = 0x0080,
  ES_NOHIDESEL = 0x0100,
  ES_WANTRETURN = 0x1000,
};

// Messages.
enum : UINT {
  EM_GETSEL = 0x00B0,        // (DWORD* start, DWORD* end) -> MAKELONG(start, end)
  EM_SETSEL = 0x00B1,        // (anchor, caret); anchor -1 deselects, caret -1 means the end
  EM_GETRECT = 0x00B2,       // (0, RECT*): the formatting rectangle
  EM_SCROLL = 0x00B5,        // (SB_LINEUP ... SB_PAGEDOWN) -> MAKELONG(lines scrolled, TRUE)
  EM_GETLINECOUNT = 0x00BA,
  EM_LINEINDEX = 0x00BB,     // (line or -1 for the caret's) -> its first position, -1 past the last line
  EM_LINELENGTH = 0x00C1,    // (position) -> length of the line holding it
  EM_REPLACESEL = 0x00C2,    // (can undo, text)
  EM_LINEFROMCHAR = 0x00C9,  // (position or -1 for the selection's start) -> line
  EM_GETFIRSTVISIBLELINE = 0x00CE,
  EM_GETPASSWORDCHAR = 0x00D2,
  EM_SETMARGINS = 0x00D3,    // (EC_ flags, MAKELONG(left, right)), in pixels
  EM_GETMARGINS = 0x00D4,    // -> MAKELONG(left, right)
  EM_POSFROMCHAR = 0x00D6,   // (position) -> MAKELONG(x, y) of its caret place in client coordinates
};

enum : WPARAM { EC_LEFTMARGIN = 0x0001, EC_RIGHTMARGIN = 0x0002 };

// Notifications, in the high word of WM_COMMAND's wParam (the control's identifier in the low word, the
// control in lParam).
enum : WORD { EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300 };
