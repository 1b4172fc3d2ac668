// Mouse cursors: the system's standard cursors, the program's own by id, and cursors made from masks; the
// current cursor, its display counter, and the rectangle that confines the mouse.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "platform/screen/CursorImage.h"


// The standard cursors, loaded with a null module.
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP MAKEINTRESOURCEA(32651)

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;   // monochrome: the AND mask above the XOR mask, so twice the cursor's height
  HBITMAP hbmColor;  // null for monochrome cursors
};

// A standard cursor (null module), or one of the program's cursors by id: null, with
// ERROR_RESOURCE_NAME_NOT_FOUND, when the program has no cursor of that id. Loaded cursors are shared and
// never destroyed.
HCURSOR LoadCursorA(HINSTANCE module, LPCSTR name);
// A monochrome cursor from its masks, rows padded to 16 bits, most significant bit first: AND 1 and XOR 0
// leave the screen, AND 0 paints black (XOR 0) or white (XOR 1), AND 1 with XOR 1 inverts.
HCURSOR CreateCursor(HINSTANCE module, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane);
BOOL DestroyCursor(HCURSOR cursor);
// Answers the previous cursor; null hides the cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The cursor shows while the counter is 0 or more; answers the new counter.
int ShowCursor(BOOL show);
// Confines the mouse to a rectangle of the screen (null frees it).
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(RECT* rect);
// The caller owns the bitmaps it receives.
BOOL GetIconInfo(HCURSOR cursor, ICONINFO* info);
// An icon the program loaded gives its colours and a mask as tall as itself, hot spot in the middle; any
// other handle is taken as a cursor.
BOOL GetIconInfo(HICON icon, ICONINFO* info);

namespace platform {

// One of the program's cursors: its id, hot spot and picture, `width` characters a row: '.' leaves the
// screen, '#' is black, 'o' white, '~' inverts.
struct CursorResource {
  UINT id;
  int width;
  int height;
  int hotX;
  int hotY;
  const char* picture;
};
// Installs cursors of the program; later registrations add to them (ids must not repeat).
void RegisterCursorResources(std::span<const CursorResource> cursors);

// The cursor the screen shows now, or null when it is hidden (no cursor, or the counter below 0).
const CursorImage* ShownCursor();
// Counts changes of the shown cursor, so that a back end updates its own only when it changed.
unsigned CursorGeneration();
// Where a mouse position lands once the confining rectangle is applied.
POINT ConfinePoint(POINT point);

}  // namespace platform
