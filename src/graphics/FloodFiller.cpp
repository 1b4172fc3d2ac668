#include "graphics/FloodFiller.h"

#include <algorithm>
#include <bit>
#include <climits>

#include "core/Exception.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/gdi/Gdi.h"

namespace {

// Writes the mask row: 0 for every pixel that holds the value, 1 for the others.
template <int Depth>
void ClearMatches(const std::uint8_t* in, std::uint8_t* out, std::int32_t width, std::uint32_t value) {
  for (std::int32_t x = 0; x < width; x += 8) {
    const std::int32_t end = std::min(width, x + 8);
    std::uint8_t bits = 0xFF;
    for (std::int32_t i = x; i < end; ++i)
      if (PixelCursor::Read(in, i, Depth) == value) bits = static_cast<std::uint8_t>(bits & ~(0x80u >> (i & 7)));
    out[x >> 3] = bits;
  }
}

void ClearMatchesAtDepth(std::int16_t depth, const std::uint8_t* in, std::uint8_t* out, std::int32_t width,
                         std::uint32_t value) {
  switch (depth) {
    case 1: ClearMatches<1>(in, out, width, value); break;
    case 2: ClearMatches<2>(in, out, width, value); break;
    case 4: ClearMatches<4>(in, out, width, value); break;
    case 8: ClearMatches<8>(in, out, width, value); break;
    case 16: ClearMatches<16>(in, out, width, value); break;
    case 24: ClearMatches<24>(in, out, width, value); break;
    default: ClearMatches<32>(in, out, width, value); break;
  }
}

}  // namespace

FloodFiller::FloodFiller(BitMap* image, const Point& seed)
    : bounds(seed.x, seed.y, seed.x, seed.y),
      seed(seed),
      image(image),
      imageBounds(image->GetBounds()),
      seedValue(image->GetPixelValue(seed.x, seed.y)) {}

FloodFiller::~FloodFiller() = default;

Rect FloodFiller::GetBounds() {
  if (!mask) ComputeMask();
  return bounds;
}

void FloodFiller::ComputeMask() {
  const std::int32_t width = imageBounds.Width();
  // Every row of the mask is written whole, so its surface needs no clearing first.
  SmartRef<OffScreen> maskSurface(new OffScreen(width, imageBounds.Height(), 1, Color(0), false));
  mask = maskSurface->GetBitMap();
  maskSurface = nullptr;
  // Every pixel of the seed's value, connected to the seed or not.
  {
    PixelCursor in(~image, imageBounds, true);
    PixelCursor out(~mask, imageBounds, true);
    for (; in.HasRow(); in.NextRow(), out.NextRow())
      ClearMatchesAtDepth(image->GetBitDepth(), in.GetAddress(), out.GetAddress(), width, seedValue);
  }
  // The system's fill on a copy turns the part connected to the seed white; what changed is the region.
  // An exact copy of the mask: its pixels as they are, with no drawing in between.
  SmartRef<OffScreen> copy(new OffScreen(width, imageBounds.Height(), mask->GetColorTable(), Color(0), false));
  copy->SetBitMap(new BitMap(*mask));
  {
    DisplayPort port(~copy, imageBounds);
    HDC dc = port.GetDC();
    const COLORREF seedColor = GetPixel(dc, seed.x, seed.y);
    CHECK_CALL(seedColor != CLR_INVALID);
    HBRUSH white = CHECK_NOT_NULL(CreateSolidBrush(0xFFFFFF));
    HGDIOBJ previous = SelectObject(dc, white);
    const BOOL filled = ExtFloodFill(dc, seed.x, seed.y, seedColor, FLOODFILLSURFACE);
    SelectObject(dc, previous);
    DeleteObject(white);
    CHECK_CALL(filled);
  }
  Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  {
    SmartRef<BitMap> filled = copy->GetBitMap();
    PixelCursor before(~mask, imageBounds, true);
    PixelCursor after(~filled, imageBounds, true);
    const std::int32_t bytes = (width + 7) / 8;
    const auto lastByteBits = static_cast<std::uint8_t>(0xFF00u >> (width - (bytes - 1) * 8));
    for (; before.HasRow(); before.NextRow(), after.NextRow()) {
      std::uint8_t* m = before.GetAddress();
      const std::uint8_t* c = after.GetAddress();
      const std::int32_t y = before.GetPosition().y;
      for (std::int32_t i = 0; i < bytes; ++i) {
        const std::uint8_t used = i == bytes - 1 ? lastByteBits : 0xFF;
        const auto changed = static_cast<std::uint8_t>((m[i] ^ c[i]) & used);
        m[i] = static_cast<std::uint8_t>((m[i] & ~used) | (~changed & used));
        if (changed == 0) continue;
        box.left = std::min(box.left, i * 8 + std::countl_zero(changed));
        box.right = std::max(box.right, i * 8 + 7 - std::countr_zero(changed));
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
  }
  if (box.left == INT_MAX) return;  // nothing filled: the box stays the seed's empty box
  bounds = {box.left, box.top, box.right + 1, box.bottom + 1};
}

void FloodFiller::Fill(BitMap& dest, BitMap& pattern) {
  GetBounds();
  BitMap* fillPattern = &pattern;
  ASSERT(bounds.Size() == fillPattern->GetBounds().Size());
  PixelCursor out(&dest, bounds, true);
  PixelCursor region(~mask, bounds, true);
  PixelCursor in(&pattern, pattern.GetBounds(), true);
  for (; out.HasRow(); out.NextPixel(), region.NextPixel(), in.NextPixel()) {
    if (region.GetPixel() == 0) out.SetPixel(in.GetPixel());
  }
}
