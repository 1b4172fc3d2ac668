// How a bitmap gets onto a display port: whole or keyed, through the port's transform, with its pixel
// values mapped between the colour tables of source and destination, and through a one-bit mask.
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/Exception.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Paint.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/gdi/Gdi.h"
#include "graphics/bitmaps/OSBitMap.h"
#include "graphics/SystemVersion.h"

std::uint8_t gKeyedCopyThroughGDI = 1;
std::uint8_t gRefillMaskedPaint = 1;

namespace {

bool IsPalettized(std::int16_t depth) { return depth < 16; }

// Pixel values of one side turned into colours (0x00bbggrr) and back. Direct values pack red highest.
class PixelMapping {
 public:
  PixelMapping(BitMap& source, BitMap& dest) : sourceDepth(source.GetBitDepth()), destDepth(dest.GetBitDepth()) {
    if (IsPalettized(sourceDepth)) {
      HPALETTE sourcePal = source.GetColorTable()->GetPalette();
      if (!sourcePal) AssertFailed("!sourceIsPalettized || sourcePal", __FILE__, __LINE__);
      std::array<PALETTEENTRY, 256> entries{};
      GetPaletteEntries(sourcePal, 0, 256, entries.data());
      for (std::size_t i = 0; i < 256; ++i)
        sourceColors[i] = RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
    }
    if (IsPalettized(destDepth)) {
      destPal = dest.GetColorTable()->GetPalette();
      if (!destPal) AssertFailed("!destIsPalettized || destPal", __FILE__, __LINE__);
      cache = std::make_unique<CacheEntry[]>(kCacheSize);
    }
  }

  std::uint32_t Map(std::uint32_t value) {
    const COLORREF color = ColorOf(value);
    return IsPalettized(destDepth) ? NearestIndex(color) : ValueOf(color);
  }

 private:
  static constexpr std::size_t kCacheSize = 1 << 16;
  struct CacheEntry {
    COLORREF color = CLR_INVALID;
    std::uint32_t index = 0;
  };

  COLORREF ColorOf(std::uint32_t value) const {
    switch (sourceDepth) {
      case 16: return RGB(Expand5(value >> 10), Expand5(value >> 5), Expand5(value));
      case 24:
      case 32: return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
      default: return sourceColors[value & 0xFF];
    }
  }

  std::uint32_t ValueOf(COLORREF color) const {
    const std::uint32_t red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    if (destDepth == 16) return (red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3);
    return red << 16 | green << 8 | blue;
  }

  // Photographs repeat their colours; the palette search runs once per colour.
  std::uint32_t NearestIndex(COLORREF color) {
    CacheEntry& entry = cache[(color * 0x9E3779B1u) >> 16 & (kCacheSize - 1)];
    if (entry.color != color) entry = {color, GetNearestPaletteIndex(destPal, color)};
    return entry.index;
  }

  static std::uint32_t Expand5(std::uint32_t v) { return (v & 31) << 3 | (v & 31) >> 2; }

  std::int16_t sourceDepth;
  std::int16_t destDepth;
  std::array<COLORREF, 256> sourceColors{};
  HPALETTE destPal = nullptr;
  std::unique_ptr<CacheEntry[]> cache;
};

OffScreen* OffScreenOf(DisplayPort& port) {
  return static_cast<OffScreen*>(CastSmart(port.GetDevice(), &OffScreen::classInfo));
}

}  // namespace

void BitMap::Draw(DisplayPort& port, int mode) {
  const bool keyed = mode != kDrawOpaque && useChromaKey;
  CopyTo(port, GetBounds(), keyed, chromaKey);
}

void BitMap::DrawKeyed(DisplayPort& port, std::int32_t key) { CopyTo(port, GetBounds(), true, key); }

void BitMap::DrawOpaque(DisplayPort& port) { CopyTo(port, GetBounds(), false, 0); }

void BitMap::CopyTo(DisplayPort& port, const Rect& source, bool keyed, std::int32_t key) {
  if (!port.IsDrawing()) return;
  const Rect dest = port.MapRect(source);
  HPALETTE palette = colorTable->GetPalette();
  if (!keyed || dest.Size() != source.Size()) {
    backEnd->StretchTo(port.GetDC(), palette, source, dest);
    return;
  }
  OffScreen* surface = OffScreenOf(port);
  if (surface == nullptr || gKeyedCopyThroughGDI == 1) {
    backEnd->DrawKeyed(port.GetDC(), palette, source, dest, key);
    return;
  }
  KeyedPixelCopy(*surface, source, dest, key);
}

// The pixel path of keyed copies. The key is always compared with this bitmap's own values, before any
// conversion, so it names exactly the pixels it was chosen for.
void BitMap::KeyedPixelCopy(OffScreen& into, const Rect& from, const Rect& to, std::int32_t key) {
  SmartRef<BitMap> dest = into.GetBitMap();
  if (GetBitDepth() == 8 && dest->GetBitDepth() == 8 && from.TopLeft() == Point::origin) {
    backEnd->CopyPixelsTo(dest->backEnd.get(), from, to, key);
    return;
  }
  MappedCopy(*dest, from, to, key);
}

void BitMap::MappedCopy(BitMap& dest, Rect from, Rect to, std::int32_t key) {
  // Clip the destination to its bitmap and the source to this one, each side moving the other.
  const Rect destBounds = dest.GetBounds();
  const Rect bounds = GetBounds();
  const std::int32_t left = std::max({0, destBounds.left - to.left, bounds.left - from.left});
  const std::int32_t top = std::max({0, destBounds.top - to.top, bounds.top - from.top});
  const std::int32_t right = std::max({0, to.right - destBounds.right, from.right - bounds.right});
  const std::int32_t bottom = std::max({0, to.bottom - destBounds.bottom, from.bottom - bounds.bottom});
  from = {from.left + left, from.top + top, from.right - right, from.bottom - bottom};
  to = {to.left + left, to.top + top, to.right - right, to.bottom - bottom};
  if (from.IsEmpty() || to.IsEmpty()) return;
  // Values are mapped whenever the depths differ: palette indexes and packed colours of different
  // depths mean different colours.
  const bool mapping = GetBitDepth() != dest.GetBitDepth();
  std::optional<PixelMapping> mapper;
  if (mapping) mapper.emplace(*this, dest);
  dest.backEnd->SetCacheBits(false);
  PixelCursor in(this, from, true);
  PixelCursor out(&dest, to, true);
  for (; in.HasRow(); in.NextPixel(), out.NextPixel()) {
    const std::uint32_t value = in.GetPixel();
    if (value == static_cast<std::uint32_t>(key)) continue;
    out.SetPixel(mapping ? mapper->Map(value) : value);
  }
}

void BitMap::MaskedCopy(BitMap& dest, BitMap& source, BitMap& mask, const Rect& destRect) {
  const Rect maskRect = mask.GetBounds();
  ASSERT(destRect.Size() == maskRect.Size());
  ASSERT(dest.GetBitDepth() == source.GetBitDepth());
  // The destination cursor leaves out what lies off the destination, so a dab at an edge paints the
  // part that shows.
  PixelCursor out(&dest, destRect, true);
  PixelCursor in(&source, maskRect, true);
  PixelCursor shape(&mask, maskRect, true);
  for (; out.HasRow(); out.NextPixel(), in.NextPixel(), shape.NextPixel()) {
    if (shape.GetPixel() == 0) out.SetPixel(in.GetPixel());
  }
}

void BitMap::DrawMasked(DisplayPort& port, Paint& paint) {
  if (!port.IsDrawing()) return;
  const Rect bounds = GetBounds();
  const Rect destRect = port.MapRect(bounds);
  OffScreen* surface = OffScreenOf(port);
  // The scratch holds pixels of the destination's own table, so the masked copy needs no mapping. A
  // window is drawn through a surface that first takes the window's pixels, so that what the mask leaves
  // out stays as it was: 24-bit, or on limited systems (whose deep surfaces have no context, and whose
  // screen has 256 colours) 8-bit.
  ColorTable* table = surface ? surface->GetColorTable() : ColorTable::GetStandard(IsLimitedWindows() ? 8 : 24);
  const std::int16_t targetDepth = table->GetDepth();
  if (maskScratch) {
    const Rect scratchBounds = maskScratch->GetBitMap()->GetBounds();
    if (scratchBounds.Width() < bounds.Width() || scratchBounds.Height() < bounds.Height() ||
        maskScratch->GetDepth() != targetDepth || maskScratch->GetColorTable() != table)
      maskScratch = nullptr;
  }
  if (!maskScratch) maskScratch = new OffScreen(bounds.Width(), bounds.Height(), table, Color(0), true);
  SmartRef<BitMap> scratch = maskScratch->GetBitMap();
  if (gRefillMaskedPaint == 1) {
    DisplayPort scratchPort(~maskScratch, scratch->GetBounds());
    scratchPort.EraseArea(Area(scratch->GetBounds()));
    // Patterns line up with those painted straight onto the destination.
    POINT previous;
    CHECK_CALL(SetBrushOrgEx(scratchPort.GetDC(), (8 - destRect.left % 8) % 8, (8 - destRect.top % 8) % 8, &previous));
    Rect fill = scratch->GetBounds();
    fill.right += 1;  // a rectangle without a pen leaves out its last column and row
    fill.bottom += 1;
    scratchPort.DrawRect(fill, paint, *noPaint, 1);
    SetBrushOrgEx(scratchPort.GetDC(), previous.x, previous.y, nullptr);
  } else {
    gRefillMaskedPaint = 1;
  }
  if (surface) {
    SmartRef<BitMap> dest = surface->GetBitMap();
    dest->backEnd->SetCacheBits(false);
    const bool inside = destRect.left >= 0 && destRect.top >= 0 && destRect.right <= dest->GetBounds().right &&
                        destRect.bottom <= dest->GetBounds().bottom;
    if (dest->GetBitDepth() == 8 && inside && destRect.Size() == bounds.Size())
      scratch->backEnd->MaskedCopyTo(dest->backEnd.get(), destRect, backEnd.get());
    else
      MaskedCopy(*dest, *scratch, *this, destRect);
    return;
  }
  SmartRef<OffScreen> composed(new OffScreen(bounds.Width(), bounds.Height(), table, Color(0), false));
  {
    DisplayPort composedPort(~composed, bounds);
    CHECK_CALL(BitBlt(composedPort.GetDC(), 0, 0, bounds.Width(), bounds.Height(), port.GetDC(), destRect.left,
                      destRect.top, SRCCOPY));
  }
  SmartRef<BitMap> target = composed->GetBitMap();
  MaskedCopy(*target, *scratch, *this, bounds);
  target->DrawOpaque(port);
}
