// Painting: update areas, WM_PAINT, and the device contexts of windows.
#pragma once

#include "platform/kernel/WinTypes.h"

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;  // the background still needs erasing (WM_ERASEBKGND did not)
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

enum : UINT {
  RDW_INVALIDATE = 0x0001,
  RDW_INTERNALPAINT = 0x0002,
  RDW_ERASE = 0x0004,
  RDW_VALIDATE = 0x0008,
  RDW_NOINTERNALPAINT = 0x0010,
  RDW_NOERASE = 0x0020,
  RDW_NOCHILDREN = 0x0040,
  RDW_ALLCHILDREN = 0x0080,
  RDW_UPDATENOW = 0x0100,
  RDW_ERASENOW = 0x0200,
  RDW_FRAME = 0x0400,
  RDW_NOFRAME = 0x0800,
};

// A null rectangle means the whole client area.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL ValidateRgn(HWND window, HRGN region);
BOOL UpdateWindow(HWND window);
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND window, HRGN region, BOOL erase);

HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
