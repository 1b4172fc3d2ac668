#include "graphics/formats/JPEGFile.h"

#include <array>
#include <cstring>

#include "core/Exception.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/JPEGCodec.h"
#include "graphics/bitmaps/PixelCursor.h"

SMART_DEFINE(JPEGFile, "JPEGFile", nullptr, nullptr, ImageScribe)

SmartRef<FileType> JPEGFile::fileType(new FileType("Image JPEG", FourCharCode("JPEG"), FourCharCode("jpg ")));

namespace {

// A bitmap's rows, top first, for the compressor: one cursor walks the bitmap down as rows are asked for.
class BitMapPixels : public JpegPixelSource {
 public:
  explicit BitMapPixels(BitMap& bitmap)
      : bitmap(bitmap), bounds(bitmap.GetBounds()), cursor(&bitmap, bounds, true), depth(bitmap.GetBitDepth()) {
    if (depth <= 8)
      for (std::uint32_t value = 0; value < (1u << depth); ++value) {
        const Color color = bitmap.GetPixelColor(value);
        colors[value] = {static_cast<std::uint8_t>(color.red >> 8), static_cast<std::uint8_t>(color.green >> 8),
                         static_cast<std::uint8_t>(color.blue >> 8)};
      }
  }
  std::int32_t GetWidth() const override { return bounds.Width(); }
  std::int32_t GetHeight() const override { return bounds.Height(); }

  // Rows come in order, top first.
  void GetRowRGB(std::int32_t, std::uint8_t* rgb) const override {
    if (depth == 24) {
      SwapRedBlue(cursor.GetAddress(), rgb, bounds.Width());
    } else {
      for (std::int32_t x = 0; x < bounds.Width(); ++x, rgb += 3, cursor.NextPixel()) {
        const std::uint32_t value = cursor.GetPixel();
        if (depth <= 8) {
          std::memcpy(rgb, colors[value].data(), 3);
        } else {
          const Color color = bitmap.GetPixelColor(value);
          rgb[0] = static_cast<std::uint8_t>(color.red >> 8);
          rgb[1] = static_cast<std::uint8_t>(color.green >> 8);
          rgb[2] = static_cast<std::uint8_t>(color.blue >> 8);
        }
      }
      return;
    }
    cursor.NextRow();
  }

 private:
  BitMap& bitmap;
  Rect bounds;
  mutable PixelCursor cursor;
  std::int16_t depth;
  std::array<std::array<std::uint8_t, 3>, 256> colors{};
};

}  // namespace

void JPEGFile::Write(SmartRef<Smart> object) {
  auto* image = CHECK_NOT_NULL(CastSmart<Image>(~object));
  WriteJPEG(*image, *stream);
}

void JPEGFile::Read(SmartRef<Smart>* object) { *object = ReadJPEG(*stream); }

void WriteJPEG(Image& image, Stream& stream) {
  if (auto* bitmap = CastSmart<BitMap>(&image)) {
    CompressBitMapToJPEG(*bitmap, stream);
    return;
  }
  SmartRef<BitMap> rendered = ImageToBitMap(image);
  if (rendered) CompressBitMapToJPEG(*rendered, stream);
}

BitMap* ReadJPEG(Stream& stream) { return DecompressJPEGToBitMap(stream); }

void CompressBitMapToJPEG(BitMap& bitmap, Stream& stream) {
  const BitMapPixels pixels(bitmap);
  CompressToJPEG(pixels, stream);
}

BitMap* DecompressJPEGToBitMap(Stream& stream) { return NewBitMapForDisplay(DecompressJPEG(stream), "Conversion Jpeg"); }
