// Pens and brushes.
#include "platform/gdi/raster/Blit.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {
// The largest tile a pattern brush keeps; bigger bitmaps give their top-left corner.
constexpr int kMaxPatternSide = 256;

HBRUSH PatternBrushFrom(const Surface& s, bool monochrome, UINT style) {
  auto brush = std::make_unique<BrushObject>();
  brush->style = style;
  brush->monochrome = monochrome;
  brush->patternWidth = std::min(s.width, kMaxPatternSide);
  brush->patternHeight = std::min(s.height, kMaxPatternSide);
  for (int y = 0; y < brush->patternHeight; ++y) {
    for (int x = 0; x < brush->patternWidth; ++x) {
      std::uint32_t value = s.Get(x, y);
      if (monochrome) brush->bits.push_back(static_cast<BYTE>(value));
      else brush->colors.push_back(s.ColorOf(value));
    }
  }
  return static_cast<HBRUSH>(Register(std::move(brush)));
}
}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < static_cast<int>(PS_SOLID) || style > static_cast<int>(PS_INSIDEFRAME)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto pen = std::make_unique<PenObject>();
  pen->style = static_cast<UINT>(style);
  pen->width = width < 1 ? 1 : width;
  pen->color = color;
  return static_cast<HPEN>(Register(std::move(pen)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto brush = std::make_unique<BrushObject>();
  brush->style = BS_SOLID;
  brush->color = color;
  return static_cast<HBRUSH>(Register(std::move(brush)));
}

HBRUSH CreatePatternBrush(HBITMAP handle) {
  BitmapObject* bitmap = GetBitmap(handle);
  if (!bitmap) return nullptr;
  const Surface& s = *bitmap->surface;
  return PatternBrushFrom(s, s.monoDevice && s.bpp == 1, BS_PATTERN);
}

HBRUSH CreateDIBPatternBrushPt(const void* packed, UINT usage) {
  if (!packed) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto* info = static_cast<const BITMAPINFO*>(packed);
  DibView dib;
  if (!dib.Parse(info, usage, nullptr, nullptr)) return nullptr;
  std::size_t tableBytes = 0;
  if (dib.surface.bpp <= 8) {
    std::size_t count = info->bmiHeader.biClrUsed ? info->bmiHeader.biClrUsed : (std::size_t{1} << dib.surface.bpp);
    tableBytes = count * (usage == DIB_PAL_COLORS ? 2 : sizeof(RGBQUAD));
  }
  dib.surface.bits = const_cast<BYTE*>(ColorTableOf(info) + tableBytes);
  return PatternBrushFrom(dib.surface, false, BS_DIBPATTERNPT);
}
