// What the window system and the screen back end need beyond the standard drawing calls: contexts that draw
// into a window's part of the shared screen surface, and the region rectangles to compose with.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform {

// A context that draws into `surface` (normally the screen's 32-bit DIB section, which the window system
// creates and keeps) without selecting it: any number of such contexts may share one surface. It starts
// with origin (0, 0), no system clip and the default objects; DeleteDC ends it and leaves the surface.
HDC CreateSurfaceDC(HBITMAP surface);
// Points the context at another surface (the screen was resized); origin and clips stay as they are.
BOOL SetDCSurface(HDC dc, HBITMAP surface);
// The surface pixel on which the context's (0, 0) lands: a window's client area. Drawing coordinates,
// SelectClipRgn regions, the brush origin and GetClipBox are all relative to it.
BOOL SetDCOrigin(HDC dc, POINT origin);
BOOL GetDCOrigin(HDC dc, POINT* origin);
// The part of the surface the context may touch, in surface coordinates (a window's visible area, less
// what covers it). The context keeps its own copy; a null region lifts the limit (the whole surface).
BOOL SetDCSystemClip(HDC dc, HRGN clip);

// The rectangles of a region, top band first and left to right within a band; none overlap.
std::vector<RECT> GetRegionRects(HRGN region);

// The screen's format as the drawing calls report it (GetDeviceCaps, GetSystemPaletteEntries,
// CreateCompatibleBitmap of a window context): 32 bits with no palette (the default), 16 or 24 bits
// without one either, or 8 bits with a system palette, which tests use to exercise the palette paths, or
// 4 bits with the 16 colours of a display the program refuses. Width and height are HORZRES and VERTRES.
// Changing only the size keeps the system palette's realised colours.
void SetScreenFormat(int bitsPerPixel, int width, int height);

// Live drawing objects and contexts (stock objects excluded), for tests that look for leaks.
std::size_t CountGdiObjects();

}  // namespace platform
