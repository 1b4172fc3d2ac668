#include "ui/LFWDecorator.h"

#include "ui/Window.h"
#include "ui/WindowFrame.h"

namespace {
SmartRef<LFWDecorator> gDecorator;
int gCaptionHeight = -1;
int gSmallCaptionHeight = -1;
}  // namespace

SMART_DEFINE(LFWDecorator, "LFWDecorator", nullptr, nullptr, SmartImplementation)

LFWDecorator& LFWDecorator::Get() {
  if (!gDecorator) {
    gDecorator = new LFWDecorator;
    const Rect client = GetMainClientRect();
    gDecorator->SetArea(client.left + 2, client.top + 2, client.right - 2, client.bottom - 2);
  }
  return *gDecorator;
}

int LFWDecorator::CaptionHeight() {
  if (gCaptionHeight < 0) gCaptionHeight = FrameKindCaptionHeight(kFrameNormal);
  return gCaptionHeight;
}

int LFWDecorator::SmallCaptionHeight() {
  if (gSmallCaptionHeight < 0) gSmallCaptionHeight = FrameKindCaptionHeight(kFrameFloating);
  return gSmallCaptionHeight;
}

void LFWDecorator::SetArea(int left, int top, int right, int bottom) {
  area = Rect(left, top, right, bottom);
  ResetCascade();
}

void LFWDecorator::ResetCascade() { cascadePoint = Point(area.left, area.top + CaptionHeight()); }

void LFWDecorator::AlignRect(Rect& rect, int verticalMode, int horizontalMode, bool smallCaption) const {
  int dx = 0;
  int dy = 0;
  switch (verticalMode) {
    case kCentre: dy = (area.top + area.bottom) / 2 - (rect.top + rect.bottom) / 2; break;
    case kTopOrLeft: dy = area.top + (smallCaption ? SmallCaptionHeight() : CaptionHeight()) - rect.top; break;
    case kBottomOrRight: dy = area.bottom - rect.bottom; break;
    case kFill:
      rect.top = area.top;
      rect.bottom = area.bottom;
      break;
    default: break;
  }
  switch (horizontalMode) {
    case kCentre: dx = (area.left + area.right) / 2 - (rect.left + rect.right) / 2; break;
    case kTopOrLeft: dx = area.left - rect.left; break;
    case kBottomOrRight: dx = area.right - rect.right; break;
    case kFill:
      rect.left = area.left;
      rect.right = area.right;
      break;
    default: break;
  }
  rect = Rect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}

void LFWDecorator::Place(Window& window, int verticalMode, int horizontalMode) {
  Rect rect = window.GetBounds();
  AlignRect(rect, verticalMode, horizontalMode, true);
  SetWindowBounds(window, rect.left, rect.top, rect.right, rect.bottom, 0);
}

void LFWDecorator::Cascade(Window& window) {
  const Point size = window.GetBounds().Size();
  SetWindowBounds(window, cascadePoint.x, cascadePoint.y, cascadePoint.x + size.x, cascadePoint.y + size.y, 0);
}

void LFWDecorator::SetWindowBounds(Window& window, int left, int top, int right, int bottom, int) {
  window.SetGlobalBounds(Rect(left, top, right, bottom));
}

namespace lfwdecorator_testing {
void Forget() { gDecorator = nullptr; }
}  // namespace lfwdecorator_testing
