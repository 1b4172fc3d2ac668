#include "ui/controls/ScrollBar.h"

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "platform/user/Window.h"

namespace {

const String& ScrollText() {
  static const String text("Défiler"_cp);
  return text;
}

constexpr std::int32_t kBarWidth = 16;
constexpr std::int32_t kStrip = 15;

}  // namespace

SMART_DEFINE_ABSTRACT(ScrollBar, "ScrollBar", Control)

ScrollBar::ScrollBar(View* parent, const Rect& frame, Controllable* target, bool horizontal)
    : Control(parent, frame, horizontal ? kAnchorLeft | kAnchorBottom | kAnchorRight : kAnchorTop | kAnchorBottom | kAnchorRight,
              kControlScrollBar, &ScrollText(), target, horizontal ? 1 : 0),
      flags(horizontal ? 0 : kVertical) {
  TargetChanged(nullptr);
}

ScrollBar::~ScrollBar() = default;

void ScrollBar::AttachToView(View* view, Controllable* target, bool vertical, bool horizontal) {
  Rect r = CHECK_NOT_NULL(view)->GetBounds();
  r = Rect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
  if (vertical) {
    SmartRef<ScrollBar> bar(new ScrollBar(view, Rect(r.right - kBarWidth, r.top, r.right, r.bottom), target, false));
    view->AddSubview(~bar);
  }
  if (horizontal) {
    SmartRef<ScrollBar> bar(new ScrollBar(view, Rect(r.left, r.bottom - kBarWidth, r.right, r.bottom), target, true));
    view->AddSubview(~bar);
  }
}

Rect ScrollBar::FrameRect(const Rect& frame, bool vertical, bool horizontal) {
  Rect content = frame;
  if (vertical) content.right -= kStrip;
  if (horizontal) content.bottom -= kStrip;
  return content;
}

void ScrollBar::GetSizeRange(Rect* range) { *range = Rect(48, 48, 0, 0); }

void ScrollBar::Clicked(std::int32_t code) {
  std::int32_t value = GetValue();
  switch (code) {
    case 3: value -= 1; break;
    case 4: value += 1; break;
    case 5: value -= pageSize; break;
    case 6: value += pageSize; break;
    default: break;
  }
  SetValue(value);
}

void ScrollBar::SetRange(std::int32_t min, std::int32_t max) {
  HWND bar = CHECK_NOT_NULL(GetOSControl())->window;
  if (min == max) {
    ShowWindow(bar, SW_HIDE);
    return;
  }
  ShowWindow(bar, SW_SHOW);
  Control::SetRange(min, max);
}

void ScrollBar::RangeChanged(const Range* range) {
  if (range->command != GetCommand()) return;
  const std::int32_t value = GetValue();
  // Already in view.
  if (range->first < value + pageSize && range->first + range->count > value) return;
  SetValue(range->first - (pageSize - 1) / 2);
  Validate();
}

void ScrollBar::TargetChanged(void* unused) {
  SmartRef<Controllable> model = GetTarget();
  pageSize = CHECK_NOT_NULL(~model)->GetPageSize(GetCommand());
  if (pageSize == 0) pageSize = 1;
  Control::TargetChanged(unused);
}
