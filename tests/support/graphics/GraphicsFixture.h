// A fresh screen for each graphics test: the headless 800 x 600 screen at a chosen depth, the program's
// folder at the repository's data/ (which holds Data/standard.pal), the version probe answering as asked,
// and the screen's palettes and shared colour tables made again from that state.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmaps/OSBitMap.h"
#include "graphics/SystemVersion.h"

class GraphicsFixture : public ::testing::Test {
 protected:
  void SetUp() override { Prepare(32, Win95); }
  void TearDown() override;
  // Screen depth (8 or 32), version code (Win95 or Win31Only) and the program's folder (empty: data/).
  void Prepare(int screenBits, int winVersion, const std::string& applicationFolder = "");

 private:
  std::string savedFolder;
};

// The 8-bit pixel at (x, y) of a back end, in picture coordinates whatever its row order.
std::uint8_t PixelAt(OSBitMap& bitmap, int x, int y);
// Sets every 8-bit pixel from a function of (x, y).
template <class F>
void SetPixels(OSBitMap& bitmap, F value) {
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(bitmap.GetByteSize()));
  const int rowBytes = bitmap.GetRowBytes();
  for (int y = 0; y < bitmap.GetHeight(); ++y) {
    const int row = bitmap.IsTopDown() ? y : bitmap.GetHeight() - 1 - y;
    for (int x = 0; x < bitmap.GetWidth(); ++x) bits[static_cast<std::size_t>(row * rowBytes + x)] = value(x, y);
  }
  bitmap.SetBits(bits.data(), bitmap.GetByteSize());
}

// A 32-bit DIB section selected into a memory context, for drawing onto and reading back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC DC() const { return dc; }
  // 0x00bbggrr of the pixel.
  COLORREF At(int x, int y) const;

 private:
  HDC dc = nullptr;
  HBITMAP section = nullptr;
  HGDIOBJ previous = nullptr;
  std::uint32_t* bits = nullptr;
  int width;
  int height;
};
