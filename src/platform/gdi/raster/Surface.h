// Pixel storage shared by bitmaps and the contexts that draw into them (internal to the drawing layer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform::gdi {

// The largest pixel memory one surface may hold.
constexpr std::uint64_t kMaxSurfaceBytes = std::uint64_t{1} << 29;

// Row stride of a DIB (32-bit aligned) or of a device bitmap (16-bit aligned); 0 when too large.
std::uint64_t DibStride(std::int64_t width, int bitsPerPixel);
std::uint64_t DeviceStride(std::int64_t width, int bitsPerPixel);
bool IsSupportedDepth(int bitsPerPixel);

struct Surface {
  int width = 0;
  int height = 0;
  int bpp = 0;
  std::ptrdiff_t stride = 0;
  bool topDown = true;
  BYTE* bits = nullptr;
  std::unique_ptr<BYTE[]> storage;  // empty when the pixels belong to someone else
  std::vector<RGBQUAD> colors;      // 2^bpp entries for indexed depths
  // A monochrome device bitmap takes the text and background colours in blits to and from colour
  // surfaces, where DIBs use their colour tables.
  bool monoDevice = false;
  // Bumped whenever the colour table changes, so that colour caches know when to start again.
  std::uint32_t colorsVersion = 0;

  // Allocates zeroed pixels; false (with the last error set) when the size is refused.
  bool Allocate(int w, int h, int depth, bool topDownRows, bool deviceRows);

  BYTE* Row(int y) const { return bits + (topDown ? y : height - 1 - y) * stride; }
  bool Indexed() const { return bpp <= 8; }
  std::uint32_t Mask() const { return bpp >= 24 ? 0xFFFFFFu : (1u << bpp) - 1u; }
  std::uint32_t Get(int x, int y) const;
  void Set(int x, int y, std::uint32_t value);
  // The colour of a pixel value, as 0x00bbggrr.
  COLORREF ColorOf(std::uint32_t value) const;
  // The pixel value nearest to a plain colour (0x00bbggrr): the packed colour at direct depths, the
  // nearest entry of the colour table at indexed depths.
  std::uint32_t ValueOf(COLORREF rgb) const;
  void SetColors(const RGBQUAD* table, std::size_t count);
};

// Pixel values in a row, at every depth (inline: every per-pixel loop goes through them).
inline std::uint32_t ReadPixel(const BYTE* row, int x, int bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 2: return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    case 8: return row[x];
    case 16: return row[2 * x] | (row[2 * x + 1] << 8);
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (static_cast<std::uint32_t>(row[3 * x + 2]) << 16);
    default: {
      std::uint32_t v;
      std::memcpy(&v, row + 4 * x, 4);
      return v & 0xFFFFFF;
    }
  }
}

inline void WritePixel(BYTE* row, int x, int bpp, std::uint32_t value) {
  switch (bpp) {
    case 1: {
      BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<BYTE>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 2: {
      int shift = 6 - 2 * (x & 3);
      row[x >> 2] = static_cast<BYTE>((row[x >> 2] & ~(3 << shift)) | ((value & 3) << shift));
      break;
    }
    case 4: {
      int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<BYTE>((row[x >> 1] & ~(15 << shift)) | ((value & 15) << shift));
      break;
    }
    case 8: row[x] = static_cast<BYTE>(value); break;
    case 16:
      row[2 * x] = static_cast<BYTE>(value);
      row[2 * x + 1] = static_cast<BYTE>((value >> 8) & 0x7F);
      break;
    case 24:
      row[3 * x] = static_cast<BYTE>(value);
      row[3 * x + 1] = static_cast<BYTE>(value >> 8);
      row[3 * x + 2] = static_cast<BYTE>(value >> 16);
      break;
    default: {
      std::uint32_t v = value & 0xFFFFFF;
      std::memcpy(row + 4 * x, &v, 4);
    }
  }
}

// The nearest entry of a colour table: least squared distance over red, green and blue; ties go to the
// lower index.
std::uint32_t NearestIndex(const RGBQUAD* table, std::size_t count, COLORREF rgb);
std::uint32_t NearestIndex(const PALETTEENTRY* table, std::size_t count, COLORREF rgb);

// Packs and unpacks 0x00bbggrr colours at the direct depths (16 bits: 5-5-5; 24 and 32: 0x00rrggbb).
inline std::uint32_t PackColor(COLORREF rgb, int bpp) {
  std::uint32_t r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  if (bpp == 16) return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
  return (r << 16) | (g << 8) | b;
}

inline COLORREF UnpackColor(std::uint32_t value, int bpp) {
  if (bpp == 16) {
    auto expand = [](std::uint32_t v) { return static_cast<BYTE>((v << 3) | (v >> 2)); };
    return RGB(expand((value >> 10) & 31), expand((value >> 5) & 31), expand(value & 31));
  }
  return RGB(static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value));
}

// The 20 colours the system reserves in every palette: entries 0-9 and 246-255 of the system palette.
const PALETTEENTRY* StaticColors();  // 20 entries: the first ten, then the last ten
// Default colour table of a depth: black and white at 1 bit, the 16 standard colours at 4, the system
// palette at 8.
std::vector<RGBQUAD> DefaultColors(int bpp);

}  // namespace platform::gdi
