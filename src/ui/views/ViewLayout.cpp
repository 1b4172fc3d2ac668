// How views follow their parent's edges and how far a view can shrink or grow with its subviews.
#include <algorithm>
#include <utility>

#include "graphics/OffScreen.h"
#include "ui/views/View.h"

namespace {

// The moves of a child's two edges on one axis, given the parent's two edge moves and which of the
// parent's edges the child follows.
void FollowEdges(bool first, bool second, std::int32_t dFirst, std::int32_t dSecond, std::int32_t* moveFirst,
                 std::int32_t* moveSecond) {
  if (first && second) {
    *moveFirst = dFirst;
    *moveSecond = dSecond;
  } else if (first) {
    *moveFirst = *moveSecond = dFirst;
  } else if (second) {
    *moveFirst = *moveSecond = dSecond;
  } else {
    *moveFirst = *moveSecond = 0;
  }
}

// Once unbounded, a growth allowance stays unbounded.
std::int32_t Widen(std::int32_t grow, std::int32_t by) {
  return grow == kUnboundedSize ? grow : std::max(grow, by);
}

// One axis of a view's constraint: a view that does not follow one of its parent's edges on the axis
// keeps the parent from growing past it; a view that follows both stretches, within its own range. Answers
// whether it stretches (and so whether its subviews have their say).
template <class RangeOf>
bool ConstrainAxis(bool followsFirst, bool followsSecond, std::int32_t parentFirst, std::int32_t parentSecond,
                   std::int32_t first, std::int32_t second, std::int32_t& shrink, std::int32_t& grow,
                   RangeOf rangeOf) {
  if (!followsFirst) grow = Widen(grow, parentFirst - first);
  if (!followsSecond) grow = Widen(grow, second - parentSecond);
  if (!followsFirst || !followsSecond) return false;
  const auto [minimum, maximum] = rangeOf();
  const std::int32_t size = second - first;
  shrink = std::min(shrink, size - minimum);
  if (maximum == kUnboundedSize)
    grow = kUnboundedSize;
  else if (maximum > minimum)
    grow = Widen(grow, maximum - size);
  return true;
}

}  // namespace

void View::SetBounds(const Rect& rect) {
  ResizeBy(rect.left - frame.left, rect.top - frame.top, rect.right - frame.right, rect.bottom - frame.bottom);
}

void View::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  if (dLeft == 0 && dTop == 0 && dRight == 0 && dBottom == 0) return;
  Invalidate(false);
  frame = Rect(frame.left + dLeft, frame.top + dTop, frame.right + dRight, frame.bottom + dBottom);
  Invalidate(false);
  for (std::int32_t n = 1; n <= subviews.NumItems(); ++n) SubviewAt(n)->ApplyParentResize(dLeft, dTop, dRight, dBottom);
  if (buffer) buffer->Resize(dLeft, dTop, dRight, dBottom, true);
}

void View::ApplyParentResize(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  std::int32_t left, top, right, bottom;
  FollowEdges(anchoring & kAnchorTop, anchoring & kAnchorBottom, dTop, dBottom, &top, &bottom);
  FollowEdges(anchoring & kAnchorLeft, anchoring & kAnchorRight, dLeft, dRight, &left, &right);
  ResizeBy(left, top, right, bottom);
}

void View::GetSizeRange(Rect* range) { *range = Rect(0, 0, 0, 0); }

void View::GetSizeLimits(Rect* limits) {
  const std::int32_t w = frame.Width();
  const std::int32_t h = frame.Height();
  std::int32_t shrinkH = h, growH = -h, shrinkW = w, growW = -w;
  ConstrainHeight(frame, shrinkH, growH);
  ConstrainWidth(frame, shrinkW, growW);
  const std::int32_t minH = h - shrinkH;
  const std::int32_t maxH = growH == kUnboundedSize ? kUnboundedSize : std::max(h + growH, minH);
  const std::int32_t minW = w - shrinkW;
  const std::int32_t maxW = growW == kUnboundedSize ? kUnboundedSize : std::max(w + growW, minW);
  *limits = Rect(minW, minH, maxW, maxH);
}

void View::ConstrainHeight(const Rect& parentFrame, std::int32_t& shrink, std::int32_t& grow) {
  const bool stretches = ConstrainAxis(anchoring & kAnchorTop, anchoring & kAnchorBottom, parentFrame.top,
                                       parentFrame.bottom, frame.top, frame.bottom, shrink, grow, [this] {
                                         Rect range;
                                         GetSizeRange(&range);
                                         return std::pair(range.top, range.bottom);
                                       });
  if (stretches)
    for (std::int32_t n = 1; n <= subviews.NumItems(); ++n) SubviewAt(n)->ConstrainHeight(frame, shrink, grow);
}

void View::ConstrainWidth(const Rect& parentFrame, std::int32_t& shrink, std::int32_t& grow) {
  const bool stretches = ConstrainAxis(anchoring & kAnchorLeft, anchoring & kAnchorRight, parentFrame.left,
                                       parentFrame.right, frame.left, frame.right, shrink, grow, [this] {
                                         Rect range;
                                         GetSizeRange(&range);
                                         return std::pair(range.left, range.right);
                                       });
  if (stretches)
    for (std::int32_t n = 1; n <= subviews.NumItems(); ++n) SubviewAt(n)->ConstrainWidth(frame, shrink, grow);
}

void View::FitSize(bool usePreferred) {
  Rect limits;
  GetSizeLimits(&limits);
  std::int32_t width = frame.Width();
  std::int32_t height = frame.Height();
  if (usePreferred) {
    // An unbounded maximum is no size to take: that side keeps its size.
    if (limits.right != kUnboundedSize) width = limits.right;
    if (limits.bottom != kUnboundedSize) height = limits.bottom;
  } else {
    height = std::max(std::min(height, limits.bottom), limits.top);
    width = std::max(std::min(width, limits.right), limits.left);
  }
  SetBounds(Rect(frame.left, frame.top, frame.left + width, frame.top + height));
}
