#include "ui/views/View.h"

#include "core/Exception.h"
#include "graphics/DisplayDevice.h"
#include "graphics/OffScreen.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(View, "View", ImageChannel)

namespace {

// Where a new subview draws: the window's own frame when it shares it, else wherever the parent's
// children draw.
DisplayDevice* DeviceForSubview(View* parent, bool shareWindowFrame) {
  CHECK_NOT_NULL(parent);
  if (shareWindowFrame) return parent->GetWindowFrameOnly();
  return ~parent->GetBufferOrDevice();
}

}  // namespace

ViewIdleChore::ViewIdleChore(View* view, std::int32_t mode, std::uint32_t period)
    : Chore(period, true, 0), view(view), mode(mode) {}

void ViewIdleChore::Do() {
  if (mode == 2 || view->IsActive()) view->Idle();
}

View::View(View* parent, const Rect& frame, std::uint8_t anchoring, bool acceptsTarget, bool shareWindowFrame)
    : ImageChannelNode(DeviceForSubview(parent, shareWindowFrame)),
      flags(acceptsTarget ? kAcceptsTarget : 0),
      anchoring(anchoring),
      frame(frame),
      subviews(&View::classInfo),
      notifier(parent->notifier),
      windowFrame(parent->windowFrame) {}

View::View(DisplayDevice* windowFrame, WindowNotifier* notifier, bool acceptsTarget, bool shown, bool buffered)
    : ImageChannelNode(CHECK_NOT_NULL(windowFrame)),
      flags(static_cast<std::uint8_t>((acceptsTarget ? kAcceptsTarget : 0) | kParentVisible |
                                      (shown ? kVisible : kHidden))),
      anchoring(kAnchorAll),
      subviews(&View::classInfo),
      notifier(notifier),
      windowFrame(windowFrame) {
  windowFrame->GetBounds(&frame);
  if (buffered) buffer = new OffScreen(windowFrame, frame, false, true);
}

View::~View() = default;

View* View::SubviewAt(std::int32_t n) const { return static_cast<View*>(CastSmart(subviews.At(n), &View::classInfo)); }

// The tree.

void View::AddSubview(View* view) {
  if (view == nullptr) return;
  subviews.Append(view);
  if (IsActive()) view->SetParentActive(true);
  if (IsVisible()) view->SetParentVisible(true);
  SetTarget(view);
  if (view->IsVisible()) view->Invalidate(false);
}

void View::RemoveSubview(View* view) {
  // A view that is not a child here keeps its state.
  if (view == nullptr || subviews.IndexOf(view) == 0) return;
  SmartRef<View> keep(view);
  if (view->IsVisible()) view->Invalidate(false);
  view->SetTargetFlag(false);
  subviews->RemoveItem(view);
  if (IsActive()) view->SetParentActive(false);
  if (IsVisible()) view->SetParentVisible(false);
}

void View::RemoveAllSubviews() {
  Invalidate(false);
  for (std::int32_t n = subviews.NumItems(); n >= 1; --n) {
    View* child = SubviewAt(n);
    child->SetTargetFlag(false);
    if (IsActive()) child->SetParentActive(false);
    if (IsVisible()) child->SetParentVisible(false);
  }
  subviews->RemoveAll();
}

View* View::FindSubviewAt(std::int32_t x, std::int32_t y, bool makeTarget) {
  for (std::int32_t n = subviews.NumItems(); n >= 1; --n) {
    View* child = SubviewAt(n);
    if (!child->IsVisible() || !child->Contains(x, y)) continue;
    if (makeTarget && child->AcceptsTarget()) SetTarget(child);
    return child;
  }
  return nullptr;
}

// The target chain.

void View::SetTarget(View* child) { SetTargetInList(subviews, child); }

SmartRef<View> View::GetTarget() const {
  const std::int32_t n = IndexOfTarget(subviews);
  return n ? SubviewAt(n) : nullptr;
}

std::int32_t View::IndexOfTarget(const List& views) {
  for (std::int32_t n = 1; n <= views.NumItems(); ++n) {
    const auto* view = static_cast<View*>(CastSmart(views.At(n), &View::classInfo));
    if (view != nullptr && view->IsTarget()) return n;
  }
  return 0;
}

void View::SetTargetInList(const List& views, View* view) {
  if (view != nullptr && !view->AcceptsTarget()) return;
  for (std::int32_t n = 1; n <= views.NumItems(); ++n) {
    auto* other = static_cast<View*>(CastSmart(views.At(n), &View::classInfo));
    if (other != nullptr && other != view) other->SetTargetFlag(false);
  }
  if (view != nullptr && views.IndexOf(view) != 0) view->SetTargetFlag(true);
}

void View::SetAcceptsTarget(bool accepts) {
  SetFlag(kAcceptsTarget, accepts);
  if (!accepts) SetFlag(kTarget, false);
  SetActive(ShouldBeActive());
}

void View::SetTargetFlag(bool target) {
  if (target == IsTarget() || !AcceptsTarget()) return;
  SetFlag(kTarget, target);
  SetActive(ShouldBeActive());
}

void View::RefreshTarget() {
  if (!IsTarget()) return;
  SetTargetFlag(false);
  SetTargetFlag(true);
}

// Visibility and activity.

void View::Show(bool show) {
  if (IsHidden() == !show) return;
  if (IsParentVisible() && !show) Invalidate(false);
  SetFlag(kHidden, !show);
  SetVisible(IsParentVisible() && !IsHidden());
  if (IsParentVisible()) Invalidate(false);
}

void View::SetVisible(bool visible) {
  if (visible == IsVisible()) return;
  if (!visible) SetActive(false);
  SetFlag(kVisible, visible);
  for (std::int32_t n = 1; n <= subviews.NumItems(); ++n) SubviewAt(n)->SetParentVisible(visible);
  if (visible) SetActive(ShouldBeActive());
}

void View::SetParentVisible(bool visible) {
  if (visible == IsParentVisible()) return;
  SetFlag(kParentVisible, visible);
  SetVisible(visible && !IsHidden());
}

void View::SetActive(bool active) {
  if (active == IsActive()) return;
  if (active) {
    SetFlag(kActive, true);
    Activate(true);
  }
  for (std::int32_t n = 1; n <= subviews.NumItems(); ++n) SubviewAt(n)->SetParentActive(active);
  if (!active) {
    SetFlag(kActive, false);
    Activate(false);
  }
}

void View::SetParentActive(bool active) {
  if (active == IsParentActive()) return;
  SetFlag(kParentActive, active);
  SetActive(IsVisible() && active && (IsTarget() || !AcceptsTarget()));
}

void View::Activate(bool) {}

// Events.

bool View::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  View* child = FindSubviewAt(x, y, true);
  return child != nullptr && child->MouseDown(x, y, modifiers, clicks, window);
}

bool View::MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) {
  View* child = FindSubviewAt(x, y, false);
  return child != nullptr && child->MouseMoved(x, y, modifiers);
}

bool View::KeyDown(std::int32_t key, std::int32_t modifiers) {
  SmartRef<View> target = GetTarget();
  return target && target->KeyDown(key, modifiers);
}

void View::Idle() {
  if (SmartRef<View> target = GetTarget()) target->Idle();
}

void View::Copy(Clipboard*) {}

void View::Paste(Clipboard*, std::int32_t, std::int32_t, std::int32_t) {}

void View::Clear() {}

bool View::CanEdit(int) { return false; }

void View::SetIdleChore(std::int32_t mode, std::uint32_t period) {
  idleChore = mode == 0 ? nullptr : new ViewIdleChore(this, mode, period);
}

// The window's owners.

void View::NotifyChanged() { notifier->Changed(nullptr); }

void View::PostUndoable(Task* task) { notifier->AddUndoable(task); }

void View::OpenWindow(Window* window) { notifier->WindowOpened(window); }

void View::SendCommand(GenericSignal* signal) { notifier->DoCommand(signal); }

DisplayDevice* View::GetWindowFrame() const {
  GetDevice();
  return GetWindowFrameOnly();
}

DisplayDevice* View::GetWindowFrameOnly() const { return CHECK_NOT_NULL(~windowFrame); }

Point View::MapPointToWindow(View* other, const Point& point) const {
  if (other == nullptr) return point;
  auto* frame = CastSmart<WindowFrame>(GetWindowFrameOnly());
  auto* otherFrame = CastSmart<WindowFrame>(other->GetWindowFrameOnly());
  return frame && otherFrame ? frame->MapPoint(point, otherFrame) : point;
}
