#include "engine/page/CDelta.h"

#include "core/Exception.h"
#include "core/Format.h"
#include "engine/geometry/CXform.h"
#include "engine/memory/CMemory.h"
#include "engine/page/CShow.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"

namespace {
constexpr SourceName kSource("CDelta");
constexpr std::int32_t kSmallImage = 8;
}  // namespace

SMART_DEFINE(Imprint, "Imprint", nullptr, nullptr, Persistent, SmartImplementation)
SMART_DEFINE(CDelta, "CDelta", nullptr, nullptr, Persistent, SmartImplementation)

const PersistentType Imprint::persistentType(&Imprint::classInfo, MakeVersion(2), MakeVersion(1), &Imprint::ReadNew);
const PersistentType CDelta::persistentType(&CDelta::classInfo, MakeVersion(2), MakeVersion(1), &CDelta::ReadNew);

namespace {
[[maybe_unused]] const bool gDeltaRegistered = (RegisterGenericType(18, &CDelta::persistentType), true);
}  // namespace

// ---- Imprint ----

Imprint::Imprint(ArchiveBlock&) { ReportError("Not implemented.", kSource.Unnumbered()); }

Persistent* Imprint::ReadNew(Archive* archive) { return ReadFromBlock<Imprint>(archive, &persistentType); }

void Imprint::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  ReportError("Not implemented.", kSource.Unnumbered());
}

// ---- The record ----

CDelta::CDelta(const CShow& page) : background(page.GetColour()) {}

CDelta::CDelta(const CDelta& other)
    : Smart(), Persistent(other), SmartImplementation(other), FrameChangeRecord(),
      changedArea(other.changedArea), background(other.background), flags(other.flags), complete(other.complete),
      imprints(other.imprints) {}

CDelta& CDelta::operator=(const CDelta& other) {
  changedArea = other.changedArea;
  background = other.background;
  flags = other.flags;
  complete = other.complete;
  imprints = other.imprints;
  return *this;
}

CDelta::CDelta(ArchiveBlock&) : background(8) {}

Persistent* CDelta::ReadNew(Archive* archive) { return ReadFromBlock<CDelta>(archive, &persistentType); }

void CDelta::Write(Archive* archive) { ArchiveBlock block(archive, &persistentType); }

bool CDelta::AddImprint(CMovie* movie, std::int16_t frame, CXform* xform, const Rect& rect, const Area& changed,
                        bool imageChanged) {
  SmartRef<Imprint> imprint = new Imprint();
  imprint->still = !imageChanged;
  imprint->rect = rect;
  imprint->changedArea = new Area(changed);
  const std::uint8_t mode = movie ? movie->GetMode() : 0;
  if (mode & CMovie::kModeKeyed) imprint->flags |= Imprint::kKeyed;
  if (mode & CMovie::kModeOpaque) imprint->flags |= Imprint::kOpaque;
  if (mode & CMovie::kModeKeyedAlt) imprint->flags |= Imprint::kKeyedAlt;
  imprint->movie = movie;
  imprint->frame = frame;
  // The movie's transform may be one it changes later (a sprite's path point): the record keeps its own.
  imprint->transform = IsRealXform(xform) ? SmartRef<CXform>(new CXform(*xform)) : SmartRef<CXform>(xform);
  imprints.Append(~imprint);
  return true;
}

void CDelta::Build(CShow& page, std::int16_t frame, const Rect& rect) {
  CMovie& movie = *page.GetMovieGroup();
  const std::int32_t count = movie.GetFrameCount();
  std::int32_t previous = (frame - 1) % count;
  if (previous < 0) previous += count;
  imprints->RemoveAll();
  // The record's coordinates are those of the port the page draws into.
  const SmartRef<CXform> placed = rect == movie.GetBounds() ? nullptr : new CXform(movie.GetBounds(), rect);
  Rect fromRect = rect, toRect = rect;
  ClearFrameChangeAreas();
  complete = movie.ComputeFrameChange(static_cast<std::int16_t>(previous), frame, ~placed, ~placed, &fromRect, &toRect,
                                      this);
  RestrictStillImprints();
  RunOverlapPass();
  changedArea = new Area(UncoveredArea());
  ClearFrameChangeAreas();
}

// An image that stays as it was needs repainting only where the step exposes it: where an image that
// changed lands, or where one left. Without this an unmoving painted background would make every step
// repaint the whole page. Still images add no exposure of their own, so one pass suffices.
void CDelta::RestrictStillImprints() {
  Area exposed(UncoveredArea());
  for (std::int32_t i = 1; i <= imprints.NumItems(); ++i) {
    const Imprint* imprint = ImprintAt(i);
    if (imprint && !imprint->still && imprint->changedArea) exposed.Union(*imprint->changedArea);
  }
  for (std::int32_t i = 1; i <= imprints.NumItems(); ++i) {
    Imprint* imprint = ImprintAt(i);
    if (imprint && imprint->still && imprint->changedArea) imprint->changedArea = imprint->changedArea->Intersect(exposed);
  }
}

void CDelta::RunOverlapPass() {
  CoveredArea().SetRect(Rect::emptyRect);
  for (std::int32_t i = imprints.NumItems(); i >= 1; --i) {
    Imprint* imprint = ImprintAt(i);
    if (imprint == nullptr || !imprint->changedArea) {
      imprints->Remove(i, 1);
      continue;
    }
    if (imprint->IsOpaqueImage()) CoveredArea().Union(*imprint->changedArea);
    if (imprint->changedArea->IsEmpty() && !imprint->rect.IsEmpty()) {
      imprints->Remove(i, 1);
      continue;
    }
    UncoveredArea().Union(*imprint->changedArea);
  }
}

bool CDelta::CheckStamps(DisplayPort&) {
  bool ready = complete;
  const bool above = CMemory::Get().IsAboveThreshold();
  for (std::int32_t i = 1; i <= imprints.NumItems(); ++i) {
    Imprint* imprint = ImprintAt(i);
    if (imprint == nullptr || imprint->rect.IsEmpty()) continue;
    if (imprint->stamp && !(flags & kStampsReleased)) {
      const Rect bounds = imprint->stamp->GetBounds();
      const auto width = static_cast<std::int16_t>(imprint->rect.right - imprint->rect.left);
      const auto height = static_cast<std::int16_t>(imprint->rect.bottom - imprint->rect.top);
      const bool small = width <= kSmallImage && height <= kSmallImage;
      const bool fits = bounds.Width() == width && bounds.Height() == height;
      if (!bounds.IsEmpty() && (above || small || fits)) continue;
    }
    imprint->stamp = nullptr;
    ready = false;
  }
  flags &= static_cast<std::uint8_t>(~kStampsReleased);
  return ready;
}

bool CDelta::MakeStamps(DisplayPort& port, CShow&) {
  if (!complete) return false;
  for (std::int32_t i = 1; i <= imprints.NumItems(); ++i) {
    Imprint* imprint = ImprintAt(i);
    if (imprint == nullptr || imprint->stamp || imprint->rect.IsEmpty()) continue;
    if (!MakeImprintStamp(port, i)) {
      Purge();
      return false;
    }
  }
  return true;
}

bool CDelta::MakeImprintStamp(DisplayPort& port, std::int32_t index) {
  Imprint& imprint = *ImprintAt(index);
  imprint.stamp = nullptr;
  if (!imprint.movie) return false;
  const std::uint8_t saved = flags;
  flags |= kStampsReleased;
  imprint.stamp = imprint.movie->GetFrameImage(port, ~imprint.transform, imprint.frame, background, false);
  flags = saved;
  if (!imprint.stamp) return false;
  // The stamp lands where a full draw puts the movie's image: the whole image, even where the page clips it.
  const CXform* made = CastSmart<CXform>(~imprint.stamp->GetPicture());
  Point moved;
  bool sameShape;
  if (IsRealXform(made)) sameShape = made->DiffersByTranslation(~imprint.transform, &moved);
  else if (IsRealXform(~imprint.transform)) sameShape = imprint.transform->DiffersByTranslation(made, &moved);
  else sameShape = true;
  if (sameShape) {
    Rect frameBounds;
    imprint.movie->GetFrameBounds(&frameBounds, imprint.frame);
    const Rect target = CMovie::MapFrameRect(frameBounds, ~imprint.transform);
    Rect placed = imprint.stamp->GetBounds();
    placed.CenterOn(target);
    imprint.rect = placed;
  }
  if (imprint.flags & Imprint::kOpaque) imprint.stamp->GetArea(Point(0, 0));
  return true;
}

bool CDelta::Purge() {
  if (flags & kStampsReleased) return false;
  flags |= kStampsReleased;
  for (std::int32_t i = 1; i <= imprints.NumItems(); ++i)
    if (Imprint* imprint = ImprintAt(i); imprint && imprint->stamp) return true;
  return false;
}

bool CDelta::Replay(DisplayPort& port) {
  if (!complete || !changedArea) return false;
  for (std::int32_t i = 1; i <= imprints.NumItems(); ++i) {
    const Imprint* imprint = ImprintAt(i);
    if (imprint && !imprint->stamp && !imprint->movie) return false;
  }
  if (changedArea->IsEmpty()) return true;
  // What the changed images leave is the page colour and the images below, as a full draw paints them.
  const PortState state(port, *changedArea);
  const Rect changedBounds = changedArea->GetBounds();
  FillPageRect(port, changedBounds, background);
  for (std::int32_t i = imprints.NumItems(); i >= 1; --i) {
    Imprint* imprint = ImprintAt(i);
    if (imprint->stamp) {
      imprint->stamp->DrawScaledWithin(port, imprint->rect, imprint->IsKeyed() ? int{kStampKeyed} : int{kDrawOpaque},
                                       changedBounds);
    } else {
      imprint->movie->CheckFrame(~imprint->transform, imprint->frame, ~changedArea, 1, 0);
      imprint->movie->DrawFrameTransformed(port, ~imprint->transform, imprint->frame, background);
    }
  }
  return true;
}

void CDelta::Refresh() {
  for (std::int32_t i = imprints.NumItems(); i >= 1; --i) {
    Imprint* imprint = ImprintAt(i);
    if (imprint && !imprint->stamp && imprint->movie)
      imprint->movie->CheckFrame(~imprint->transform, imprint->frame, ~changedArea, 1, 0);
  }
}
