// Decoded pictures before they become bitmaps: rows of pixels, top row first, with their colours.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Color.h"

// Pictures wider or taller than this, or with more pixels in all, are refused before anything is
// allocated: a damaged or hostile header must not make the program ask for gigabytes.
inline constexpr std::int32_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 25;

// Raises the program's error unless width x height is a picture size it reads.
void CheckPictureSize(std::int64_t width, std::int64_t height);

struct PixelBuffer {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // 8: one colour index a pixel into colors (always 256 entries); 24: blue, green, red bytes a pixel, as
  // 24-bit Windows rows hold them, and no colours.
  int depth = 24;
  std::vector<Color> colors;
  std::vector<std::uint8_t> pixels;  // rows without padding

  PixelBuffer() = default;
  // Checks the size, then allocates the rows, all zero.
  PixelBuffer(std::int32_t width, std::int32_t height, int depth);

  std::uint32_t RowBytes() const { return static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(depth / 8); }
  std::uint8_t* Row(std::int32_t y) { return pixels.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* Row(std::int32_t y) const { return pixels.data() + static_cast<std::size_t>(y) * RowBytes(); }
  // The colour of a pixel, through the colours at depth 8.
  Color GetPixelColor(std::int32_t x, std::int32_t y) const;
};

// Turns blue, green, red pixels into red, green, blue ones (and back). in and out do not overlap.
void SwapRedBlue(const std::uint8_t* in, std::uint8_t* out, std::int32_t pixels);
