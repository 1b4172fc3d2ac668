// One frame of a sprite's path: an offset and the frame's transform, which is often shared by many
// frames. No transform shows the image at its own bounds moved by the offset; hiddenFrameXform hides the
// frame; any other transform maps the image, which the offset then moves.
#pragma once

#include "core/Archive.h"
#include "core/Geometry.h"
#include "core/Smart.h"
#include "engine/geometry/CXform.h"

class PathPoint : public SmartImplementation, public Persistent {
  SMART_CLASS(PathPoint)
 public:
  static const PersistentType persistentType;

  PathPoint() = default;
  // Copies share the transform.
  PathPoint(const PathPoint& other) = default;
  PathPoint& operator=(const PathPoint& other) = default;
  explicit PathPoint(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  bool IsHidden() const { return ~xform == hiddenFrameXform; }

  // A transform that only moves the frame from where the present one puts it is kept in the offset, so
  // that frames go on sharing their transform; anything else replaces the transform and clears the offset.
  static void SetXform(const SmartRef<PathPoint>& point, const SmartRef<CXform>& newXform);
  // Sets the offset so that the anchor, mapped by the transform, lands on the target.
  static void PlaceOrigin(const SmartRef<PathPoint>& point, const Point& anchor, const Point& target);
  // Nothing for a hidden point.
  static void MapPoint(const SmartRef<PathPoint>& point, Point* at);
  // The clip is given in stage coordinates. A shared transform is cloned before its clip changes; an
  // untransformed or hidden point with a clip gets a transform of its own, which also shows it.
  static void SetClip(const SmartRef<PathPoint>& point, const Rect& clip);

  Point offset;
  SmartRef<CXform> xform;
};
