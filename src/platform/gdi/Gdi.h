// The drawing interface: device contexts over bitmaps in memory, palettes, regions, pens and brushes,
// blits and shapes, drawn by our own rasteriser with the pixel coverage the program's pictures rely on.
//
// Calls fail as the system's do: a zero, null or CLR_INVALID result with the last-error code set
// (ERROR_INVALID_HANDLE for a handle that is not a live object of the right kind, ERROR_INVALID_PARAMETER
// for bad sizes and values and for coordinates beyond 27 bits, ERROR_NOT_ENOUGH_MEMORY for surfaces above
// the size limit). Shapes and stretches far larger than the surface cost only the part that shows. All
// calls belong to the one GUI thread.
//
// Coordinates are device pixels: no mapping modes. A device context draws into the bitmap selected into it,
// or (window contexts, see WindowSystemCalls.h) into a shared surface at an origin offset.
#pragma once

#include "platform/gdi/GdiTypes.h"

// Objects in general.
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int which);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
inline int GetObject(HGDIOBJ object, int size, LPVOID buffer) { return GetObjectA(object, size, buffer); }
DWORD GetObjectType(HGDIOBJ object);

// Device contexts.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetBrushOrgEx(HDC dc, POINT* origin);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);

// Bitmaps.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
// Scan lines count from the bottom of the bitmap, as in a bottom-up DIB, whatever the row order asked.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);

// Palettes. The screen is a true-colour device without a palette unless a test makes it an 8-bit one
// (platform::SetScreenFormat).
HPALETTE CreatePalette(const LOGPALETTE* palette);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);

// Pens and brushes.
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateDIBPatternBrushPt(const void* packedDIB, UINT usage);

// Regions: sets of pixels held as bands of rectangles, half-open like RECT.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, RECT* box);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN region1, HRGN region2);
// The clip a context keeps is its own copy; the region passed stays the caller's.
int SelectClipRgn(HDC dc, HRGN region);
int GetClipBox(HDC dc, RECT* box);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL InvertRgn(HDC dc, HRGN region);

// Blits. Source and destination rectangles are clipped to their surfaces, and the destination also to the
// context's clip. Negative extents of StretchBlt mirror.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
// The source rectangle of a bottom-up DIB counts its y from the DIB's bottom row, as the system does:
// the rectangle of rows [top, top + h) of the picture is sourceY = height - top - h.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
// Maps the source rectangle onto the parallelogram of points[0] (upper left), points[1] (upper right) and
// points[2] (lower left); where a monochrome mask is given, its 0 pixels leave the destination unchanged.
BOOL PlgBlt(HDC dest, const POINT* points, HDC source, int sourceX, int sourceY, int width, int height,
            HBITMAP mask, int maskX, int maskY);

// Shapes, with the pen and brush selected and the raster operation of SetROP2 (except the Rect calls,
// which use the brush given and copy it).
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL LineTo(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT kind);
BOOL FloodFill(HDC dc, int x, int y, COLORREF border);

#include "platform/gdi/WindowSystemCalls.h"
#include "platform/gdi/text/Text.h"
