#include "platform/gdi/raster/Surface.h"

#include <cstring>
#include <new>
#include <tuple>

#include "platform/kernel/Errors.h"

namespace platform::gdi {

bool IsSupportedDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
  }
}

std::uint64_t DibStride(std::int64_t width, int bitsPerPixel) {
  return ((static_cast<std::uint64_t>(width) * bitsPerPixel + 31) & ~std::uint64_t{31}) / 8;
}

std::uint64_t DeviceStride(std::int64_t width, int bitsPerPixel) {
  return ((static_cast<std::uint64_t>(width) * bitsPerPixel + 15) & ~std::uint64_t{15}) / 8;
}

bool Surface::Allocate(int w, int h, int depth, bool topDownRows, bool deviceRows) {
  if (w <= 0 || h <= 0 || !IsSupportedDepth(depth)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::uint64_t rowBytes = deviceRows ? DeviceStride(w, depth) : DibStride(w, depth);
  std::uint64_t total = rowBytes * static_cast<std::uint64_t>(h);
  if (total > kMaxSurfaceBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  storage.reset(new (std::nothrow) BYTE[total]());
  if (!storage) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  width = w;
  height = h;
  bpp = depth;
  stride = static_cast<std::ptrdiff_t>(rowBytes);
  topDown = topDownRows;
  bits = storage.get();
  if (depth <= 8) colors = DefaultColors(depth);
  return true;
}



std::uint32_t Surface::Get(int x, int y) const { return ReadPixel(Row(y), x, bpp); }
void Surface::Set(int x, int y, std::uint32_t value) { WritePixel(Row(y), x, bpp, value); }



COLORREF Surface::ColorOf(std::uint32_t value) const {
  if (bpp > 8) return UnpackColor(value, bpp);
  if (value >= colors.size()) return 0;
  const RGBQUAD& q = colors[value];
  return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

std::uint32_t Surface::ValueOf(COLORREF rgb) const {
  if (bpp > 8) return PackColor(rgb, bpp);
  return NearestIndex(colors.data(), colors.size(), rgb);
}

void Surface::SetColors(const RGBQUAD* table, std::size_t count) {
  colors.assign(std::size_t{1} << bpp, RGBQUAD{0, 0, 0, 0});
  for (std::size_t i = 0; i < count && i < colors.size(); ++i) colors[i] = table[i];
  ++colorsVersion;
}

namespace {
template <typename Entry, typename Channels>
std::uint32_t Nearest(const Entry* table, std::size_t count, COLORREF rgb, Channels channels) {
  int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  std::uint32_t best = 0;
  int bestDistance = 1 << 30;
  for (std::size_t i = 0; i < count; ++i) {
    auto [er, eg, eb] = channels(table[i]);
    int dr = er - r, dg = eg - g, db = eb - b;
    int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<std::uint32_t>(i);
      if (distance == 0) break;
    }
  }
  return best;
}
}  // namespace

std::uint32_t NearestIndex(const RGBQUAD* table, std::size_t count, COLORREF rgb) {
  return Nearest(table, count, rgb, [](const RGBQUAD& q) {
    return std::tuple<int, int, int>{q.rgbRed, q.rgbGreen, q.rgbBlue};
  });
}

std::uint32_t NearestIndex(const PALETTEENTRY* table, std::size_t count, COLORREF rgb) {
  return Nearest(table, count, rgb, [](const PALETTEENTRY& e) {
    return std::tuple<int, int, int>{e.peRed, e.peGreen, e.peBlue};
  });
}

const PALETTEENTRY* StaticColors() {
  static const PALETTEENTRY colors[20] = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
      {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
      {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
      {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
  };
  return colors;
}

std::vector<RGBQUAD> DefaultColors(int bpp) {
  auto quad = [](const PALETTEENTRY& e) { return RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0}; };
  const PALETTEENTRY* s = StaticColors();
  std::vector<RGBQUAD> table;
  switch (bpp) {
    case 1: table = {{0, 0, 0, 0}, {255, 255, 255, 0}}; break;
    case 2: table = {{0, 0, 0, 0}, {128, 128, 128, 0}, {192, 192, 192, 0}, {255, 255, 255, 0}}; break;
    case 4:
      for (int i = 0; i < 8; ++i) table.push_back(quad(s[i]));
      table.push_back(quad(s[12]));
      for (int i = 13; i < 20; ++i) table.push_back(quad(s[i]));
      break;
    case 8:
      table.resize(256);
      for (int i = 0; i < 10; ++i) table[i] = quad(s[i]);
      for (int i = 0; i < 216; ++i) {
        table[10 + i] = RGBQUAD{static_cast<BYTE>(51 * (i % 6)), static_cast<BYTE>(51 * ((i / 6) % 6)),
                                static_cast<BYTE>(51 * (i / 36)), 0};
      }
      for (int i = 0; i < 20; ++i) {
        BYTE v = static_cast<BYTE>(12 * (i + 1));
        table[226 + i] = RGBQUAD{v, v, v, 0};
      }
      for (int i = 0; i < 10; ++i) table[246 + i] = quad(s[10 + i]);
      break;
    default: break;
  }
  return table;
}

}  // namespace platform::gdi
