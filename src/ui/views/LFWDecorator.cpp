#include "ui/views/LFWDecorator.h"

#include "ui/UiState.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

namespace {
// One direction of AlignRect: the rectangle's edges against the area's. Room is left before the first
// edge for a caption above a window's client area.
void AlignEdges(std::int32_t& first, std::int32_t& last, std::int32_t areaFirst, std::int32_t areaLast, int mode,
                int room) {
  std::int32_t delta = 0;
  switch (mode) {
    case LFWDecorator::kCentre: delta = (areaFirst + areaLast) / 2 - (first + last) / 2; break;
    case LFWDecorator::kTopOrLeft: delta = areaFirst + room - first; break;
    case LFWDecorator::kBottomOrRight: delta = areaLast - last; break;
    case LFWDecorator::kFill:
      first = areaFirst;
      last = areaLast;
      break;
    default: break;
  }
  first += delta;
  last += delta;
}
}  // namespace

namespace {
constexpr SourceName kSource("LFWDecorator");
}  // namespace

SMART_COPY_CHECK_AT(LFWDecorator, kSource.Line(56));
SMART_DEFINE(LFWDecorator, "LFWDecorator", nullptr, nullptr, SmartImplementation)

LFWDecorator& LFWDecorator::Get() {
  SmartRef<LFWDecorator>& decorator = TheUiState().decorator;
  if (!decorator) {
    decorator = new LFWDecorator;
    const Rect client = GetMainClientRect();
    decorator->SetArea(client.left + 2, client.top + 2, client.right - 2, client.bottom - 2);
  }
  return *decorator;
}

int LFWDecorator::CaptionHeight() {
  int& height = TheUiState().captionHeight;
  if (height < 0) height = FrameKindCaptionHeight(kFrameNormal);
  return height;
}

int LFWDecorator::SmallCaptionHeight() {
  int& height = TheUiState().smallCaptionHeight;
  if (height < 0) height = FrameKindCaptionHeight(kFrameFloating);
  return height;
}

void LFWDecorator::SetArea(int left, int top, int right, int bottom) {
  area = Rect(left, top, right, bottom);
  ResetCascade();
}

void LFWDecorator::ResetCascade() { cascadePoint = Point(area.left, area.top + CaptionHeight()); }

void LFWDecorator::AlignRect(Rect& rect, int verticalMode, int horizontalMode, bool smallCaption) const {
  const int caption = smallCaption ? SmallCaptionHeight() : CaptionHeight();
  AlignEdges(rect.top, rect.bottom, area.top, area.bottom, verticalMode, caption);
  AlignEdges(rect.left, rect.right, area.left, area.right, horizontalMode, 0);
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
