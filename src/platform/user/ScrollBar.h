// The system's "SCROLLBAR" class and the scroll calls that reach it.
//
// A bar (horizontal, or vertical with SBS_VERT) shows a range of positions: an arrow at each end, the
// track between them and, while its range leaves room to move, a thumb at the position. It never moves by
// itself: each action of the user goes to the parent as WM_HSCROLL or WM_VSCROLL (the SB_ code in the low
// word of wParam, the bar in lParam) and the parent sets the new position. An arrow gives SB_LINEUP or
// SB_LINEDOWN, the track on either side of the thumb SB_PAGEUP or SB_PAGEDOWN, repeated while the mouse
// button is held there; dragging the thumb gives SB_THUMBTRACK at each new position and SB_THUMBPOSITION
// where it is let go, with the position in the high word of wParam; every action ends with SB_ENDSCROLL.
// A disabled bar shows grey arrows and no thumb and takes no input.
#pragma once

#include "platform/kernel/WinTypes.h"

// Plain constants, so that they combine with the window styles.
constexpr DWORD SBS_HORZ = 0x0;
constexpr DWORD SBS_VERT = 0x1;

// Which bar the scroll calls address: only scroll-bar controls (SB_CTL) exist; windows have none of their
// own, and the calls fail for them with ERROR_NO_SCROLLBARS.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2 };

// Scroll codes.
enum : WORD {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_LEFT = 6,
  SB_BOTTOM = 7,
  SB_RIGHT = 7,
  SB_ENDSCROLL = 8,
};

enum : UINT {
  // wParam the position, lParam whether to redraw; answers the previous position.
  SBM_SETPOS = 0x00E0,
  SBM_GETPOS = 0x00E1,
  // wParam min, lParam max; answers TRUE, or FALSE for a range refused.
  SBM_SETRANGE = 0x00E2,
  SBM_GETRANGE = 0x00E3,  // wParam and lParam: where min and max go
  SBM_SETRANGEREDRAW = 0x00E6,
  SBM_SETSCROLLINFO = 0x00E9,  // wParam whether to redraw, lParam the SCROLLINFO; answers the position
  SBM_GETSCROLLINFO = 0x00EA,
};

enum : UINT {
  SIF_RANGE = 0x01,
  SIF_PAGE = 0x02,
  SIF_POS = 0x04,
  SIF_TRACKPOS = 0x10,
  SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;  // positions one page shows; 0 for none (the thumb is then a square)
  int nPos;
  int nTrackPos;  // where the thumb is being dragged to (SIF_TRACKPOS), the position otherwise
};

// A range runs from min to max included, at most 0x7FFFFFFF wide; a range whose max is below its min
// is refused with ERROR_INVALID_SCROLLBAR_RANGE and leaves the bar as it was. A new range brings the
// position within it. The position is kept within min .. max - (page - 1).
BOOL SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, int* min, int* max);
// Answers the previous position, 0 on failure.
int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int GetScrollPos(HWND window, int bar);
// Answers the position after the change, 0 on failure.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
