#include "editor/RowColumnView.h"

#include <algorithm>
#include <vector>

SMART_DEFINE_ABSTRACT(RowColumnView, "RowColumnView", View)

namespace {

Rect ContentOf(View* parent) {
  Rect bounds;
  if (parent) parent->GetContentBounds(&bounds);
  return bounds;
}

// An item stretched across the line by its anchoring does not set the line's thickness.
bool SpansAcross(const View& item, bool vertical) {
  const std::uint8_t both = vertical ? (kAnchorLeft | kAnchorRight) : (kAnchorTop | kAnchorBottom);
  return (item.GetAnchoring() & both) == both;
}

}  // namespace

RowColumnView::RowColumnView(View* parent, bool vertical, bool onePixelGap, std::int16_t spacing)
    : View(parent, ContentOf(parent), kAnchorTopLeft, false, false),
      flags(static_cast<std::uint8_t>((vertical ? kVertical : 0) | (onePixelGap ? kOnePixelGap : 0))),
      spacing(spacing) {}

Point RowColumnView::Arrange(std::int32_t x0, std::int32_t y0) {
  const List& items = GetSubviews();
  if (items.NumItems() == 0) return {0, 0};
  const bool vertical = flags & kVertical;
  const std::int32_t gap = (flags & kOnePixelGap) ? 1 : 0;

  struct Placement {
    View* item;
    Rect frame;
  };
  std::vector<Placement> placed;
  std::int32_t x = x0, y = y0, across = 0;
  for (std::int32_t n = 1; n <= items.NumItems(); ++n) {
    View* item = CastSmart<View>(items.At(n));
    if (item == nullptr || item->IsHidden()) continue;
    std::int32_t& along = vertical ? y : x;
    if (along > (vertical ? y0 : x0)) along += spacing;
    const Rect frame = Rect::FromSizeAndOrigin(item->GetBounds().Size(), {x, y});
    along += (vertical ? frame.Height() : frame.Width()) + gap;
    if (!SpansAcross(*item, vertical)) across = std::max(across, vertical ? frame.Width() : frame.Height());
    placed.push_back({item, frame});
  }
  const std::int32_t length = vertical ? y - y0 - 1 : x - x0 - 1;
  for (Placement& p : placed) {
    if (vertical)
      p.frame.Offset(x0 + (across - p.frame.Width()) / 2 - p.frame.left, 0);
    else
      p.frame.Offset(0, y0 + (across - p.frame.Height()) / 2 - p.frame.top);
  }

  Point size(0, 0);
  if (across >= 1 && length >= 1) {
    size = vertical ? Point(across, length) : Point(length, across);
    // The view ends exactly over what it holds, wherever it stood before. It is sized before the items
    // are placed, so that its resize does not move or stretch them by their anchoring.
    const Rect bounds = GetBounds();
    ResizeBy(x0 - bounds.left, y0 - bounds.top, x0 + size.x - bounds.right, y0 + size.y - bounds.bottom);
  }
  for (const Placement& p : placed) p.item->SetBounds(p.frame);
  return size;
}
