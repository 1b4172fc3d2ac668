// A display device over a 32-bit top-down DIB section, for tests that draw through ports and read back
// every pixel, and the drawing layer's calls the ports make on it.
#pragma once

#include <string>
#include <vector>

#include "graphics/DisplayDevice.h"
#include "support/AsciiPicture.h"

class SurfaceDevice : public DisplayDevice {
 public:
  SurfaceDevice(int width, int height, const Color& background = Color(0), bool erase = true);
  ~SurfaceDevice() override;

  void BeginDraw(int mode) override;
  void EndDraw() override;
  void GetBounds(Rect* bounds) const override { *bounds = {0, 0, width, height}; }
  ColorTable* GetColorTable() const override;
  HDC GetDC() const override { return dcTaken ? dc : nullptr; }
  std::int16_t GetDepth() const override { return 32; }

  // 0x00RRGGBB
  std::uint32_t Pixel(int x, int y) const { return bits[static_cast<std::size_t>(y * width + x)] & 0xFFFFFF; }
  void Fill(std::uint32_t rgb);
  // One character a pixel, row by row: the character given for each colour, '?' for any other.
  std::string Picture(const PictureKey& key) const;
  int beginCount = 0;  // how often the DC was taken

 private:
  int width;
  int height;
  HDC dc = nullptr;
  HBITMAP section = nullptr;
  HGDIOBJ previous = nullptr;
  std::uint32_t* bits = nullptr;
  bool dcTaken = false;
};
