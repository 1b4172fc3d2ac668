// Small surfaces for drawing tests: a memory context over a DIB section, and its pixels as text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"

namespace gditest {

// A memory context with a DIB section selected; deletes both.
class Canvas {
 public:
  Canvas(int width, int height, int bpp, const std::vector<RGBQUAD>& colors = {}, bool topDown = false);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  BYTE* bits() const { return static_cast<BYTE*>(bits_); }
  int width() const { return width_; }
  int height() const { return height_; }
  int bpp() const { return bpp_; }
  int stride() const { return ((width_ * bpp_ + 31) & ~31) / 8; }
  // Raw pixel value at (x, y), y from the top.
  std::uint32_t Value(int x, int y) const;
  void SetValue(int x, int y, std::uint32_t value);
  void Fill(std::uint32_t value);
  // One character per pixel: '#' where the value is `ink`, '.' elsewhere; rows separated by '\n'.
  std::string Picture(std::uint32_t ink) const;
  // Fills the canvas with the colour and then draws with the given pen and brush.
  void Clear(COLORREF color);

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
  int width_, height_, bpp_;
  bool topDown_;
};

std::vector<RGBQUAD> GreyRamp(int count);
// A rectangle as "left,top,right,bottom", for comparisons that show all four sides.
std::string Text(const RECT& r);
// Parses a picture of '#' and '.' into rows.
std::string Rows(std::initializer_list<const char*> rows);

// Selects an object for a scope and deletes it afterwards.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, previous_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
};

}  // namespace gditest
