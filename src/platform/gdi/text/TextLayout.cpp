#include "platform/gdi/text/TextLayout.h"

#include <algorithm>

namespace platform::text {

TextLayout LayOutText(const RasterFont& font, std::string_view text, int left, int top, int width, bool wrap,
                      UINT format) {
  TextLayout layout;
  layout.lineHeight = font.Height();
  layout.top = top;
  const auto advance = [&font](unsigned char c) { return font.Advance(c); };
  int y = top;
  for (const TextLine& line : BreakLines(text, wrap ? std::max(0, width) : -1, advance)) {
    int x = left;
    if (format & DT_RIGHT)
      x = left + width - line.width;
    else if (format & DT_CENTER)
      x = left + (width - line.width) / 2;
    const bool first = layout.lines.empty();
    layout.lines.push_back({line, x, y});
    layout.left = first ? x : std::min(layout.left, x);
    layout.right = first ? x + line.width : std::max(layout.right, x + line.width);
    y = AddAdvance(y, layout.lineHeight);
  }
  layout.bottom = y;
  return layout;
}

void RenderLine(const RasterFont& font, std::string_view text, int x, int top, const SpanSink& sink) {
  const int baseline = top + font.Ascent();
  int pen = x;
  for (char c : text) {
    const Glyph& glyph = font.GlyphOf(static_cast<unsigned char>(c));
    const int gx = pen + glyph.left;
    for (int row = 0; row < glyph.rows; ++row) {
      const int gy = baseline - glyph.top + row;
      for (int col = 0; col < glyph.width;) {
        if (!glyph.Ink(col, row)) {
          ++col;
          continue;
        }
        const int start = col;
        while (col < glyph.width && glyph.Ink(col, row)) ++col;
        sink(gy, gx + start, gx + col);
      }
    }
    pen += glyph.advance;
  }
  const LOGFONTA& d = font.Description();
  const auto rule = [&](int offset) {
    if (pen <= x) return;
    for (int i = 0; i < font.LineThickness(); ++i) sink(baseline + offset + i, x, pen);
  };
  if (d.lfUnderline) rule(font.UnderlineOffset());
  if (d.lfStrikeOut) rule(font.StrikeOffset());
}

}  // namespace platform::text
