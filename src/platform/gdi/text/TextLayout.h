// Text laid out in a rectangle as DrawTextA draws it, and the pixels its characters cover.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/gdi/text/LineBreak.h"
#include "platform/gdi/text/RasterFont.h"

namespace platform::text {

struct PlacedLine {
  TextLine line;
  int x = 0;  // left of the line's first character cell
  int y = 0;  // top of the line's cells
};

struct TextLayout {
  std::vector<PlacedLine> lines;
  int lineHeight = 0;
  // The union of the lines' cells.
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Lays text out from (left, top) in a box `width` pixels wide: broken into lines (at blanks too when
// `wrap`), each line one font height below the last, aligned by `format`'s DT_CENTER or DT_RIGHT.
TextLayout LayOutText(const RasterFont& font, std::string_view text, int left, int top, int width, bool wrap,
                      UINT format);

// Pixels [left, right) of row y.
using SpanSink = std::function<void(int y, int left, int right)>;

// The pixels the characters of one line cover (underline and strike-out included) with the top of their
// cells at (x, top), row by row; pixels of neighbouring characters may be reported twice.
void RenderLine(const RasterFont& font, std::string_view text, int x, int top, const SpanSink& sink);

}  // namespace platform::text
