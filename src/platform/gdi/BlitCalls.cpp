// The blit calls: between contexts, from DIBs in memory, and onto parallelograms.
#include <algorithm>
#include <cmath>

#include "platform/gdi/raster/Blit.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {

bool UsesSource(BYTE rop) { return ((rop >> 2) & 0x33) != (rop & 0x33); }

// Makes an extent positive, moving the start to the other end, and tells whether it was negative.
bool Normalise(int& start, int& size) {
  if (size >= 0) return false;
  start += size;
  size = -size;
  return true;
}

BlitTarget TargetOf(DeviceContext& dc) {
  BlitTarget target;
  target.surface = dc.surface.get();
  target.clip = &dc.Clip();
  target.textColor = PlainColor(dc, dc.textColor);
  target.background = PlainColor(dc, dc.bkColor);
  target.pattern = BrushPaint(dc, *dc.brush);
  target.stretchMode = dc.stretchMode;
  return target;
}

}  // namespace

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({x, y, width, height})) return FALSE;
  if (UsesSource(RopByte(rop))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Normalise(x, width);
  Normalise(y, height);
  FillClipped(*dc, MovedRect(RECT{x, y, x + width, y + height}, dc->origin), BrushPaint(*dc, *dc->brush), RopByte(rop));
  return TRUE;
}

BOOL StretchBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop) {
  DeviceContext* dc = GetDC(destHandle);
  if (!dc || !InDrawingRange({x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight})) return FALSE;
  BYTE code = RopByte(rop);
  if (!UsesSource(code)) return PatBlt(destHandle, x, y, width, height, rop);
  DeviceContext* source = GetDC(sourceHandle);
  if (!source) return FALSE;
  bool flipX = Normalise(x, width) != Normalise(sourceX, sourceWidth);
  bool flipY = Normalise(y, height) != Normalise(sourceY, sourceHeight);
  BlitSource from{source->surface.get(), PlainColor(*source, source->bkColor)};
  Blit(TargetOf(*dc), MovedRect(RECT{x, y, x + width, y + height}, dc->origin), from,
       MovedRect(RECT{sourceX, sourceY, sourceX + sourceWidth, sourceY + sourceHeight}, source->origin), flipX, flipY,
       code);
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return StretchBlt(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

int StretchDIBits(HDC handle, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight})) return 0;
  BYTE code = RopByte(rop);
  if (!UsesSource(code)) return PatBlt(handle, x, y, width, height, rop) ? std::abs(sourceHeight) : 0;
  DibView dib;
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!dib.Parse(info, usage, bits, dc)) return 0;
  bool flipX = Normalise(x, width) != Normalise(sourceX, sourceWidth);
  bool flipY = Normalise(y, height) != Normalise(sourceY, sourceHeight);
  int top = dib.surface.topDown ? sourceY : dib.surface.height - sourceY - sourceHeight;
  BlitSource from{&dib.surface, PlainColor(*dc, dc->bkColor)};
  Blit(TargetOf(*dc), MovedRect(RECT{x, y, x + width, y + height}, dc->origin), from,
       RECT{sourceX, top, sourceX + sourceWidth, top + sourceHeight}, flipX, flipY, code);
  return sourceHeight;
}

int SetDIBitsToDevice(HDC handle, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return 0;
  if (!bits || !info || lines == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!InDrawingRange({x, y, width, height, sourceX, sourceY, startScan, lines})) return 0;
  // The buffer holds scans [startScan, startScan + lines) of the DIB, numbered from its bottom row.
  BITMAPINFOHEADER header = info->bmiHeader;
  bool topDown = header.biHeight < 0;
  if (!topDown) {
    if (startScan >= static_cast<UINT>(header.biHeight)) return 0;
    lines = std::min<UINT>(lines, static_cast<UINT>(header.biHeight) - startScan);
  }
  DibView dib;
  if (!dib.Parse(info, usage, bits, dc)) return 0;
  int w = static_cast<int>(width), h = static_cast<int>(height);
  RECT src;
  if (topDown) {
    src = RECT{sourceX, sourceY, sourceX + w, sourceY + h};
  } else {
    dib.surface.height = static_cast<int>(lines);
    int viewTop = static_cast<int>(lines) - (sourceY + h - static_cast<int>(startScan));
    src = RECT{sourceX, viewTop, sourceX + w, viewTop + h};
  }
  BlitSource from{&dib.surface, PlainColor(*dc, dc->bkColor)};
  Blit(TargetOf(*dc), MovedRect(RECT{x, y, x + w, y + h}, dc->origin), from, src, false, false, RopByte(SRCCOPY));
  return static_cast<int>(lines);
}

BOOL PlgBlt(HDC destHandle, const POINT* points, HDC sourceHandle, int sourceX, int sourceY, int width, int height,
            HBITMAP maskHandle, int maskX, int maskY) {
  DeviceContext* dc = GetDC(destHandle);
  DeviceContext* source = GetDC(sourceHandle);
  if (!dc || !source) return FALSE;
  if (!points || width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!InDrawingRange({points[0].x, points[0].y, points[1].x, points[1].y, points[2].x, points[2].y, sourceX, sourceY,
                       width, height, maskX, maskY})) {
    return FALSE;
  }
  const Surface* mask = nullptr;
  if (maskHandle) {
    BitmapObject* object = GetBitmap(maskHandle);
    if (!object) return FALSE;
    mask = object->surface.get();
    if (mask->bpp != 1) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  // Destination = p0 + u * (p1 - p0) / width + v * (p2 - p0) / height; each destination pixel centre is
  // mapped back to the source pixel under it.
  double ax = (points[1].x - points[0].x) / static_cast<double>(width);
  double ay = (points[1].y - points[0].y) / static_cast<double>(width);
  double bx = (points[2].x - points[0].x) / static_cast<double>(height);
  double by = (points[2].y - points[0].y) / static_cast<double>(height);
  double det = ax * by - ay * bx;
  if (std::abs(det) < 1e-12) return TRUE;
  int xs[4] = {points[0].x, points[1].x, points[2].x, points[1].x + points[2].x - points[0].x};
  int ys[4] = {points[0].y, points[1].y, points[2].y, points[1].y + points[2].y - points[0].y};
  RECT box{*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4), *std::max_element(xs, xs + 4),
           *std::max_element(ys, ys + 4)};
  // The source rectangle is first converted to the destination's format, then sampled.
  Surface& dst = *dc->surface;
  const Surface& from = *source->surface;
  Surface converted;
  if (!converted.Allocate(width, height, dst.bpp, true, false)) return FALSE;
  converted.colors = dst.colors;
  converted.monoDevice = dst.monoDevice;
  BlitTarget toConverted = TargetOf(*dc);
  toConverted.surface = &converted;
  toConverted.clip = nullptr;
  int sx0 = sourceX + source->origin.x, sy0 = sourceY + source->origin.y;
  Blit(toConverted, RECT{0, 0, width, height}, BlitSource{&from, PlainColor(*source, source->bkColor)},
       RECT{sx0, sy0, sx0 + width, sy0 + height}, false, false, 0xCC);
  ForEachClipped(dc->Clip(), MovedRect(box, dc->origin), [&](const RECT& part) {
    for (int y = part.top; y < part.bottom; ++y) {
      for (int x = part.left; x < part.right; ++x) {
        double px = x - dc->origin.x + 0.5 - points[0].x, py = y - dc->origin.y + 0.5 - points[0].y;
        double u = (px * by - py * bx) / det, v = (ax * py - ay * px) / det;
        if (u < 0 || v < 0 || u >= width || v >= height) continue;
        int su = static_cast<int>(u), sv = static_cast<int>(v);
        if (mask) {
          int mx = maskX + su, my = maskY + sv;
          if (mx >= 0 && my >= 0 && mx < mask->width && my < mask->height && mask->Get(mx, my) == 0) continue;
        }
        if (sx0 + su < 0 || sy0 + sv < 0 || sx0 + su >= from.width || sy0 + sv >= from.height) continue;
        dst.Set(x, y, converted.Get(su, sv));
      }
    }
  });
  return TRUE;
}
