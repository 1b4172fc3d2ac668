// Picture fixtures made by standard tools (scripts/make-picture-fixtures) and the pixels their reference
// decoders give, for the decoder tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "graphics/formats/PixelBuffer.h"

namespace picture_testing {

// A BMP file of the given fields, with a 40-byte header unless said otherwise.
struct BmpBuilder {
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bits = 8;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t headerSize = 40;
  std::vector<std::uint32_t> colors;  // 0x00RRGGBB
  std::string masks;                  // bit fields after a 40-byte header
  std::string data;

  std::string Build() const {
    std::string info(headerSize, '\0');
    auto put32 = [&info](std::size_t at, std::uint32_t v) { std::memcpy(&info[at], &v, 4); };
    put32(0, headerSize);
    put32(4, static_cast<std::uint32_t>(width));
    put32(8, static_cast<std::uint32_t>(height));
    info[12] = 1;
    std::memcpy(&info[14], &bits, 2);
    put32(16, compression);
    put32(32, colorsUsed);
    std::string table;
    for (std::uint32_t c : colors) table += std::string{char(c & 255), char(c >> 8 & 255), char(c >> 16 & 255), '\0'};
    const std::uint32_t offset = 14 + headerSize + static_cast<std::uint32_t>(masks.size() + table.size());
    std::string file = "BM";
    const std::uint32_t fields[3] = {static_cast<std::uint32_t>(offset + data.size()), 0, offset};
    file.append(reinterpret_cast<const char*>(fields), 12);
    return file + info + masks + table + data;
  }
};

inline std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(QUILLORY_SOURCE_DIR) / "tests/fixtures/pictures" / name;
}

inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(FixturePath(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline SmartRef<MemoryStream> StreamOf(const std::string& bytes) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  stream->Seek(0, kSeekFromStart);
  return stream;
}

// Red, green, blue bytes a pixel, rows top first.
struct RGBPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  bool operator==(const RGBPicture&) const = default;
};

// Binary PBM, PGM or PPM (maximum 255), as the netpbm tools and djpeg write them.
inline RGBPicture ReadPnm(const std::string& name) {
  std::ifstream in(FixturePath(name), std::ios::binary);
  std::string magic;
  RGBPicture picture;
  int maximum = 1;
  in >> magic >> picture.width >> picture.height;
  if (magic != "P4") in >> maximum;
  in.get();
  const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  picture.rgb.resize(pixels * 3);
  if (magic == "P6") {
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(pixels * 3));
  } else if (magic == "P5") {
    for (std::size_t i = 0; i < pixels; ++i) picture.rgb[3 * i] = picture.rgb[3 * i + 1] = picture.rgb[3 * i + 2] = static_cast<std::uint8_t>(in.get());
  } else if (magic == "P4") {
    const int stride = (picture.width + 7) / 8;
    for (int y = 0; y < picture.height; ++y) {
      std::vector<char> row(static_cast<std::size_t>(stride));
      in.read(row.data(), stride);
      for (int x = 0; x < picture.width; ++x) {
        const std::uint8_t v = (row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1 ? 0 : 255;
        const std::size_t i = 3 * (static_cast<std::size_t>(y) * picture.width + x);
        picture.rgb[i] = picture.rgb[i + 1] = picture.rgb[i + 2] = v;
      }
    }
  }
  if (!in || maximum != (magic == "P4" ? 1 : 255)) picture = RGBPicture{};
  return picture;
}

inline RGBPicture ToRGB(const PixelBuffer& buffer) {
  RGBPicture picture{buffer.width, buffer.height, {}};
  picture.rgb.reserve(static_cast<std::size_t>(buffer.width) * buffer.height * 3);
  for (int y = 0; y < buffer.height; ++y)
    for (int x = 0; x < buffer.width; ++x) {
      const Color color = buffer.GetPixelColor(x, y);
      picture.rgb.push_back(static_cast<std::uint8_t>(color.red >> 8));
      picture.rgb.push_back(static_cast<std::uint8_t>(color.green >> 8));
      picture.rgb.push_back(static_cast<std::uint8_t>(color.blue >> 8));
    }
  return picture;
}

// The first place two pictures differ, for failure messages.
inline std::string FirstDifference(const RGBPicture& a, const RGBPicture& b) {
  if (a.width != b.width || a.height != b.height)
    return std::to_string(a.width) + "x" + std::to_string(a.height) + " vs " + std::to_string(b.width) + "x" + std::to_string(b.height);
  for (std::size_t i = 0; i < a.rgb.size(); ++i)
    if (a.rgb[i] != b.rgb[i])
      return "pixel " + std::to_string(i / 3 % a.width) + "," + std::to_string(i / 3 / a.width) + " channel " +
             std::to_string(i % 3) + ": " + std::to_string(a.rgb[i]) + " vs " + std::to_string(b.rgb[i]);
  return "same";
}

}  // namespace picture_testing
