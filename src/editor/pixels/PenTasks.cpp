#include "editor/pixels/PenTasks.h"

#include <algorithm>
#include <cstdlib>

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "graphics/bitmaps/OSBitMap.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"
#include "ui/shell/MessagePump.h"

BrushRing gBrushPoints;
bool gBrushIdle = true;

namespace {

// Edges included.
Point ClampInto(Point p, const Rect& r) {
  p.x = std::clamp(p.x, r.left, r.right);
  p.y = std::clamp(p.y, r.top, r.bottom);
  return p;
}

Rect Grow(const Rect& area, const Rect& by) { return area.IsEmpty() ? by : area.Union(by); }

// A port on the picture that takes window coordinates.
struct PicturePort {
  PicturePort(OffScreen* picture, const Rect& paneBounds)
      : port(picture, Rect(0, 0, paneBounds.Width(), paneBounds.Height())) {
    port.SetTransform(new Translation(-paneBounds.left, -paneBounds.top));
  }
  DisplayPort port;
};

}  // namespace

CPenTask::CPenTask(std::int32_t code, CPixPane* pane, OffScreen* picture, CTool* pen)
    : CPaintTask(code, pane, picture), pen(pen) {
  if (!pen) AssertFailed("~pen != NULL", __FILE__, __LINE__);
}

void CPenTask::Continue(Point&, Point&, Point&, std::int32_t) { MoveHook(); }

Rect CPenTask::Stamp(DisplayPort&, const Point&) { return Rect::emptyRect; }

CEraserTask::CEraserTask(CPixPane* pane, OffScreen* picture, CEraserTool* pen) : CPenTask(17, pane, picture, pen) {
  stageWithoutPicture = true;
}

void CEraserTask::Begin(Point& anchor, std::int32_t modifiers) {
  bounds = pane->GetBounds();
  pending = Rect::emptyRect;
  CPaintTask::Begin(anchor, modifiers);
}

void CEraserTask::Continue(Point& point, Point& last, Point& anchor, std::int32_t) {
  if (!Skipped(point, last, anchor)) {
    point = ClampInto(point, bounds);
    PicturePort picturePort(~picture, bounds);
    stampRect = Stamp(picturePort.port, point);
    pending = Grow(pending, stampRect);
  }
  if (pending.IsEmpty()) return;
  // The strip above the page belongs to the window's tool palette.
  pending.top = std::max(pending.top, 50);
  if (stageImage) {
    RestoreScreen(pending);
  } else {
    // Without an image of the stage the pane repaints the erased part itself.
    pane->InvalidateArea(Area(pending), Area::emptyArea());
  }
  pending = Rect::emptyRect;
}

Rect CEraserTask::Stamp(DisplayPort& port, const Point& point) {
  Point extent = CastSmart<CEraserTool>(~pen)->GetExtent();
  if (pane->IsMagnified(false)) extent = Point(extent.x / 4, extent.y / 4);
  Rect rect(point.x, point.y, point.x + extent.x, point.y + extent.y);
  rect.Offset(-(extent.x / 2), -(extent.y / 2));
  // Outlined in the fill colour, so that the whole extent goes.
  port.DrawRect(rect, gPaintBackground, gPaintBackground, 1);
  return rect;
}

CBrushTask::CBrushTask(CPixPane* pane, OffScreen* picture, CBrushTool* pen) : CPenTask(16, pane, picture, pen) {}

CBrushTool& CBrushTask::Brush() const { return *CastSmart<CBrushTool>(~pen); }

void CBrushTask::Begin(Point& anchor, std::int32_t modifiers) {
  gBrushIdle = false;
  gBrushPoints.Clear();
  bounds = pane->GetBounds();
  pending = Rect::emptyRect;
  Brush().PrepareStroke();
  CPaintTask::Begin(anchor, modifiers);
}

void CBrushTask::Queue(const Point& point, const Point& last) {
  const std::int32_t dx = std::abs(point.x - last.x);
  const std::int32_t dy = std::abs(point.y - last.y);
  const std::int32_t n = std::max<std::int32_t>(static_cast<std::int16_t>(std::max(dx, dy)), 1);
  const std::int32_t sx = point.x < last.x ? -1 : 1;
  const std::int32_t sy = point.y < last.y ? -1 : 1;
  Point at = last;
  std::int32_t ax = 0;
  std::int32_t ay = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    ax += dx;
    if (ax > n) {
      at.x += sx * (ax / n);
      ax %= n;
    }
    ay += dy;
    if (ay > n) {
      at.y += sy * (ay / n);
      ay %= n;
    }
    // A full ring is stamped before it takes more: no point overtakes one not yet stamped.
    if (gBrushPoints.IsFull()) Drain(false);
    gBrushPoints.Push(at);
  }
}

void CBrushTask::Continue(Point& point, Point& last, Point& anchor, std::int32_t) {
  if (!Skipped(point, last, anchor)) {
    const Rect pen = Brush().GetPenRect();
    point = ClampInto(point, bounds);
    if (point.x + pen.Width() > bounds.right) point.x = bounds.right - pen.Width();
    else if (point.x < bounds.left) point.x = bounds.left;
    if (point.y + pen.Height() > bounds.bottom) point.y = bounds.bottom - pen.Height();
    else if (point.y < bounds.top) point.y = bounds.top;
    Queue(point, last);
  }
  if (gBrushPoints.IsFull()) Drain(false);
  if (!HasMouseMoved() && !gBrushPoints.IsEmpty()) Drain(false);
  if (!HasMouseMoved()) ShowPending();
}

void CBrushTask::ShowPending() {
  if (pending.IsEmpty()) return;
  const SmartRef<DisplayDevice> device = GetPane();
  {
    DisplayPort port(CHECK_NOT_NULL(~device), pending);
    PortState moved(port, Translation(bounds.left, bounds.top));
    picture->GetBitMap()->DrawKeyed(port, 255);
  }
  pending = Rect::emptyRect;
}

void CBrushTask::Drain(bool force) {
  if (gBrushPoints.IsEmpty()) return;
  const bool full = gBrushPoints.IsFull();
  const bool mayStop = !full && !force;
  if (mayStop && HasMouseMoved()) return;
  PicturePort picturePort(~picture, bounds);
  if (mayStop && HasMouseMoved()) return;
  const Rect pen = Brush().GetPenRect();
  while (!gBrushPoints.IsEmpty()) {
    const Point p = gBrushPoints.Front();
    Brush().StampCached(picturePort.port, p.x, p.y);
    pending = Grow(pending, Rect(p.x, p.y, p.x + pen.Width(), p.y + pen.Height()));
    gBrushPoints.Pop();
    if (mayStop && HasMouseMoved()) break;
  }
}

void CBrushTask::End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) {
  CPaintTask::End(point, last, anchor, modifiers);
  Drain(true);
  ShowPending();
  Brush().ReleaseStroke();
  if (OSBitMap* backEnd = picture->GetBitMap()->GetBackEnd()) backEnd->SetCacheBits(false);
  gBrushIdle = true;
}

CPencilTask::CPencilTask(CPixPane* pane, OffScreen* picture, CTool* pen)
    : CPenTask(18, pane, picture, pen), color(gPaintForeground), pattern(standardPatterns[1]) {
  NOT_IMPLEMENTED();
}

Rect CPencilTask::Stamp(DisplayPort&, const Point&) {
  NOT_IMPLEMENTED();
  return Rect::emptyRect;
}
