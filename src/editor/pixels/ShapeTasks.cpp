#include "editor/pixels/ShapeTasks.h"

#include <algorithm>
#include <cstdlib>

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/KidResources.h"
#include "editor/pixels/CPixPane.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Paint.h"
#include "graphics/Transform.h"

SMART_DEFINE_ABSTRACT(CShapeTool, "CShapeTool", CTool)

std::int16_t gLineWidth = 0;

namespace {

constexpr std::int16_t kLineWidths[6] = {1, 2, 4, 8, 12, 16};

PatternPaint PaintStatePattern() { return PatternPaint(gPaintForeground, gPaintSecondColor, gPaintPattern); }

Rect Corners(const Point& a, const Point& b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool ShiftSays(bool constrained, std::int32_t modifiers) { return constrained != ((modifiers & 1) != 0); }

}  // namespace

CShapeTool::CShapeTool(std::int32_t id, SoundResource* sound) : CTool(id, sound, true, nullptr) {}

void CShapeTool::SetChoice(std::int16_t, std::int16_t variant) {
  if (variant < 1 || variant > 18) return;
  int v = variant - 1;
  flags &= static_cast<std::uint8_t>(~(kConstrained | kFilled | kThick));
  if (v >= 9) {
    flags |= kConstrained;
    v -= 9;
  }
  shape = static_cast<std::int16_t>(v / 3);
  if (v % 3 == 2) flags |= kFilled;
  if (v % 3 == 1) flags |= kThick;
}

std::int16_t CShapeTool::GetChoice(std::int16_t) {
  return static_cast<std::int16_t>(3 * shape + ((flags & kThick) ? 1 : 0) + ((flags & kFilled) ? 2 : 0) +
                                   (IsConstrained() ? 9 : 0) + 1);
}

bool CShapeTool::ToggleConstrained(bool toggle) {
  if (toggle) flags ^= kConstrained;
  return IsConstrained();
}

int CShapeTool::PenWidth() const { return (flags & kThick) ? std::max<int>(gLineWidth, 3) : 1; }

void CShapeTool::DrawSample(DisplayPort& port, const Rect& cell) {
  Rect rect = cell;
  rect.Inset(4);
  if (!IsConstrained()) {
    rect.left += 4;
    rect.right -= 4;
  }
  const std::int16_t saved = gLineWidth;
  if (flags & kThick) gLineWidth = 3;
  Rect drawn;
  DrawShape(port, &drawn, rect.BottomRight(), rect.TopLeft(), 0);
  gLineWidth = saved;
}

void CShapeTool::ConstrainRect(Point& point, const Point&, const Point& anchor, std::int32_t modifiers) {
  if (!ShiftSays(IsConstrained(), modifiers)) return;
  const std::int32_t d = static_cast<std::int16_t>(std::min(std::abs(point.x - anchor.x), std::abs(point.y - anchor.y)));
  point.x = point.x > anchor.x ? anchor.x + d : anchor.x - d;
  point.y = point.y > anchor.y ? anchor.y + d : anchor.y - d;
}

void CShapeTool::DrawShape(DisplayPort& port, Rect* rect, const Point& a, const Point& b, std::int32_t) {
  *rect = Corners(a, b);
  PatternPaint pattern = PaintStatePattern();
  ColorPaint plain(gPaintForeground);
  const bool filled = flags & kFilled;
  Paint& paint = (filled || (flags & kThick)) ? static_cast<Paint&>(pattern) : plain;
  Paint& fill = filled ? paint : *noPaint;
  Paint& line = filled ? *noPaint : paint;
  const int width = filled ? 1 : PenWidth();
  switch (shape) {
    case kRectangle:
      port.DrawRect(*rect, fill, line, width);
      break;
    case kRoundRect: {
      const std::int32_t c = std::min(std::max(rect->Width() / 2, 10), std::max(rect->Height() / 2, 10));
      port.DrawRoundRect(*rect, c, c, fill, line, width);
      break;
    }
    default:
      port.DrawEllipse(*rect, fill, line, width);
  }
}

CLineTool::CLineTool() : CShapeTool(106, KidResources::GetSound(35)) {}

void CLineTool::SetChoice(std::int16_t, std::int16_t index) {
  if (index >= 1 && index <= 6) gLineWidth = kLineWidths[index - 1];
}

std::int16_t CLineTool::GetChoice(std::int16_t) {
  for (std::int16_t n = 1; n <= 5; ++n)
    if (kLineWidths[n - 1] >= gLineWidth) return n;
  return 6;
}

void CLineTool::DrawSample(DisplayPort& port, const Rect& cell) {
  Rect rect = cell;
  rect.Inset(4);
  const std::int32_t y = (rect.top + rect.bottom - gLineWidth) / 2;
  DrawShape(port, &rect, {rect.right - gLineWidth, y}, {rect.left, y}, 0);
}

Point CLineTool::SnapEnd(const Point& a, const Point& b) {
  const std::int32_t dx = static_cast<std::int16_t>(std::abs(a.x - b.x));
  const std::int32_t dy = static_cast<std::int16_t>(std::abs(a.y - b.y));
  if (-(dx / 3) < dx - dy && dx - dy < dx / 3)
    return {b.x + (a.x < b.x ? -dx : dx), b.y + (a.y < b.y ? -dx : dx)};
  return dx > dy ? Point(a.x, b.y) : Point(b.x, a.y);
}

void CLineTool::DrawShape(DisplayPort& port, Rect*, const Point& a, const Point& b, std::int32_t modifiers) {
  PatternPaint paint = PaintStatePattern();
  const int width = gLineWidth == 0 ? 1 : gLineWidth;
  const Point end = ShiftSays(IsConstrained(), modifiers) ? SnapEnd(a, b) : a;
  port.DrawLine(b, end, paint, width);
}

CShapeTask::CShapeTask(CPixPane* pane, OffScreen* picture, CShapeTool* tool)
    : CPaintTask(16, pane, picture), tool(tool) {
  if (!tool) AssertFailed("~tool != NULL", __FILE__, __LINE__);
}

void CShapeTask::Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) {
  tool->ConstrainRect(point, last, anchor, modifiers);
  point.Constrain(pane->GetBounds());
  if (point == last) return;
  const Rect bounds = pane->GetBounds();
  if (stageImage) RestoreScreen(bounds);
  {
    const SmartRef<DisplayDevice> device = GetPane();
    DisplayPort port(CHECK_NOT_NULL(~device), bounds);
    Rect rect;
    tool->DrawShape(port, &rect, pane->ViewToPicture(point.x, point.y), pane->ViewToPicture(anchor.x, anchor.y),
                    modifiers);
  }
  if (!pane->CanDrawDirect(false)) pane->Invalidate(false);
}

void CShapeTask::End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) {
  CPaintTask::End(point, last, anchor, modifiers);
  if (!pane->CanDrawDirect(false)) return;
  TakeSnapshot();
  const Rect bounds = pane->GetBounds();
  Rect device;
  picture->GetBounds(&device);
  DisplayPort port(~picture, device);
  port.SetTransform(new Translation(-bounds.left, -bounds.top));
  Rect rect;
  tool->DrawShape(port, &rect, point, anchor, modifiers);
  pane->Invalidate(false);
}
