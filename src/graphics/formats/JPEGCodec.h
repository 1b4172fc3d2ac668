// JPEG pictures: every page the program publishes is written here, and imported JPEG files are read here.
#pragma once

#include <cstdint>

#include "graphics/formats/PixelBuffer.h"

class Stream;

// What the compressor takes its pixels from.
class JpegPixelSource {
 public:
  virtual ~JpegPixelSource() = default;
  virtual std::int32_t GetWidth() const = 0;
  virtual std::int32_t GetHeight() const = 0;
  // Row y (0 the top) as red, green, blue bytes, width x 3 of them.
  virtual void GetRowRGB(std::int32_t y, std::uint8_t* rgb) const = 0;
};

// Rows of a decoded picture.
class PixelBufferSource : public JpegPixelSource {
 public:
  explicit PixelBufferSource(const PixelBuffer& picture) : picture(picture) {}
  std::int32_t GetWidth() const override { return picture.width; }
  std::int32_t GetHeight() const override { return picture.height; }
  void GetRowRGB(std::int32_t y, std::uint8_t* rgb) const override;

 private:
  const PixelBuffer& picture;
};

// Writes the pixels as a baseline JPEG of quality 90 with a JFIF header of density unit 2 and densities
// 0 x 0. Library and stream errors raise the program's error.
void CompressToJPEG(const JpegPixelSource& pixels, Stream& stream);

// Reads a JPEG (colour, greyscale or CMYK) into a depth-24 picture. A file cut short reads to where it
// ends; other damage raises the program's error.
PixelBuffer DecompressJPEG(Stream& stream);
