#include "ui/controls/ProgressBar.h"

#include <algorithm>

#include "graphics/Color.h"
#include "graphics/DisplayPort.h"

SMART_DEFINE_ABSTRACT(ProgressBar, "ProgressBar", View)

ProgressBar::ProgressBar(View* parent, const Rect& frame)
    : View(parent, frame, kAnchorTopLeft, false, false), barWidth(frame.Width()) {}

bool ProgressBar::SetProgress(std::uint32_t newDone, std::uint32_t newTotal) {
  done = std::min(newDone, newTotal);
  total = newTotal;
  // Nothing of nothing is done: an empty total leaves the bar empty rather than dividing by it.
  const std::int32_t width = total == 0 ? 0 : static_cast<std::int32_t>(static_cast<double>(barWidth) * done / total);
  if (width == filledWidth) return false;
  filledWidth = width;
  return true;
}

void ProgressBar::Reset() {
  if (filledWidth == 0) return;
  filledWidth = 0;
  Invalidate(true);
}

void ProgressBar::DrawContent(DisplayPort& port, const Area&) {
  const Rect bounds = GetBounds();
  port.DrawRect(bounds, standardColors[kTransparentColor], standardColors[1]);
  if (filledWidth == 0) return;
  Rect filled = bounds;
  filled.Inset(1);
  // A full bar fills the inside of the frame and leaves the frame's right edge black.
  filled.right = std::min(filled.left + filledWidth, filled.right);
  port.DrawRect(filled, standardColors[4], standardColors[4]);
}
