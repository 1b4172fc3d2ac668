#include "editor/stage/CScaleTask.h"

#include <cmath>
#include <cstdlib>

#include "core/Exception.h"
#include "editor/stage/CHAPane.h"
#include "engine/kinds/CMovieText.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"

SMART_DEFINE_ABSTRACT(CScaleTask, "CScaleTask", CMoveTask)

namespace {

// Halves away from zero, as the program rounds every coordinate.
std::int32_t Nearest(double v) { return static_cast<std::int32_t>(std::lround(v)); }

int Sign(std::int32_t v) { return (v > 0) - (v < 0); }

}  // namespace

CScaleTask::CScaleTask(CHAPane* pane, DisplayDevice* device, std::int16_t spriteIndex, bool recordFrames)
    : CMoveTask(pane, device, spriteIndex, recordFrames, kScaleCode) {}

bool CScaleTask::CanCopyFrom(Smart* source) { return IsMember<CScaleTask>(source); }

void CScaleTask::CopyFrom(Smart* source) {
  auto* other = CastSmart<CScaleTask>(source);
  if (other == nullptr) AssertFailed("castPtr", __FILE__, __LINE__);
  CMoveTask::CopyFrom(source);
  frameRect = other->frameRect;
  scaleFlags = other->scaleFlags;
  dirX = other->dirX;
  dirY = other->dirY;
  savedOrigin = other->savedOrigin;
  savedFrame = other->savedFrame;
  startBox = other->startBox;
  beginRect = other->beginRect;
  fixedPoint = other->fixedPoint;
}

void CScaleTask::Begin(Point& anchor, std::int32_t modifiers) {
  scaleFlags = (modifiers & kModifierFreeCorner) ? 0 : kFixedCorner;
  if (!RecordsFrames() && IsMember<CMovieText>(sprite->GetMovie()) && !(modifiers & kModifierStretchText))
    scaleFlags |= kTextBox;
  Rect b;
  Point o;
  sprite->GetFrameGeometry(frame, &b, &o);
  const Point c = (scaleFlags & kFixedCorner) ? b.Center() : o;
  dirX = anchor.x < c.x ? -1 : 1;
  dirY = c.y < anchor.y ? 1 : -1;
  if (scaleFlags & kFixedCorner) {
    savedOrigin = o;
    savedFrame = frame;
    // The origin sits at the opposite corner while the drag lasts: it is the point the scaling is about.
    const Point corner(dirX < 0 ? b.right : b.left, dirY < 0 ? b.bottom : b.top);
    sprite->FitFrameToRect(frame, nullptr, &corner);
  }
  sprite->GetFrameGeometry(frame, &beginRect, &fixedPoint);
  CMoveTask::Begin(anchor, modifiers);
  scaleFlags |= kBegun;
  beginRect = startBox;
  fixedPoint = position;
}

Area CScaleTask::PrepareFrame(const Rect& given) {
  Area area = CMoveTask::PrepareFrame(given);
  if (sprite->IsVisibleInRange(frame, 1)) {
    Point origin;
    sprite->GetFrameMapping(frame, &frameRect, &origin);
    frameRect.Offset(-origin.x, -origin.y);
    startBox = beginRect;
    startBox.Offset(position.x - fixedPoint.x, position.y - fixedPoint.y);
  }
  scaleFlags &= static_cast<std::uint8_t>(~kBegun);
  return area;
}

Rect CScaleTask::ScaleRect(std::int32_t dirX, std::int32_t dirY, const Point& pointer, const Point& fixed,
                           const Point& place, const Rect& from, const Rect& box) {
  Rect f = from;
  f.Offset(-fixed.x, -fixed.y);
  Rect q = box;
  q.Offset(-place.x, -place.y);
  const std::int32_t dx = pointer.x - fixed.x, dy = pointer.y - fixed.y;
  // A grabbed side lying on the fixed point has no proportion to keep: the other side stays.
  const auto scaled = [](std::int32_t side, std::int32_t d, std::int32_t grabbed, std::int32_t kept) {
    return grabbed == 0 ? kept : Nearest(static_cast<double>(side) * d / grabbed);
  };
  Rect to;
  if (dirX <= 0) {
    to.left = dx;
    to.right = scaled(f.right, dx, f.left, f.right);
  } else {
    to.right = dx;
    to.left = scaled(f.left, dx, f.right, f.left);
  }
  if (dirY <= 0) {
    to.top = dy;
    to.bottom = scaled(f.bottom, dy, f.top, f.bottom);
  } else {
    to.bottom = dy;
    to.top = scaled(f.top, dy, f.bottom, f.top);
  }
  if (!f.IsEmpty()) q.Map(f, to);
  q.Offset(place.x, place.y);
  return q;
}

void CScaleTask::MoveBy(const Point& point, std::int32_t) {
  Point v = point - fixedPoint;
  // The grabbed sides stay at least 4 pixels beyond the fixed point, each on its own side.
  if (v.x * Sign(dirX) < 4) v.x = 4 * Sign(dirX);
  if (v.y * Sign(dirY) < 4) v.y = 4 * Sign(dirY);
  Rect r = ScaleRect(dirX, dirY, fixedPoint + v, fixedPoint, position, beginRect, startBox);
  if (IsTextBox()) {
    r.Offset(-position.x, -position.y);
    FitToRect(~sprite, frame, r);
    sprite->GetFrameGeometry(frame, &r, nullptr);
  }
  rect = r;
}

void CScaleTask::Constrain(Point& point, const Point&, std::int32_t) {
  Point v = point - fixedPoint;
  const std::int32_t a = dirX <= 0 ? frameRect.left : frameRect.right;
  const std::int32_t b = dirY <= 0 ? frameRect.top : frameRect.bottom;
  // A frame without height has no proportions to keep.
  if (b == 0) return;
  const double ratio = static_cast<double>(a) / b;
  const std::int32_t c = Nearest(v.y * ratio);
  if (std::abs(v.x) < std::abs(c)) {
    if (RecordsFrames() || std::abs(v.y - b) >= 16) v.x = c;
    else v = Point(a, b);
  } else {
    if (RecordsFrames() || std::abs(v.x - a) >= 16) v.y = ratio == 0 ? v.y : Nearest(v.x / ratio);
    else v = Point(a, b);
  }
  point = v + fixedPoint;
}

void CScaleTask::FitToRect(CSprite* target, std::int16_t f, const Rect& to) {
  auto* text = CastSmart<CMovieText>(target->GetMovie());
  if (!IsTextBox() || text == nullptr) {
    CMoveTask::FitToRect(target, f, to);
    return;
  }
  const std::int16_t image = target->GetImageIndex(f);
  Rect r = to;
  r.Offset(position.x, position.y);
  Rect shown, own;
  target->GetFrameGeometry(f, &shown, nullptr);
  text->GetFrameBounds(&own, image);
  if (!shown.IsEmpty() && !own.IsEmpty()) r.Map(shown, own);
  // The text keeps its top line where it is.
  r.Offset(0, own.top - r.top);
  text->Changed(text, Rect::emptyRect, image);
  text->UpdateFrameBounds(r, image);
  text->Changed(text, Rect::emptyRect, image);
}

void CScaleTask::ApplyToFrame(CSprite* target, std::int16_t f, const Rect& from, const Rect& to) {
  CMoveTask::ApplyToFrame(target, f, IsTextBox() ? Rect::emptyRect : from, to);
}

void CScaleTask::DrawMoved(DisplayPort& port, const Rect& oldRect, const Rect& newRect) {
  if (RecordsFrames()) return;
  if (!IsTextBox()) {
    CMoveTask::DrawMoved(port, oldRect, newRect);
    return;
  }
  RestoreBackground(port, oldRect, newRect);
  sprite->Draw(port, nullptr, frame, pane->GetShow()->GetColour());
}

void CScaleTask::CaptureImage() {
  if (!RecordsFrames()) CMoveTask::CaptureImage();
}

void CScaleTask::End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) {
  CMoveTask::End(point, last, anchor, modifiers);
  if (!(scaleFlags & kFixedCorner)) return;
  Rect b;
  Point o;
  sprite->GetFrameGeometry(savedFrame, &b, &o);
  // The origin goes back to where it lay in the sprite, now in the scaled rectangle.
  Point origin = savedOrigin;
  origin.Map(beginRect, b);
  sprite->FitFrameToRect(savedFrame, nullptr, &origin);
  savedOrigin = o;
}

void CScaleTask::Undo() {
  if (!(scaleFlags & kFixedCorner) || next) {
    CMoveTask::Undo();
    return;
  }
  Point o;
  sprite->GetFrameGeometry(savedFrame, nullptr, &o);
  sprite->FitFrameToRect(savedFrame, nullptr, &savedOrigin);
  CMoveTask::Undo();
  sprite->FitFrameToRect(savedFrame, nullptr, &o);
}
