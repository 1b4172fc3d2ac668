// Editing a sprite's frames: sounds and links, key frames, inserting, deleting, hiding and showing frames,
// and fitting frames onto a rectangle. Every operation leaves path, sounds and links with one entry per
// frame and the key frames ascending within the sprite.
#include <algorithm>
#include <cstring>

#include "engine/kinds/CMovieRes.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "engine/sprites/CSprite.h"

namespace {
constexpr SourceName kSource("CSprite");

// The frame counts as hidden when it is marked so or shows nothing (as frames stored hidden come back).
bool ShowsNothing(const PathPoint& point) {
  return point.IsHidden() || (point.xform && !point.xform->HasDestination());
}

SmartRef<PathPoint> ClonePoint(const PathPoint& point) { return CastSmart<PathPoint>(point.Clone()); }

}  // namespace

void CSprite::SetSound(std::int16_t frame, std::int16_t count, Sound* sound) {
  if (!ClipFrameRange(startFrame, nFrames, &frame, &count)) return;
  sounds.Put(sound, frame + 1, count);
}

void CSprite::SetLink(std::int16_t frame, std::int16_t count, CLink* link) {
  if (!ClipFrameRange(startFrame, nFrames, &frame, &count)) return;
  const SmartRef<CLink> copy = link ? new CLink(*link) : nullptr;
  links.Put(~copy, frame + 1, count);
}

// ---- Key frames ----

std::int32_t CSprite::KeyPosition(std::int16_t key) const {
  std::int32_t i = 1;
  while (i <= keyFrames.NumItems() && KeyAt(i) < key) ++i;
  return i;
}

bool CSprite::IsKeyFrame(std::int16_t frame) const {
  const auto r = static_cast<std::int16_t>(frame - startFrame);
  const std::int32_t i = KeyPosition(r);
  return i <= keyFrames.NumItems() && KeyAt(i) == r;
}

void CSprite::SetKeyFrame(std::int16_t frame, bool on) {
  const auto r = static_cast<std::int16_t>(frame - startFrame);
  const std::int32_t i = KeyPosition(r);
  const bool present = i <= keyFrames.NumItems() && KeyAt(i) == r;
  if (on && !present) keyFrames.Insert(&r, i - 1, 1);
  if (!on && present) keyFrames.Delete(i, 1);
}

void CSprite::ShiftKeys(std::int16_t from, std::int16_t by) {
  for (std::int32_t i = KeyPosition(from); i <= keyFrames.NumItems(); ++i) {
    const auto key = static_cast<std::int16_t>(KeyAt(i) + by);
    std::memcpy(keyFrames.At(i), &key, sizeof key);
  }
}

// ---- Inserting and deleting frames ----

bool CSprite::InsertFrames(std::int16_t frame, std::int16_t count, int fillMode) {
  if (count <= 0) return false;
  const std::int32_t r = frame - startFrame;
  const bool fromBefore = fillMode == kFillFromBefore || fillMode == kFillFromNeighbour;
  const bool fromAfter = fillMode == kFillFromAfter || fillMode == kFillFromNeighbour;
  // Frames right after the sprite, or right before it, belong to it only when they copy it.
  if (r > nFrames || (r == nFrames && !fromBefore)) return false;
  if (r < 0 || (r == 0 && !fromAfter)) {
    startFrame = static_cast<std::int16_t>(startFrame + count);
    return false;
  }

  if (!IsCycling() && r < movie->GetFrameCount() - 1)
    movie->InsertFrames(static_cast<std::int16_t>(r), count, false, true);
  ShiftKeys(static_cast<std::int16_t>(r), count);
  const std::int16_t oldCount = nFrames;
  nFrames = static_cast<std::int16_t>(nFrames + count);

  SmartRef<PathPoint> model;
  if (fillMode == kFillFromNeighbour) {
    model = defaultPoint->IsHidden() ? new PathPoint() : ClonePoint(*defaultPoint);
  } else {
    model = new PathPoint();
    model->xform = hiddenFrameXform;
  }
  std::int32_t neighbour = -1;
  if (fromBefore && r > 0) neighbour = r - 1;
  else if (fromAfter && r < oldCount) neighbour = r;
  Smart* sound = nullptr;
  Smart* link = nullptr;
  if (neighbour >= 0) {
    model = PointAt(neighbour);
    sound = sounds.At(neighbour + 1);
    link = links.At(neighbour + 1);
  }
  for (std::int16_t i = 0; i < count; ++i) path.Insert(model->Clone(), r);
  sounds.Insert(sound, r, count);
  links.Insert(link, r, count);
  return true;
}

bool CSprite::DeleteFrames(std::int16_t frame, std::int16_t count) {
  std::int32_t r = frame - startFrame;
  std::int32_t c = count;
  if (r <= 0) {
    if (r + c <= 0) {
      startFrame = static_cast<std::int16_t>(startFrame - c);
      return false;
    }
    startFrame = frame;
    c += r;
    r = 0;
  }
  if (r + c > nFrames) c = nFrames - r;
  if (c <= 0) return false;

  // A held last image shows in every frame after it, so it stays while any of them remains.
  if (!IsCycling()) {
    const std::int32_t images = movie->GetFrameCount();
    const std::int32_t cut = images >= nFrames ? c : std::min(c, images - 1 - r);
    if (cut > 0) movie->RemoveFrames(static_cast<std::int16_t>(r), static_cast<std::int16_t>(cut));
  }
  nFrames = static_cast<std::int16_t>(nFrames - c);
  const std::int32_t firstKey = KeyPosition(static_cast<std::int16_t>(r));
  const std::int32_t pastKeys = KeyPosition(static_cast<std::int16_t>(r + c));
  if (pastKeys > firstKey) keyFrames.Delete(firstKey, pastKeys - firstKey);
  ShiftKeys(static_cast<std::int16_t>(r + c), static_cast<std::int16_t>(-c));
  path->Remove(r + 1, c);
  sounds->Remove(r + 1, c);
  links->Remove(r + 1, c);
  return true;
}

void CSprite::SetFrameCount(std::int16_t count) {
  count = std::max<std::int16_t>(count, 0);
  if (count > nFrames)
    InsertFrames(static_cast<std::int16_t>(startFrame + nFrames), static_cast<std::int16_t>(count - nFrames),
                 kFillFromNeighbour);
  else if (count < nFrames)
    DeleteFrames(static_cast<std::int16_t>(startFrame + count), static_cast<std::int16_t>(nFrames - count));
}

// ---- Hiding and showing ----

void CSprite::HideFrames(std::int16_t frame, std::int16_t count) {
  if (!ClipFrameRange(startFrame, nFrames, &frame, &count)) return;
  for (std::int16_t r = frame; r < frame + count; ++r) {
    SetKeyFrame(static_cast<std::int16_t>(startFrame + r), false);
    PointAt(r)->xform = hiddenFrameXform;
  }
}

void CSprite::ShowFrames(std::int16_t frame, std::int16_t count) {
  // The sprite grows to the range with hidden frames that copy its ends, so that its frames keep their
  // page frames.
  if (frame < startFrame) {
    const auto added = static_cast<std::int16_t>(startFrame - frame);
    InsertFrames(startFrame, added, kFillFromNeighbour);
    HideFrames(startFrame, added);
    startFrame = frame;
  }
  const std::int32_t end = startFrame + nFrames;
  if (frame + count > end) {
    const auto added = static_cast<std::int16_t>(frame + count - end);
    InsertFrames(static_cast<std::int16_t>(end), added, kFillFromNeighbour);
    HideFrames(static_cast<std::int16_t>(end), added);
  }

  if (IsRealXform(~defaultPoint->xform) && !defaultPoint->xform->HasDestination())
    defaultPoint->xform = hiddenFrameXform;
  SmartRef<PathPoint> model = defaultPoint;
  if (defaultPoint->IsHidden()) {
    model = new PathPoint();
    for (std::int32_t r = 0; r < nFrames; ++r) {
      if (!ShowsNothing(*PointAt(r))) {
        model = PointAt(r);
        break;
      }
    }
  }

  const std::int32_t first = frame - startFrame;
  if (!(first >= 0)) AssertFailed("start >= 0", kSource.Line(2592));
  if (!(first + count <= nFrames)) AssertFailed("start+num <= nFrames", kSource.Line(2593));
  for (std::int32_t r = first; r < first + count; ++r) {
    PathPoint* point = PointAt(r);
    if (!ShowsNothing(*point)) continue;
    if (!point->IsHidden()) point->xform = nullptr;
    path->Put(model->Clone(), r + 1, 1);
  }
}

void CSprite::TrimHiddenFrames(std::int16_t limit) {
  const std::int32_t end = std::min<std::int32_t>(limit - startFrame, nFrames);
  const auto shown = [this](std::int32_t r) { return IsVisibleInRange(static_cast<std::int16_t>(startFrame + r), 1); };
  std::int32_t first = 0;
  while (first < end && !shown(first)) ++first;
  if (first >= end) {
    DeleteFrames(startFrame, nFrames);
    return;
  }
  std::int32_t last = end - 1;
  while (last > first && !shown(last)) --last;
  DeleteFrames(static_cast<std::int16_t>(startFrame + last + 1), static_cast<std::int16_t>(nFrames - last - 1));
  if (first > 0) {
    DeleteFrames(startFrame, static_cast<std::int16_t>(first));
    startFrame = static_cast<std::int16_t>(startFrame + first);
  }
}

// ---- Placing frames ----

void CSprite::OffsetPath(std::int32_t dx, std::int32_t dy, std::unordered_set<const PathPoint*>* moved) {
  std::unordered_set<const PathPoint*> own;
  if (moved == nullptr) moved = &own;
  for (std::int32_t r = 0; r < nFrames; ++r) {
    PathPoint* point = PointAt(r);
    if (!point->IsHidden() && moved->insert(point).second) point->offset = point->offset + Point(dx, dy);
  }
}

void CSprite::FitFrameToRect(std::int16_t frame, const Rect* target, const Point* anchor) {
  if (target && target->IsEmpty()) {
    HideFrames(frame, 1);
    return;
  }
  if (!IsVisibleInRange(frame, 1)) ShowFrames(frame, 1);
  PathPoint* point = PointAt(frame - startFrame);

  if (target) {
    // A clipped frame's whole bounds scale with its visible part.
    Rect visible, bounds;
    GetFrameGeometry(frame, &visible, nullptr);
    GetFrameBounds(frame, &bounds);
    if (visible.IsEmpty()) bounds = *target;
    else bounds.Map(visible, *target);
    const Rect image = ImageBounds(frame);
    if (!image.IsEmpty()) {
      if (IsRealXform(~point->xform)) {
        if (point->xform->IsShared()) point->xform = new CXform(*point->xform);
        point->xform->Refit(image, bounds);
        point->offset = Point::origin;
      } else {
        PathPoint::SetXform(point, new CXform(image, bounds));
      }
      SetKeyFrame(frame, true);
    }
  }
  if (anchor) {
    Point at = *anchor - point->offset;
    if (IsRealXform(~point->xform)) {
      if (const SmartRef<Transform> inverse(point->xform->Inverse()); inverse) at = inverse->TransformPoint(at);
    }
    origin = at;
  }
}

void CSprite::RefitFrames(std::int16_t reference, const Rect& target, std::int16_t frame, std::int16_t count) {
  const SmartRef<CMovieRes> resources = CastSmart<CMovieRes>(~movie);
  if (!ClipFrameRange(startFrame, nFrames, &frame, &count)) return;
  const auto k = static_cast<std::int16_t>(std::clamp<std::int32_t>(reference - startFrame, 0, nFrames - 1));
  const auto referenceFrame = static_cast<std::int16_t>(startFrame + k);
  const CResource* shown = resources->GetResource(GetImageIndex(referenceFrame));
  const SmartRef<CXform> fitted = new CXform(ImageBounds(referenceFrame), target);

  // The anchor, in the image's coordinates as the fitted transform sees them.
  const Point oldAnchor = origin;
  Point anchor = origin;
  PathPoint::MapPoint(PointAt(k), &anchor);
  if (const SmartRef<Transform> inverse(fitted->Inverse()); inverse) anchor = inverse->TransformPoint(anchor);
  origin = anchor;

  SmartRef<CXform> change = fitted->RelativeTo(~PointAt(k)->xform);
  if (XformsEquivalent(~change, nullptr)) return;
  if (change->IsTranslationOnly()) change = nullptr;
  const bool text = IsMember<CMovieText>(~movie);
  for (std::int32_t r = frame; r < frame + count; ++r) {
    const auto pageFrame = static_cast<std::int16_t>(startFrame + r);
    const std::int16_t image = GetImageIndex(pageFrame);
    PathPoint* point = PointAt(r);
    if (resources->GetResource(image) != shown || point->IsHidden()) continue;
    // A turned or scaled text cannot be fitted: its box follows its text, not a transform.
    if (text && point->xform && !point->xform->IsTranslationOnly()) continue;
    // The movie tells its dependants in its own frames, the images, as every change of a movie does.
    movie->Changed(~movie, Rect::emptyRect, image);
    Point before = oldAnchor;
    if (point->xform) before = point->xform->TransformPoint(before);
    point->offset = point->offset + before;
    if (change) {
      point->xform = change->ComposeRef(~point->xform);
      if (point->xform->IsTranslationOnly()) point->xform = nullptr;
    }
    Point after = origin;
    if (point->xform) after = point->xform->TransformPoint(after);
    point->offset = point->offset - after;
    movie->Changed(~movie, Rect::emptyRect, image);
  }
}
