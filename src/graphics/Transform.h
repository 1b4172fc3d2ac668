// Maps from one coordinate space to another: identities, translations and rectangle-to-rectangle
// scalings, composed by double dispatch so that a port can stack a transform on the one it has.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"

// Kinds, from the simplest.
enum : int { kIdentityTransform = 0, kTranslationTransform = 1, kScalingTransform = 2, kGeneralTransform = 3 };

class Transform : public virtual Smart {
  SMART_ABSTRACT(Transform)
 public:
  virtual int GetKind() const = 0;
  virtual Point TransformPoint(const Point& point) const = 0;
  // A new transform (owned by the caller) that undoes this one.
  virtual Transform* Inverse() const = 0;
  // A new transform equal to this one composed with the other, or null when this class cannot compose
  // with the other's kind. otherFirst: the other applies first, then this one; else this one first.
  virtual Transform* ComposeWith(const Transform& other, bool otherFirst) const = 0;

  // The images of the two corners; not normalised, so a flipping transform gives left > right.
  Rect TransformRect(const Rect& rect) const;
  // The transform that applies `first` and then `then` (new, owned by the caller), or null.
  static Transform* Compose(const Transform& first, const Transform& then);
};

class Translation : public SmartImplementation, public Transform {
  SMART_CLASS(Translation)
 public:
  Translation(std::int32_t dx, std::int32_t dy) : offset(dx, dy) {}
  int GetKind() const override { return offset == Point::origin ? kIdentityTransform : kTranslationTransform; }
  Point TransformPoint(const Point& point) const override { return point + offset; }
  Transform* Inverse() const override { return new Translation(-offset.x, -offset.y); }
  Transform* ComposeWith(const Transform& other, bool otherFirst) const override;
  const Point& GetOffset() const { return offset; }

 private:
  Point offset;
};

class ScaleTrans : public Transform, public SmartImplementation {
  SMART_CLASS(ScaleTrans)
 public:
  // With keepAspect, the destination becomes the largest rectangle of the source's shape that fits
  // inside it, centred.
  ScaleTrans(const Rect& source, const Rect& destination, bool keepAspect = false);
  int GetKind() const override;
  Point TransformPoint(const Point& point) const override;
  Transform* Inverse() const override { return new ScaleTrans(destination, source); }
  Transform* ComposeWith(const Transform& other, bool otherFirst) const override;
  const Rect& GetSource() const { return source; }
  const Rect& GetDestination() const { return destination; }

 private:
  Rect source;
  Rect destination;
};
