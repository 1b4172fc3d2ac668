#include "platform/gdi/raster/Raster.h"

#include <algorithm>
#include <cstring>

namespace platform::gdi {

BYTE Rop2ToRop3(int rop2) {
  int table = rop2 - 1;
  BYTE rop = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if ((table >> (p * 2 + d)) & 1) rop |= static_cast<BYTE>(1 << i);
  }
  return rop;
}

Paint SolidPaint(const DeviceContext& dc, COLORREF color) {
  Paint paint;
  paint.value = ValueOnSurface(dc, color);
  return paint;
}

Paint BrushPaint(const DeviceContext& dc, const BrushObject& brush) {
  Paint paint;
  switch (brush.style) {
    case BS_NULL: paint.none = true; return paint;
    case BS_SOLID: return SolidPaint(dc, brush.color);
    default: break;
  }
  paint.solid = false;
  paint.width = brush.patternWidth;
  paint.height = brush.patternHeight;
  paint.originX = dc.brushOrigin.x + dc.origin.x;
  paint.originY = dc.brushOrigin.y + dc.origin.y;
  std::size_t count = static_cast<std::size_t>(paint.width) * paint.height;
  paint.values.resize(count);
  if (brush.monochrome) {
    std::uint32_t background = ValueOnSurface(dc, dc.bkColor), text = ValueOnSurface(dc, dc.textColor);
    for (std::size_t i = 0; i < count; ++i) paint.values[i] = brush.bits[i] ? background : text;
  } else {
    for (std::size_t i = 0; i < count; ++i) paint.values[i] = ValueOnSurface(dc, brush.colors[i]);
  }
  return paint;
}

Paint PenPaint(const DeviceContext& dc) {
  if (dc.pen->style == PS_NULL) {
    Paint paint;
    paint.none = true;
    return paint;
  }
  return SolidPaint(dc, dc.pen->color);
}

void ResolveConstantRop(const Surface& surface, BYTE& rop, Paint& paint) {
  if (rop == 0x00 || rop == 0xFF) {
    paint = Paint{};
    paint.value = surface.ValueOf(rop ? RGB(255, 255, 255) : RGB(0, 0, 0));
    rop = 0xF0;
  }
}

void FillSpan(Surface& surface, int y, int x0, int x1, const Paint& paint, BYTE rop) {
  if (x0 >= x1) return;
  BYTE* row = surface.Row(y);
  const int bpp = surface.bpp;
  const std::uint32_t mask = surface.Mask();
  if (rop == 0xF0 && paint.solid) {
    if (bpp == 8) {
      std::memset(row + x0, static_cast<int>(paint.value & 0xFF), static_cast<std::size_t>(x1 - x0));
      return;
    }
    if (bpp == 32) {
      auto* p = reinterpret_cast<std::uint32_t*>(row) + x0;
      std::fill(p, p + (x1 - x0), paint.value & mask);
      return;
    }
    for (int x = x0; x < x1; ++x) WritePixel(row, x, bpp, paint.value);
    return;
  }
  if (rop == 0xAA) return;
  if (bpp == 32) {
    auto* p = reinterpret_cast<std::uint32_t*>(row);
    for (int x = x0; x < x1; ++x) p[x] = Rop3(rop, paint.At(x, y), 0, p[x]) & mask;
    return;
  }
  if (bpp == 8) {
    for (int x = x0; x < x1; ++x) row[x] = static_cast<BYTE>(Rop3(rop, paint.At(x, y), 0, row[x]));
    return;
  }
  for (int x = x0; x < x1; ++x) WritePixel(row, x, bpp, Rop3(rop, paint.At(x, y), 0, ReadPixel(row, x, bpp)) & mask);
}

namespace {
void FillResolved(DeviceContext& dc, const RECT& rect, const Paint& paint, BYTE rop) {
  ForEachClipped(dc.Clip(), rect, [&](const RECT& part) {
    for (int y = part.top; y < part.bottom; ++y) FillSpan(*dc.surface, y, part.left, part.right, paint, rop);
  });
}
}  // namespace

void FillClipped(DeviceContext& dc, const RECT& rect, const Paint& paint, BYTE rop) {
  if (paint.none || rect.left >= rect.right || rect.top >= rect.bottom) return;
  Paint resolved = paint;
  ResolveConstantRop(*dc.surface, rop, resolved);
  FillResolved(dc, rect, resolved, rop);
}

void FillArea(DeviceContext& dc, const Region& area, const Paint& paint, BYTE rop) {
  if (paint.none) return;
  Paint resolved = paint;
  ResolveConstantRop(*dc.surface, rop, resolved);
  for (const RECT& r : area.Rects()) {
    FillResolved(dc, RECT{r.left + dc.origin.x, r.top + dc.origin.y, r.right + dc.origin.x, r.bottom + dc.origin.y},
                 resolved, rop);
  }
}

}  // namespace platform::gdi
