// One sprite taking over another's frames: the page merges sprites of the same object that were pasted or
// dragged across frames.
#include <algorithm>
#include <vector>

#include "engine/sprites/CSprite.h"

namespace {
constexpr SourceName kSource("CSprite");

std::vector<const ClassInfo*>& ImageMergingKinds() {
  static std::vector<const ClassInfo*> kinds;
  return kinds;
}

// Both movies are of one kind whose sprites merge by taking each other's images.
bool MergeImagesOf(CMovie* a, CMovie* b) {
  return std::ranges::any_of(ImageMergingKinds(), [&](const ClassInfo* kind) {
    return CastSmart(a, kind) != nullptr && CastSmart(b, kind) != nullptr;
  });
}

}  // namespace

void AddImageMergingKind(const ClassInfo* kind) {
  if (std::ranges::find(ImageMergingKinds(), kind) == ImageMergingKinds().end()) ImageMergingKinds().push_back(kind);
}

bool CSprite::MergeIfMatching(const SmartRef<CSprite>& other, bool checkOverlap, bool checkName) {
  const CSprite& o = *other;
  if (checkName && name != o.name) return false;
  const auto otherFrame = [&](std::int32_t i) { return static_cast<std::int16_t>(o.startFrame + i); };
  if (checkOverlap) {
    for (std::int32_t i = 0; i < o.nFrames; ++i)
      if (IsVisibleInRange(otherFrame(i), 1) && o.IsVisibleInRange(otherFrame(i), 1)) return false;
  }
  if (movie == o.movie) {
    bool sameImages = IsCycling();
    if (!sameImages) {
      sameImages = true;
      for (std::int32_t i = 0; sameImages && i < o.nFrames; ++i)
        sameImages = GetImageIndex(otherFrame(i)) == o.GetImageIndex(otherFrame(i));
    }
    if (sameImages) {
      MergeFrames(other);
      return true;
    }
  }
  if (!MergeImagesOf(~movie, ~o.movie)) return false;

  // The other's images go into this movie at the frames that now show them.
  const auto announce = [&](std::int16_t frame) {
    if (!gSuppressMovieChanges) movie->Changed(~movie, Rect::emptyRect, GetImageIndex(frame));
  };
  for (std::int32_t i = 0; i < o.nFrames; ++i) announce(otherFrame(i));
  MergeFrames(other);
  std::int32_t last = o.movie->GetFrameCount() - 1;
  std::int32_t firstCount;
  if (last >= o.nFrames) {
    last = o.nFrames - 1;
    firstCount = 1;
  } else {
    firstCount = o.nFrames - last;
  }
  for (std::int32_t i = last; i >= 0; --i) {
    const SmartRef<Smart> image = o.movie->GetFrameObject(static_cast<std::int16_t>(i));
    movie->SetFrames(static_cast<std::int16_t>(o.startFrame + i - startFrame),
                     static_cast<std::int16_t>(i == last ? firstCount : 1), ~image, !checkOverlap, nFrames);
    announce(otherFrame(i));
  }
  return true;
}

void CSprite::MergeFrames(const SmartRef<CSprite>& other) {
  if (!other) AssertFailed("~sp != NULL && member(sp,CSprite)", kSource.Line(1836));
  const CSprite& o = *other;

  // The change from the other's placement to this one's, applied to each of its frames.
  SmartRef<CXform> change;
  Point delta;
  if (!defaultPoint->IsHidden() && !o.defaultPoint->IsHidden()) {
    const SmartRef<CXform> own =
        defaultPoint->xform ? defaultPoint->xform : SmartRef<CXform>(new CXform(movie->GetBounds(), movie->GetBounds()));
    change = own->RelativeTo(~o.defaultPoint->xform);
    if (change && change->IsTranslationOnly()) change = nullptr;
    Point here = origin, there = o.origin;
    PathPoint::MapPoint(defaultPoint, &here);
    PathPoint::MapPoint(o.defaultPoint, &there);
    delta = here - there;
  }

  ShowFrames(o.startFrame, o.nFrames);
  for (std::int32_t i = 0; i < o.nFrames; ++i) {
    const auto frame = static_cast<std::int16_t>(o.startFrame + i);
    const SmartRef<PathPoint> from = o.PointAt(i);
    const SmartRef<PathPoint> to = PointAt(frame - startFrame);
    SmartRef<CXform> xform = from->xform;
    // A frame hidden in the other sprite stays hidden here.
    if (change && !from->IsHidden()) xform = change->ComposeRef(~xform);
    PathPoint::SetXform(to, xform);
    Point anchor = o.origin;
    PathPoint::MapPoint(from, &anchor);
    PathPoint::PlaceOrigin(to, origin, anchor + delta);
    Rect clip;
    if (IsRealXform(~from->xform) && from->xform->GetClip(&clip)) {
      clip.Offset(from->offset.x, from->offset.y);
      Rect theirs, ours;
      o.GetFrameBounds(frame, &theirs);
      GetFrameBounds(frame, &ours);
      clip.Map(theirs, ours);
    }
    PathPoint::SetClip(to, clip);
    SetKeyFrame(frame, o.IsKeyFrame(frame));
    sounds.Put(o.sounds.At(i + 1), frame - startFrame + 1);
    links.Put(o.links.At(i + 1), frame - startFrame + 1);
  }
}
