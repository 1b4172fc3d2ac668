// The framework's scroll bar: a native bar bound to one axis of a scrollable model (command 0 the
// vertical axis, 1 the horizontal one). It takes the model's page size and range, moves the model as the
// user scrolls, hides itself while the range leaves nothing to scroll, and follows the model when the
// model brings a part of itself into view.
#pragma once

#include <cstdint>

#include "ui/controls/Control.h"

class ScrollBar : public Control {
  SMART_ABSTRACT(ScrollBar)
 public:
  // Vertical bars follow the parent's top, bottom and right edges, horizontal ones its left, bottom and
  // right. A bar needs a target.
  ScrollBar(View* parent, const Rect& frame, Controllable* target, bool horizontal);
  ~ScrollBar() override;

  // Bars 16 pixels wide along the right and bottom edges of the view, their outer pixel outside it, added
  // to the view; both overlap in the bottom-right square.
  static void AttachToView(View* view, Controllable* target, bool vertical, bool horizontal);
  // What a pane with those bars leaves for its content: 15 pixels off the right and the bottom.
  static Rect FrameRect(const Rect& frame, bool vertical, bool horizontal);

  bool IsVertical() const { return flags & kVertical; }
  std::int32_t GetPageSize() const { return pageSize; }

  // At least 48 by 48, no maximum.
  void GetSizeRange(Rect* range) override;
  // 3 and 4 a line up or down, 5 and 6 a page.
  void Clicked(std::int32_t code) override;
  // A range of one position hides the bar.
  void SetRange(std::int32_t min, std::int32_t max) override;
  // Scrolls so that a changed range of this bar's axis outside the page comes to its middle.
  void RangeChanged(const Range* range) override;
  // The page size and the range come again from the target.
  void TargetChanged(void* unused) override;

 private:
  static constexpr std::uint8_t kVertical = 1;
  std::int32_t pageSize = 1;
  std::uint8_t flags = 0;
};
