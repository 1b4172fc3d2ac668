#include "graphics/PixelBuffer.h"

#include "core/Exception.h"

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
