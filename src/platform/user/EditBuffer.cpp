#include "platform/user/EditBuffer.h"

#include <algorithm>

#include "platform/gdi/text/FontTypes.h"

namespace platform::user {
namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsWordCharacter(char c) { return c != ' ' && !IsLineBreak(c); }

}  // namespace

void EditBuffer::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = std::min(anchor, text_.size());
  caret_ = std::min(caret, text_.size());
}

void EditBuffer::SetText(std::string_view text) {
  if (!multiLine_) text = text.substr(0, std::min(text.size(), text.find_first_of("\r\n")));
  text_ = text;
  anchor_ = caret_ = 0;
}

void EditBuffer::ReplaceSelection(std::string_view text) {
  if (!multiLine_) text = text.substr(0, std::min(text.size(), text.find_first_of("\r\n")));
  const std::size_t start = SelectionStart();
  text_.replace(start, SelectionEnd() - start, text);
  anchor_ = caret_ = start + text.size();
}

std::size_t EditBuffer::Previous(std::size_t position) const {
  position = std::min(position, text_.size());
  if (position == 0) return 0;
  if (position >= 2 && text_[position - 1] == '\n' && text_[position - 2] == '\r') return position - 2;
  return position - 1;
}

std::size_t EditBuffer::Next(std::size_t position) const {
  if (position >= text_.size()) return text_.size();
  if (text_[position] == '\r' && position + 1 < text_.size() && text_[position + 1] == '\n') return position + 2;
  return position + 1;
}

std::pair<std::size_t, std::size_t> EditBuffer::WordAround(std::size_t position) const {
  position = std::min(position, text_.size());
  std::size_t start = position;
  std::size_t end = position;
  while (start > 0 && IsWordCharacter(text_[start - 1])) --start;
  while (end < text_.size() && IsWordCharacter(text_[end])) ++end;
  return {start, end};
}

void EditBuffer::LayOut(std::shared_ptr<const text::RasterFont> font, int width, UINT alignment, char passwordChar) {
  font_ = std::move(font);
  shown_ = passwordChar != 0 ? std::string(text_.size(), passwordChar) : text_;
  layout_ = text::LayOutText(*font_, shown_, 0, 0, std::max(0, width), multiLine_, alignment & (DT_CENTER | DT_RIGHT));
}

int EditBuffer::WidthOf(std::size_t from, std::size_t to) const {
  if (!font_ || from >= to) return 0;
  return font_->Width(std::string_view(shown_).substr(from, to - from));
}

std::size_t EditBuffer::LineOf(std::size_t position) const {
  const auto& lines = layout_.lines;
  if (lines.empty()) return 0;
  // The last line starting at or before the position.
  const auto after = std::upper_bound(lines.begin(), lines.end(), position,
                                      [](std::size_t p, const text::PlacedLine& l) { return p < l.line.start; });
  return after == lines.begin() ? 0 : static_cast<std::size_t>(after - lines.begin() - 1);
}

POINT EditBuffer::PointOf(std::size_t position) const {
  if (layout_.lines.empty()) return POINT{0, 0};
  const text::PlacedLine& placed = layout_.lines[LineOf(position)];
  const std::size_t end = placed.line.start + placed.line.length;
  return POINT{placed.x + WidthOf(placed.line.start, std::min(position, end)), placed.y};
}

std::size_t EditBuffer::PositionOnLine(std::size_t line, int x) const {
  if (layout_.lines.empty()) return 0;
  const text::PlacedLine& placed = layout_.lines[std::min(line, layout_.lines.size() - 1)];
  int left = placed.x;
  for (std::size_t i = 0; i < placed.line.length; ++i) {
    const std::size_t at = placed.line.start + i;
    const int advance = font_->Advance(static_cast<unsigned char>(shown_[at]));
    if (x < left + advance / 2) return at;
    left += advance;
  }
  return placed.line.start + placed.line.length;
}

std::size_t EditBuffer::PositionAt(int x, int y) const {
  if (layout_.lines.empty() || layout_.lineHeight <= 0) return 0;
  const long long row = y < 0 ? 0 : y / layout_.lineHeight;
  const auto last = static_cast<long long>(layout_.lines.size() - 1);
  return PositionOnLine(static_cast<std::size_t>(std::min(row, last)), x);
}

}  // namespace platform::user
