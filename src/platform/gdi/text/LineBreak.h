// The one place where text is broken into lines. Drawing, measuring and the edit control all lay text out
// through it, so that what is measured is what is drawn and what the child types.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace platform::text {

// Characters [start, start + length) of the text make the line; the blanks at a wrap and the line break
// itself (CR, LF or CR LF) belong to no line. `width` is the line's advance width in pixels.
struct TextLine {
  std::size_t start = 0;
  std::size_t length = 0;
  int width = 0;
  bool operator==(const TextLine&) const = default;
};

using AdvanceOf = std::function<int(unsigned char)>;

// Widths and coordinates of text stop at this many pixels, as the system's drawing coordinates do, so that
// no sum overflows however long a text or far its box.
constexpr int kMaxTextCoordinate = 1 << 27;

// Adds an advance to a width without passing kMaxTextCoordinate.
constexpr int AddAdvance(int width, int advance) {
  return width >= kMaxTextCoordinate - advance ? kMaxTextCoordinate : width + advance;
}

// Breaks Windows-1252 text into lines: at every CR, LF or CR LF, and, when `maxWidth` is not negative, at
// blanks so that each line fits in maxWidth pixels; a word wider than that overflows a line of its own.
// Blanks at a wrap are dropped, as are blanks that would overflow before a line break; otherwise blanks stay
// on their line. Text always has
// at least one line, and a line break at the very end starts an empty last line.
std::vector<TextLine> BreakLines(std::string_view text, int maxWidth, const AdvanceOf& advance);

}  // namespace platform::text
