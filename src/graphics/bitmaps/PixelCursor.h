// The iterator of every per-pixel loop: walks a rectangle of a bitmap's pixel rows at any depth (1, 2, 4, 8,
// 16, 24, 32), from the top row down or from the bottom row up, whatever order the rows have in memory.
//
// Values at depths above 8 are the pixel's bytes read as one little-endian number, at 24 bits as well as
// at 16 and 32: a 24-bit pixel stored blue, green, red reads 0xRRGGBB, the packing of the colour tables,
// so that a key or a colour looked up in a table names the pixels that hold it.
#pragma once

#include <cstdint>

#include "core/Geometry.h"

class BitMap;

// Pixel rows as they lie in memory: DIB layout, each row `stride` bytes apart.
struct PixelMemory {
  std::uint8_t* bits = nullptr;
  std::int32_t stride = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int16_t depth = 0;
  bool topDown = false;  // the first memory row is the image's top row
};

class PixelCursor {
 public:
  // Locks the bitmap's pixels for the cursor's life; unlocks (writing back copied pixels) at its end.
  PixelCursor(BitMap* bitmap, const Rect& rect, bool topFirst);
  PixelCursor(const PixelMemory& memory, const Rect& rect, bool topFirst);
  ~PixelCursor();
  PixelCursor(const PixelCursor&) = delete;
  PixelCursor& operator=(const PixelCursor&) = delete;

  bool HasRow() const { return row >= 0 && row < rowsInRect; }
  // Back to the rectangle's left column on the next row in the cursor's order.
  void NextRow();
  // One column on; after the rectangle's last column, the next row.
  void NextPixel() {
    if (++x >= rect.right) NextRow();
  }

  // Outside the bitmap (or with no row left) GetPixel answers 0 and SetPixel changes nothing.
  std::uint32_t GetPixel() const {
    if (!Inside()) return 0;
    return Read(rowStart, x, memory.depth);
  }
  void SetPixel(std::uint32_t value) {
    if (Inside()) Write(rowStart, x, memory.depth, value);
  }

  // The byte holding the rectangle's left column in the current row, and the bytes from it to the byte
  // holding the last column (at most the stride).
  std::uint8_t* GetAddress() const;
  std::int32_t RowByteCount() const;
  // In bitmap coordinates.
  Point GetPosition() const { return {x, y}; }
  void MoveTo(std::int32_t newX, std::int32_t newY);

  static std::uint32_t Read(const std::uint8_t* row, std::int32_t x, std::int16_t depth);
  static void Write(std::uint8_t* row, std::int32_t x, std::int16_t depth, std::uint32_t value);

 private:
  void Start(bool topFirst);
  void PointAtRow();
  bool Inside() const { return rowStart != nullptr && x >= 0 && x < memory.width; }

  BitMap* bitmap = nullptr;
  void* lockedBits = nullptr;
  bool lockedCopy = false;
  PixelMemory memory;
  Rect rect;
  bool downwards = true;  // image rows walked from the top
  std::int32_t rowsInRect = 0;
  std::int32_t row = 0;  // index of the current row in the cursor's order
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint8_t* rowStart = nullptr;  // null when the row lies outside the bitmap
};

inline std::uint32_t PixelCursor::Read(const std::uint8_t* p, std::int32_t x, std::int16_t depth) {
  switch (depth) {
    case 1: return (p[x >> 3] >> (7 - (x & 7))) & 1u;
    case 2: return (p[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
    case 4: return (p[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u;
    case 8: return p[x];
    case 16: p += 2 * x; return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
    case 24:
      p += 3 * x;
      return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
             (static_cast<std::uint32_t>(p[2]) << 16);
    case 32:
      p += 4 * x;
      return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
             (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    default: return 0;
  }
}

inline void PixelCursor::Write(std::uint8_t* p, std::int32_t x, std::int16_t depth, std::uint32_t v) {
  switch (depth) {
    case 1: {
      const unsigned shift = 7 - (x & 7);
      p[x >> 3] = static_cast<std::uint8_t>((p[x >> 3] & ~(1u << shift)) | ((v & 1u) << shift));
      break;
    }
    case 2: {
      const unsigned shift = 6 - 2 * (x & 3);
      p[x >> 2] = static_cast<std::uint8_t>((p[x >> 2] & ~(3u << shift)) | ((v & 3u) << shift));
      break;
    }
    case 4: {
      const unsigned shift = (x & 1) ? 0 : 4;
      p[x >> 1] = static_cast<std::uint8_t>((p[x >> 1] & ~(15u << shift)) | ((v & 15u) << shift));
      break;
    }
    case 8: p[x] = static_cast<std::uint8_t>(v); break;
    case 16:
      p += 2 * x;
      p[0] = static_cast<std::uint8_t>(v);
      p[1] = static_cast<std::uint8_t>(v >> 8);
      break;
    case 24:
      p += 3 * x;
      p[0] = static_cast<std::uint8_t>(v);
      p[1] = static_cast<std::uint8_t>(v >> 8);
      p[2] = static_cast<std::uint8_t>(v >> 16);
      break;
    case 32:
      p += 4 * x;
      p[0] = static_cast<std::uint8_t>(v);
      p[1] = static_cast<std::uint8_t>(v >> 8);
      p[2] = static_cast<std::uint8_t>(v >> 16);
      p[3] = static_cast<std::uint8_t>(v >> 24);
      break;
    default: break;
  }
}
