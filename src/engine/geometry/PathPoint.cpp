#include "engine/geometry/PathPoint.h"

#include "core/Format.h"
#include "core/Stream.h"

namespace {
constexpr SourceName kSource("CXForm");
}  // namespace

SMART_COPY_CHECK_AT(PathPoint, kSource.Line(879));
SMART_DEFINE(PathPoint, "PathPoint", nullptr, nullptr, SmartImplementation, Persistent)

const PersistentType PathPoint::persistentType(&PathPoint::classInfo, MakeVersion(1), MakeVersion(1),
                                               &PathPoint::ReadNew);

namespace {

[[maybe_unused]] const bool gPathPointRegistered = (RegisterGenericType(24, &PathPoint::persistentType), true);

}  // namespace

// A transform stored while hidden comes back as an ordinary transform with an empty destination, which
// hides the frame just the same.
PathPoint::PathPoint(ArchiveBlock& block) {
  block.GetStream()->ReadPoint(&offset);
  xform = CastSmart<CXform>(block.GetArchive()->ReadObject());
}

Persistent* PathPoint::ReadNew(Archive* archive) { return ReadFromBlock<PathPoint>(archive, &persistentType); }

void PathPoint::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  block.GetStream()->WritePoint(offset);
  block.GetArchive()->WriteObject(~xform);
}

void PathPoint::SetXform(const SmartRef<PathPoint>& point, const SmartRef<CXform>& newXform) {
  PathPoint& p = *point;
  if (IsRealXform(~newXform)) {
    if (p.IsHidden()) p.xform = nullptr;
    Point difference;
    if (newXform->DiffersByTranslation(~p.xform, &difference)) {
      p.offset = Point::origin - difference;
      return;
    }
  }
  p.xform = newXform;
  p.offset = Point::origin;
}

void PathPoint::PlaceOrigin(const SmartRef<PathPoint>& point, const Point& anchor, const Point& target) {
  PathPoint& p = *point;
  const Point mapped = IsRealXform(~p.xform) ? p.xform->TransformPoint(anchor) : anchor;
  p.offset = target - mapped;
}

void PathPoint::MapPoint(const SmartRef<PathPoint>& point, Point* at) {
  const PathPoint& p = *point;
  if (p.IsHidden()) return;
  if (p.xform) *at = p.xform->TransformPoint(*at);
  *at = *at + p.offset;
}

void PathPoint::SetClip(const SmartRef<PathPoint>& point, const Rect& clip) {
  PathPoint& p = *point;
  Rect c = clip;
  c.Offset(-p.offset.x, -p.offset.y);
  if (IsRealXform(~p.xform)) {
    Rect present;
    p.xform->GetClip(&present);
    if (c == present) return;
    if (p.xform->IsShared()) p.xform = new CXform(*p.xform);
    p.xform->SetClip(c);
    return;
  }
  if (c.IsEmpty()) return;
  p.xform = new CXform(c, c);
  p.xform->SetClip(c);
}
