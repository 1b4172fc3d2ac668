// Reads and writes one-bit pictures as binary PBM files (P4), and colour ones as PPM files (P6), which
// standard tools show and convert, for golden images checked in under tests/fixtures.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

struct BitPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;  // one byte per pixel, 1 where inked, rows top first
  bool operator==(const BitPicture&) const = default;
};

inline bool WritePbm(const std::string& path, const BitPicture& picture) {
  std::ofstream out(path, std::ios::binary);
  out << "P4\n" << picture.width << ' ' << picture.height << '\n';
  const int stride = (picture.width + 7) / 8;
  for (int y = 0; y < picture.height; ++y) {
    std::vector<char> row(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < picture.width; ++x)
      if (picture.ink[static_cast<std::size_t>(y * picture.width + x)]) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
    out.write(row.data(), stride);
  }
  return static_cast<bool>(out);
}

inline std::optional<BitPicture> ReadPbm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  BitPicture picture;
  if (!(in >> magic >> picture.width >> picture.height) || magic != "P4" || picture.width <= 0 ||
      picture.height <= 0 || picture.width > 1 << 14 || picture.height > 1 << 14)
    return std::nullopt;
  in.get();  // the single blank after the header
  const int stride = (picture.width + 7) / 8;
  picture.ink.assign(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height), 0);
  std::vector<char> row(static_cast<std::size_t>(stride));
  for (int y = 0; y < picture.height; ++y) {
    if (!in.read(row.data(), stride)) return std::nullopt;
    for (int x = 0; x < picture.width; ++x)
      picture.ink[static_cast<std::size_t>(y * picture.width + x)] = (row[x / 8] >> (7 - x % 8)) & 1;
  }
  return picture;
}

// Colour pictures as binary PPM files (P6), for golden screenshots.
struct ColourPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top first
  bool operator==(const ColourPicture&) const = default;
};

inline bool WritePpm(const std::string& path, const ColourPicture& picture) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
  for (const std::uint32_t p : picture.pixels) {
    const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
    out.write(rgb, 3);
  }
  return static_cast<bool>(out);
}

inline std::optional<ColourPicture> ReadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  ColourPicture picture;
  if (!(in >> magic >> picture.width >> picture.height >> maximum) || magic != "P6" || maximum != 255 ||
      picture.width <= 0 || picture.height <= 0 || picture.width > 1 << 14 || picture.height > 1 << 14)
    return std::nullopt;
  in.get();
  std::vector<unsigned char> bytes(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
  for (std::size_t i = 0; i < bytes.size(); i += 3)
    picture.pixels.push_back(static_cast<std::uint32_t>(bytes[i]) << 16 | static_cast<std::uint32_t>(bytes[i + 1]) << 8 |
                             bytes[i + 2]);
  return picture;
}
