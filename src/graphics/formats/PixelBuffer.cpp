#include "graphics/formats/PixelBuffer.h"

#include <cstring>

#include "core/Exception.h"

namespace {

// This runs over every pixel of every published page and every imported picture, so it goes five pixels
// a shuffle where the processor has one (all current x86-64 ones do); each 16-byte store's last byte is
// written again by the next, and the last pixels go one by one.
#if defined(__x86_64__)
__attribute__((target("ssse3"))) std::int32_t SwapRedBlueShuffled(const std::uint8_t* in, std::uint8_t* out, std::int32_t pixels) {
  using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
  std::int32_t x = 0;
  for (; x + 6 <= pixels; x += 5, in += 15, out += 15) {
    Bytes16 v;
    std::memcpy(&v, in, 16);
    v = __builtin_shufflevector(v, v, 2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::memcpy(out, &v, 16);
  }
  return x;
}
const bool kHasShuffle = __builtin_cpu_supports("ssse3");
#endif

}  // namespace

void SwapRedBlue(const std::uint8_t* in, std::uint8_t* out, std::int32_t pixels) {
  std::int32_t x = 0;
#if defined(__x86_64__)
  if (kHasShuffle) x = SwapRedBlueShuffled(in, out, pixels);
#endif
  for (in += 3 * x, out += 3 * x; x < pixels; ++x, in += 3, out += 3) {
    const std::uint8_t blue = in[0];
    out[0] = in[2];
    out[1] = in[1];
    out[2] = blue;
  }
}

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) ThrowError("Image vide.", __FILE__, __LINE__);
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    ThrowError("Image trop grande.", __FILE__, __LINE__);
}

PixelBuffer::PixelBuffer(std::int32_t width, std::int32_t height, int depth) : width(width), height(height), depth(depth) {
  CheckPictureSize(width, height);
  pixels.assign(static_cast<std::size_t>(RowBytes()) * static_cast<std::size_t>(height), 0);
  if (depth == 8) colors.assign(256, Color());
}

Color PixelBuffer::GetPixelColor(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* pixel = Row(y) + static_cast<std::size_t>(x) * static_cast<std::size_t>(depth / 8);
  if (depth == 8) return colors[*pixel];
  return Color::FromRGB8(pixel[2], pixel[1], pixel[0]);
}
