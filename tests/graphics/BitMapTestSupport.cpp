#include "BitMapTestSupport.h"

#include "platform/gdi/Gdi.h"

SmartRef<ColorTable> Greys16() {
  GenericArray colors(sizeof(Color), 0);
  for (int i = 0; i < 16; ++i) {
    const auto level = static_cast<std::uint8_t>(i * 17);
    const Color grey = Color::FromRGB8(level, level, level);
    colors.Insert(&grey, colors.NumItems(), 1);
  }
  return new ColorTable(colors);
}

SmartRef<BitMap> MakeBitMap(std::int32_t width, std::int32_t height, std::int16_t depth) {
  if (depth == 4) return new BitMap(width, height, ~Greys16());
  if (depth != 16 && depth != 32) return new BitMap(width, height, ColorTable::GetStandard(depth));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(depth), BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SmartRef<BitMap> made(new BitMap(section, 0, false, 0));
  DeleteObject(section);
  return made;
}
