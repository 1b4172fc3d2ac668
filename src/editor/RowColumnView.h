// Lines up a palette window's parts (tool palettes, option grids, buttons, the colour indicator) one
// after the other in a row or a column, and takes the size they need.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "ui/views/View.h"

class RowColumnView : public View {
  SMART_ABSTRACT(RowColumnView)
 public:
  // On the parent's content bounds; the caller adds the view to the parent and the items to the view, in
  // the order they are to appear.
  RowColumnView(View* parent, bool vertical, bool onePixelGap, std::int16_t spacing);

  // Places the visible items from (x0, y0) on, centres them across the line, and takes their size, which
  // it answers; (0, 0) when nothing takes room.
  Point Arrange(std::int32_t x0, std::int32_t y0);

 private:
  enum : std::uint8_t { kVertical = 1, kOnePixelGap = 2 };

  std::uint8_t flags;
  std::int16_t spacing;
};
