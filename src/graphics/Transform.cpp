#include "graphics/Transform.h"

SMART_DEFINE_ABSTRACT(Transform, "Transform", Smart)
SMART_DEFINE(Translation, "Translation", nullptr, nullptr, Transform, SmartImplementation)
SMART_DEFINE(ScaleTrans, "ScaleTrans", nullptr, nullptr, Transform, SmartImplementation)

Rect Transform::TransformRect(const Rect& rect) const {
  const Point topLeft = TransformPoint(rect.TopLeft());
  const Point bottomRight = TransformPoint(rect.BottomRight());
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

Transform* Transform::Compose(const Transform& first, const Transform& then) {
  if (Transform* composed = then.ComposeWith(first, true)) return composed;
  return first.ComposeWith(then, false);
}

// Translations commute with each other, so the order does not matter.
Transform* Translation::ComposeWith(const Transform& other, bool) const {
  if (other.GetKind() > kTranslationTransform) return nullptr;
  const Point moved = other.TransformPoint(offset);
  return new Translation(moved.x, moved.y);
}

ScaleTrans::ScaleTrans(const Rect& source, const Rect& destination, bool keepAspect)
    : source(source), destination(keepAspect ? destination.FitAspect(source, true) : destination) {}

int ScaleTrans::GetKind() const {
  if (source.Size() != destination.Size()) return kScalingTransform;
  return source.TopLeft() == destination.TopLeft() ? kIdentityTransform : kTranslationTransform;
}

Point ScaleTrans::TransformPoint(const Point& point) const {
  Point mapped = point;
  mapped.Map(source, destination);
  return mapped;
}

Transform* ScaleTrans::ComposeWith(const Transform& other, bool otherFirst) const {
  if (other.GetKind() > kScalingTransform) return nullptr;
  if (otherFirst) {
    // Mapping from other⁻¹(source) to the destination is the same as applying the other, then this.
    const SmartRef<Transform> inverse(other.Inverse());
    return new ScaleTrans(inverse->TransformRect(source), destination);
  }
  return new ScaleTrans(source, other.TransformRect(destination));
}
