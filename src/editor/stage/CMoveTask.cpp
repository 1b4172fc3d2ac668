#include "editor/stage/CMoveTask.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/Exception.h"
#include "editor/stage/CHAPane.h"
#include "engine/geometry/CXform.h"
#include "engine/media/CStamp.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "platform/kernel/System.h"
#include "ui/shell/MessagePump.h"

SMART_DEFINE_ABSTRACT(CMoveTask, "CMoveTask", CMouseTask)

namespace {

int Sign(std::int32_t v) { return (v > 0) - (v < 0); }

Rect BoundsAt(const CSprite& sprite, std::int16_t frame, Point* origin = nullptr) {
  Rect r;
  sprite.GetFrameGeometry(frame, &r, origin);
  return r;
}

}  // namespace

CMoveTask::CMoveTask(CHAPane* pane, DisplayDevice*, std::int16_t spriteIndex, bool recordFrames, std::int32_t code)
    : CMouseTask(code, pane), pane(pane) {
  movie = pane->GetGroup();
  if (!movie) AssertFailed("movie.Valid()", __FILE__, __LINE__);
  sprite = CHECK_NOT_NULL(movie->GetSprite(spriteIndex));
  sprites.Append(~sprite);
  frame = pane->GetPlayer()->GetCurrentFrame();
  if (recordFrames) flags |= kRecordFrames;
}

CMoveTask::CMoveTask(const CMoveTask& other)
    : Smart(), CMouseTask(other), startRect(other.startRect), rect(other.rect), position(other.position),
      pane(other.pane), movie(other.movie), sprite(other.sprite), frame(other.frame), next(other.next),
      flags(other.flags), frameCount(other.frameCount), lastTick(other.lastTick) {
  sprites.AppendList(other.sprites);
}

CMoveTask::~CMoveTask() = default;

bool CMoveTask::CanCopyFrom(Smart* source) { return IsMember<CMoveTask>(source); }

void CMoveTask::CopyFrom(Smart* source) {
  if (!IsMember<CMoveTask>(source)) AssertFailed("castPtr", __FILE__, __LINE__);
  NOT_IMPLEMENTED();
}

void CMoveTask::SetSprites(const List& list) {
  sprites->RemoveAll();
  for (std::int32_t i = 1; i <= list.NumItems(); ++i) sprites.Append(list.At(i));
}

bool CMoveTask::HasDisplayMode(CMovie* shown) {
  return shown->ToggleMode1(false) || shown->ToggleMode4(false) || shown->ToggleMode16(false);
}

// ---- The gesture ----

void CMoveTask::Begin(Point&, std::int32_t) {
  lastTick = GetTickCount();
  Area area = PrepareFrame(Rect::emptyRect);
  if (!capturedImage) CaptureImage();
  {
    DisplayPort port(~GetPane(), pane->GetBounds());
    DrawMoved(port, Rect::emptyRect, rect);
    DrawOutlines(port);
  }
  area.Union(Area(rect));
  const SmartRef<Area> visible = area.Intersect(Area(pane->GetBounds()));
  RefreshArea(*visible);
  PumpPaintMessages();
}

void CMoveTask::Continue(Point& current, Point& last, Point& anchor, std::int32_t modifiers) {
  MoveHook();
  if (modifiers & kModifierShift) Constrain(current, anchor, modifiers);
  const Rect bounds = pane->GetBounds();
  // The pointer stays one pixel inside the stage, so that a sprite can never be dropped off it.
  if (current.x <= bounds.left) current.x = bounds.left + 1;
  if (current.x >= bounds.right) current.x = bounds.right - 1;
  if (current.y <= bounds.top) current.y = bounds.top + 1;
  if (current.y >= bounds.bottom) current.y = bounds.bottom - 1;
  const bool moved = current != last;
  const std::int16_t f = NextFrame();
  if (f == frame) {
    if (!moved) return;
    DisplayPort port(~GetPane(), bounds);
    DrawOutlines(port);
    const Rect old = rect;
    MoveBy(current, modifiers);
    DrawMoved(port, old, rect);
    DrawOutlines(port);
    Area changed(rect);
    changed.Union(Area(old));
    RefreshArea(changed);
    return;
  }
  next = CastSmart<CMoveTask>(Clone());
  pane->GetPlayer()->ShowFrame(f);
  frame = f;
  Area area = PrepareFrame(rect);
  MoveBy(current, modifiers);
  {
    DisplayPort port(~GetPane(), bounds);
    DrawMoved(port, Rect::emptyRect, rect);
    DrawOutlines(port);
  }
  area.Union(Area(rect));
  RefreshArea(area);
}

std::int16_t CMoveTask::NextFrame() {
  std::int32_t f = frame;
  if (RecordsFrames()) {
    const DWORD rate = static_cast<DWORD>(std::max<std::int16_t>(pane->GetShow()->GetFrameRate(), 1));
    const DWORD now = GetTickCount();
    if (now - lastTick >= 120 / rate) {
      lastTick = now;
      ++f;
    }
    return static_cast<std::int16_t>(std::max(f, 0));
  }
  f = std::max(f, 0);
  if (const std::int16_t n = movie->GetFrameCount(); f >= n)
    movie->InsertFrames(n, static_cast<std::int16_t>(f - n + 1), false, true);
  return static_cast<std::int16_t>(f);
}

Area CMoveTask::PrepareFrame(const Rect& given) {
  const auto probe = std::min<std::int16_t>(frame, static_cast<std::int16_t>(movie->GetFrameCount() - 1));
  frameCount = 1;
  const bool visible = sprite->IsVisibleInRange(frame, 1);
  flags = static_cast<std::uint8_t>(visible ? flags | kVisibleAtStart : flags & ~kVisibleAtStart);
  if (visible) {
    Rect bounds;
    sprite->GetFrameGeometry(frame, &bounds, &position);
    CaptureImage();
    rect = bounds;
    startRect = bounds;
  } else {
    startRect = rect;
  }
  Area area(given.IsEmpty() ? rect : given);
  if (probe == frame) {
    const SmartRef<CDelta> delta = pane->GetShow()->GetDelta(frame, true);
    const SmartRef<Area> changed = delta ? delta->GetChangedArea() : nullptr;
    if (changed) area.Union(*changed);
    else area = Area(pane->GetBounds());
  }
  DisplayPort port(~GetPane(), pane->GetBounds());
  PortState clipped(port, area);
  List moving(&CSprite::classInfo);
  moving.Append(~sprite);
  pane->DrawStage(port, frame, &moving);
  return area;
}

void CMoveTask::MoveBy(const Point& point, std::int32_t) {
  rect.Offset(point.x - position.x, point.y - position.y);
  position = point;
}

void CMoveTask::Constrain(Point& point, const Point& anchor, std::int32_t modifiers) {
  const std::int32_t dx = point.x - anchor.x, dy = point.y - anchor.y;
  if (modifiers & kModifierControl) {
    if (std::abs(dx) < std::abs(dy)) point.x = anchor.x + std::abs(dy) * Sign(dx);
    else point.y = anchor.y + std::abs(dx) * Sign(dy);
    return;
  }
  if (std::abs(dx) < std::abs(dy)) point.x = anchor.x;
  else point.y = anchor.y;
}

void CMoveTask::CaptureImage() {
  DisplayPort port(~GetPane(), pane->GetBounds());
  const SmartRef<CXform> xform = sprite->GetXformAtFrame(frame);
  capturedImage = sprite->GetMovie()->GetFrameImage(port, ~xform, sprite->GetImageIndex(frame), Color(0), true);
}

// ---- Drawing ----

void CMoveTask::DrawMoved(DisplayPort& port, const Rect& oldRect, const Rect& newRect) {
  RestoreBackground(port, oldRect, newRect);
  std::int16_t shown = frame;
  while (shown >= 0 && !sprite->IsVisibleInRange(shown, 1)) --shown;
  if (shown < 0) return;
  PortState clipped(port, newRect.Intersect(pane->GetBounds()));
  CMovie* drawn = sprite->GetMovie();
  Rect imageBounds;
  if (capturedImage) capturedImage->GetBounds(&imageBounds);
  if (capturedImage && !imageBounds.IsEmpty()) {
    const int mode = IsMember<CMovieGroup>(drawn) ? 0 : HasDisplayMode(drawn) ? kStampKeyed : 0;
    capturedImage->DrawScaled(port, newRect, mode);
    return;
  }
  const SmartRef<CXform> onto = new CXform(BoundsAt(*sprite, shown), newRect);
  sprite->Draw(port, onto, shown, pane->GetShow()->GetColour());
}

void CMoveTask::RestoreBackground(DisplayPort& port, const Rect& oldRect, const Rect& newRect) {
  if (oldRect == newRect || oldRect.IsEmpty()) return;
  Area area(oldRect);
  // An opaque sprite covers its new place: only what it uncovered needs the page again.
  if (!HasDisplayMode(sprite->GetMovie())) area.Subtract(Area(newRect));
  PortState clipped(port, area);
  List moving(&CSprite::classInfo);
  moving.Append(~sprite);
  pane->DrawStage(port, frame, &moving);
}

void CMoveTask::DrawOutlines(DisplayPort& port) {
  if (sprites.NumItems() < 2) return;
  PortState clipped(port, rect);
  ColorPaint black(standardColors[1]);
  for (std::int32_t i = sprites.NumItems(); i >= 1; --i) {
    auto* other = CastSmart<CSprite>(sprites.At(i));
    if (other == nullptr || other == ~sprite) continue;
    Point o;
    Rect r = BoundsAt(*other, frame, &o);
    if (r.IsEmpty()) continue;
    r.Offset(position.x - o.x, position.y - o.y);
    r.Map(startRect, rect);
    r.Offset(o.x - position.x, o.y - position.y);
    PortState outline(port, r);
    port.DrawRect(r, *noPaint, black);
  }
}

void CMoveTask::RefreshArea(const Area& area) { pane->RepaintArea(area); }

// ---- The release and the undo ----

void CMoveTask::End(Point& current, Point&, Point& anchor, std::int32_t) {
  {
    DisplayPort port(~GetPane(), pane->GetBounds());
    DrawOutlines(port);
  }
  capturedImage = nullptr;
  std::int16_t first, last;
  pane->GetFrameRange(&first, &last, false);
  if (!next && last > first) {
    frame = first;
    frameCount = static_cast<std::int16_t>(last - first + 1);
  }
  ApplyChain();
  if (next) pane->GetPlayer()->ShowFrame(frame);
  pane->Invalidate(false);
  if (next || current != anchor) pane->ContentChanged(this);
  pane->FinishGesture();
}

void CMoveTask::ApplyChain() {
  std::vector<CMoveTask*> records;
  for (CMoveTask* record = this; record != nullptr; record = ~record->next) {
    if (record->flags & kVisibleAtStart) {
      record->startRect.Offset(-record->position.x, -record->position.y);
      record->rect.Offset(-record->position.x, -record->position.y);
    } else {
      record->startRect = Rect::emptyRect;
    }
    records.push_back(record);
  }
  for (auto record = records.rbegin(); record != records.rend(); ++record) (*record)->Do();
}

void CMoveTask::Do() {
  for (std::int32_t i = sprites.NumItems(); i >= 1; --i) ApplyToSprite(CHECK_NOT_NULL(CastSmart<CSprite>(sprites.At(i))));
}

void CMoveTask::ApplyToSprite(CSprite* target) {
  if (frameCount < 2) {
    ApplyToFrame(target, frame, startRect, rect);
    return;
  }
  for (std::int16_t f = frame; f < frame + frameCount; ++f) {
    if (!target->IsVisibleInRange(f, 1)) continue;
    const bool key = target->IsKeyFrame(f);
    ApplyToFrame(target, f, startRect, rect);
    target->SetKeyFrame(f, key);
  }
}

void CMoveTask::ApplyToFrame(CSprite* target, std::int16_t f, const Rect& from, const Rect& to) {
  if (from == to) return;
  if (const Rect before = BoundsAt(*target, f); !before.IsEmpty()) movie->Changed(~movie, before, f);
  if (to.IsEmpty()) {
    target->HideFrames(f, 1);
    return;
  }
  if (const std::int16_t n = movie->GetFrameCount(); f >= n)
    movie->InsertFrames(n, static_cast<std::int16_t>(f - n + 1), false, true);
  if (!target->IsVisibleInRange(f, 1)) target->FitFrameToRect(f, nullptr, nullptr);
  Rect placed = to;
  if (!from.IsEmpty()) {
    Point o;
    placed = BoundsAt(*target, f, &o);
    if (placed.IsEmpty()) return;
    placed.Offset(-o.x, -o.y);
    placed.Map(from, to);
    placed.Offset(o.x, o.y);
  }
  FitToRect(target, f, placed);
  if (const Rect after = BoundsAt(*target, f); !after.IsEmpty()) movie->Changed(~movie, after, f);
}

void CMoveTask::FitToRect(CSprite* target, std::int16_t f, const Rect& to) { target->FitFrameToRect(f, &to, nullptr); }

void CMoveTask::UndoChain() {
  for (CMoveTask* record = this; record != nullptr; record = ~record->next) {
    std::swap(record->startRect, record->rect);
    record->Do();
  }
}

void CMoveTask::Undo() {
  // Every frame of the drag goes back first; the selection then follows the oldest record's frame.
  pane->SelectSpriteAt(-1, false);
  UndoChain();
  const CMoveTask* oldest = this;
  while (oldest->next) oldest = ~oldest->next;
  pane->SetFrameRange(oldest->frame, oldest->frame);
}

void CMoveTask::Redo() {
  Undo();
  pane->SetFrameRange(frame, frame);
}
