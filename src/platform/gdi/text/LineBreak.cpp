#include "platform/gdi/text/LineBreak.h"

namespace platform::text {
namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' '; }

}  // namespace

std::vector<TextLine> BreakLines(std::string_view text, int maxWidth, const AdvanceOf& advance) {
  const auto width = [&](std::size_t from, std::size_t to) {
    int w = 0;
    for (std::size_t i = from; i < to; ++i) w = AddAdvance(w, advance(static_cast<unsigned char>(text[i])));
    return w;
  };
  // Skips one line break (CR LF counts as one) at pos; answers whether there was one.
  const auto skipBreak = [&](std::size_t& pos) {
    if (pos >= text.size() || !IsBreak(text[pos])) return false;
    pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    return true;
  };

  std::vector<TextLine> lines;
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = pos;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    std::size_t next = end;
    if (maxWidth >= 0 && width(pos, end) > maxWidth) {
      // The longest run of whole words that fits; the first word stays even when it does not.
      std::size_t fit = pos;
      std::size_t i = pos;
      int w = 0;
      while (i < end) {
        while (i < end && IsBlank(text[i])) w = AddAdvance(w, advance(static_cast<unsigned char>(text[i++])));
        while (i < end && !IsBlank(text[i])) w = AddAdvance(w, advance(static_cast<unsigned char>(text[i++])));
        if (fit != pos && w > maxWidth) break;
        fit = i;
      }
      if (fit < end) {
        end = fit;
        next = fit;
        while (next < text.size() && IsBlank(text[next])) ++next;
      }
    }
    lines.push_back({pos, end - pos, width(pos, end)});
    pos = next;
    // A wrap whose blanks run up to a line break ends at that break: no empty line between them.
    if (!skipBreak(pos) && pos >= text.size()) break;
  }
  return lines;
}

}  // namespace platform::text
