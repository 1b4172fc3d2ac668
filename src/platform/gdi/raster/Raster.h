// Painting pixels: raster operations, brush patterns and clipped fills (internal to the drawing layer).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Objects.h"

namespace platform::gdi {

// The result of a ternary raster operation (the truth-table byte, bits 16-23 of the operation code) on
// pattern, source and destination pixel values.
inline std::uint32_t Rop3(BYTE rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  switch (rop) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0xAA: return d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    case 0x55: return ~d;
    case 0x33: return ~s;
    case 0x5A: return p ^ d;
    case 0xC0: return p & s;
    case 0xBB: return ~s | d;
    case 0x44: return s & ~d;
    case 0x11: return ~(s | d);
    default: break;
  }
  std::uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if ((rop >> i) & 1) result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result;
}

// The ternary operation that does what a binary one (R2_...) does with the pen or brush as pattern.
BYTE Rop2ToRop3(int rop2);
inline BYTE RopByte(DWORD rop) { return static_cast<BYTE>(rop >> 16); }

// A brush or pen colour resolved for one surface: one pixel value, or a tile of them anchored at the
// brush origin (surface coordinates).
struct Paint {
  bool none = false;  // the null brush or pen: nothing is drawn
  bool solid = true;
  std::uint32_t value = 0;
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  std::vector<std::uint32_t> values;

  std::uint32_t At(int x, int y) const {
    if (solid) return value;
    int px = (x - originX) % width, py = (y - originY) % height;
    if (px < 0) px += width;
    if (py < 0) py += height;
    return values[static_cast<std::size_t>(py) * width + px];
  }
};

Paint SolidPaint(const DeviceContext& dc, COLORREF color);
Paint BrushPaint(const DeviceContext& dc, const BrushObject& brush);
Paint PenPaint(const DeviceContext& dc);

// BLACKNESS and WHITENESS (and R2_BLACK, R2_WHITE) give black and white, not pixel values 0 and all ones:
// on an indexed surface those are the table's nearest entries.
void ResolveConstantRop(const Surface& surface, BYTE& rop, Paint& paint);

// Paints one run [x0, x1) of row y of the surface.
void FillSpan(Surface& surface, int y, int x0, int x1, const Paint& paint, BYTE rop);
// Paints a rectangle in surface coordinates, within the context's clip.
void FillClipped(DeviceContext& dc, const RECT& rect, const Paint& paint, BYTE rop);
// Paints a region given in context coordinates, within the context's clip.
void FillArea(DeviceContext& dc, const Region& area, const Paint& paint, BYTE rop);
// Calls f(clipped rect) for every part of `rect` (surface coordinates) inside the clip.
template <typename F>
void ForEachClipped(const std::vector<RECT>& clip, const RECT& rect, F f) {
  for (const RECT& c : clip) {
    if (c.top >= rect.bottom) break;
    if (c.bottom <= rect.top || c.right <= rect.left || c.left >= rect.right) continue;
    RECT part{c.left > rect.left ? c.left : rect.left, c.top > rect.top ? c.top : rect.top,
              c.right < rect.right ? c.right : rect.right, c.bottom < rect.bottom ? c.bottom : rect.bottom};
    f(part);
  }
}

}  // namespace platform::gdi
