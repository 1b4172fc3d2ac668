// The text of an edit control, its selection, and its lines as laid out in the control's font: what the
// control edits, apart from the window that shows it (internal to the window system).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/text/TextLayout.h"

namespace platform::user {

class EditBuffer {
 public:
  // Until it is laid out, the text shows as one empty line.
  explicit EditBuffer(bool multiLine) : multiLine_(multiLine) { layout_.lines.emplace_back(); }

  const std::string& Text() const { return text_; }
  std::size_t Length() const { return text_.size(); }
  bool MultiLine() const { return multiLine_; }

  // The selection runs from the anchor to the caret, either way round.
  std::size_t Anchor() const { return anchor_; }
  std::size_t Caret() const { return caret_; }
  std::size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool HasSelection() const { return anchor_ != caret_; }
  // Positions past the end are taken as the end.
  void Select(std::size_t anchor, std::size_t caret);

  // The whole text, with the caret at its start. Text for a single-line control ends at a line break.
  void SetText(std::string_view text);
  // The selection becomes the text given, with the caret after it.
  void ReplaceSelection(std::string_view text);

  // The position one step before or after another: CR LF is one step.
  std::size_t Previous(std::size_t position) const;
  std::size_t Next(std::size_t position) const;
  // The blank-delimited word around a position, as (start, end).
  std::pair<std::size_t, std::size_t> WordAround(std::size_t position) const;

  // Lays the text (or, with a password character, as many of those) out in a box `width` pixels wide,
  // aligned by DT_CENTER or DT_RIGHT, wrapped when the control is multi-line.
  void LayOut(std::shared_ptr<const text::RasterFont> font, int width, UINT alignment, char passwordChar);
  const std::shared_ptr<const text::RasterFont>& Font() const { return font_; }
  int LineHeight() const { return layout_.lineHeight; }
  std::size_t LineCount() const { return layout_.lines.size(); }
  const text::PlacedLine& Line(std::size_t index) const { return layout_.lines[index]; }
  std::string_view Shown(const text::TextLine& line) const {
    return std::string_view(shown_).substr(line.start, line.length);
  }
  // The line holding a position; a position among a wrap's blanks or within a line break belongs to the
  // line before.
  std::size_t LineOf(std::size_t position) const;
  // Where the caret stands at a position, from the box's left and the first line's top.
  POINT PointOf(std::size_t position) const;
  // The position nearest a point of the box (a point above the first line or below the last takes that
  // line).
  std::size_t PositionAt(int x, int y) const;
  // The position on a line nearest to x.
  std::size_t PositionOnLine(std::size_t line, int x) const;

 private:
  int WidthOf(std::size_t from, std::size_t to) const;

  bool multiLine_;
  std::string text_;
  std::string shown_;  // the text as drawn: the text itself or its password characters
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  text::TextLayout layout_;
  std::shared_ptr<const text::RasterFont> font_;  // the font of the last layout
};

}  // namespace platform::user
