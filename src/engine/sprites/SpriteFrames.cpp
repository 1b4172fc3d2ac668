// What a sprite shows at a page frame: which image, where, under which transform, and whether at all.
#include "engine/sprites/CSprite.h"

#include <algorithm>

bool CSprite::IsCycling() const { return movie->ToggleFlag8(false); }

std::int16_t CSprite::GetImageIndex(std::int16_t frame) const {
  const auto r = static_cast<std::int16_t>(frame - startFrame);
  if (r < 0) return 0;
  const std::int16_t images = movie->GetFrameCount();
  if (IsCycling()) return static_cast<std::int16_t>(r % images);
  return r < images ? r : static_cast<std::int16_t>(images - 1);
}

Rect CSprite::ImageBounds(std::int16_t frame) const {
  Rect bounds;
  movie->GetFrameBounds(&bounds, GetImageIndex(frame));
  return bounds;
}

bool CSprite::GetFramePlacement(SmartRef<CXform>* xf, std::int16_t* frame, Rect* clip) const {
  const auto hidden = [&] {
    *xf = hiddenFrameXform;
    *clip = Rect::emptyRect;
    return false;
  };
  // Hidden frames are settled before the movie is asked anything.
  const PathPoint* point = GetPathPoint(static_cast<std::int16_t>(*frame - startFrame));
  if (~*xf == hiddenFrameXform || point == nullptr || point->IsHidden()) return hidden();
  CXform* own = ~point->xform;
  if (own && !own->HasDestination()) return hidden();
  const std::int16_t image = GetImageIndex(*frame);
  Rect imageBounds;
  movie->GetFrameBounds(&imageBounds, image);
  if (imageBounds.IsEmpty()) return hidden();
  *frame = image;

  const Point offset = point->offset;
  Rect ownClip;
  if (own && own->GetClip(&ownClip)) {
    ownClip.Offset(offset.x, offset.y);
    if (*xf) ownClip = (*xf)->TransformRect(ownClip);
    *clip = clip->Intersect(ownClip);
  }
  // The frame's transform is shared with other frames: it is moved only as a copy.
  SmartRef<CXform> placed;
  if (own == nullptr) placed = new CXform(imageBounds, imageBounds);
  else if (offset != Point::origin) placed = new CXform(*own);
  else placed = own;
  if (offset != Point::origin) placed->Offset(offset.x, offset.y);
  *xf = *xf ? (*xf)->ComposeRef(~placed) : placed;
  return true;
}

void CSprite::GetFrameBounds(std::int16_t frame, Rect* bounds) const {
  const PathPoint* point = GetPathPoint(static_cast<std::int16_t>(frame - startFrame));
  if (point == nullptr || point->IsHidden()) {
    *bounds = Rect::emptyRect;
    return;
  }
  *bounds = ImageBounds(frame);
  if (bounds->IsEmpty()) return;
  if (point->xform) *bounds = point->xform->TransformRect(*bounds);
  bounds->Offset(point->offset.x, point->offset.y);
}

void CSprite::GetFrameGeometry(std::int16_t frame, Rect* rect, Point* position) const {
  const PathPoint* point = GetPathPoint(static_cast<std::int16_t>(frame - startFrame));
  if (point == nullptr || point->IsHidden()) {
    if (rect) *rect = Rect::emptyRect;
    if (position) *position = origin;
    return;
  }
  if (rect) {
    *rect = ImageBounds(frame);
    if (!rect->IsEmpty()) {
      if (point->xform) {
        *rect = point->xform->TransformRect(*rect);
        Rect clip;
        if (point->xform->GetClip(&clip)) *rect = rect->Intersect(clip);
      }
      rect->Offset(point->offset.x, point->offset.y);
    }
  }
  if (position) *position = (point->xform ? point->xform->TransformPoint(origin) : origin) + point->offset;
}

void CSprite::GetFrameMapping(std::int16_t frame, Rect* rect, Point* position) const {
  if (rect) {
    GetFrameGeometry(frame, rect, nullptr);
    Rect bounds;
    GetFrameBounds(frame, &bounds);
    if (!bounds.IsEmpty()) rect->Map(bounds, ImageBounds(frame));
  }
  if (position) *position = origin;
}

SmartRef<CXform> CSprite::GetXformAtFrame(std::int16_t frame) const {
  const PathPoint* point = GetPathPoint(static_cast<std::int16_t>(frame - startFrame));
  return point && IsRealXform(~point->xform) ? point->xform : nullptr;
}

bool CSprite::IsVisibleInRange(std::int16_t frame, std::int16_t count) const {
  const std::int32_t first = std::max<std::int32_t>(frame - startFrame, 0);
  const std::int32_t last = std::min<std::int32_t>(frame - startFrame + count - 1, nFrames - 1);
  for (std::int32_t r = first; r <= last; ++r) {
    const PathPoint* point = PointAt(r);
    if (point->IsHidden() || (point->xform && !point->xform->HasDestination())) continue;
    if (!ImageBounds(static_cast<std::int16_t>(startFrame + r)).IsEmpty()) return true;
  }
  return false;
}

bool CSprite::Draw(DisplayPort& port, SmartRef<CXform> xf, std::int16_t frame, const Color& background) const {
  Rect clip;
  if (!GetFramePlacement(&xf, &frame, &clip)) return true;
  return movie->DrawFrameTransformed(port, ~xf, frame, background);
}

bool CSprite::CheckFrame(SmartRef<CXform> xf, std::int16_t frame) const {
  Rect clip;
  if (!GetFramePlacement(&xf, &frame, &clip)) return true;
  return movie->CheckFrame(~xf, frame, nullptr, 0, 0);
}

bool CSprite::ComputeFrameChange(std::int16_t frame1, std::int16_t frame2, SmartRef<CXform> xf1,
                                 SmartRef<CXform> xf2, Rect* rect1, Rect* rect2, FrameChangeRecord* record) const {
  const bool shown1 = GetFramePlacement(&xf1, &frame1, rect1);
  const bool shown2 = GetFramePlacement(&xf2, &frame2, rect2);
  if (!shown1 && !shown2) return true;
  return movie->ComputeFrameChange(frame1, frame2, ~xf1, ~xf2, rect1, rect2, record);
}
