// The transform of one sprite frame or one stamp: a rotation-and-skew matrix built from two angles in whole
// degrees, then the mapping of a source rectangle onto a destination rectangle, plus a clip in destination
// coordinates. Many frames share one transform, so transforms live on the heap under counted references
// and are cloned before a change meant for one frame.
#pragma once

#include <array>
#include <cstdint>

#include "core/Archive.h"
#include "core/Geometry.h"
#include "core/Smart.h"
#include "graphics/Transform.h"

// A 2 x 2 matrix: rows (m[0], m[1]) and (m[2], m[3]).
using XformMatrix = std::array<double, 4>;

class CXform : public Transform, public Persistent, public SmartImplementation {
  SMART_CLASS(CXform)
 public:
  static const PersistentType persistentType;

  // No rotation, no skew, no clip.
  CXform(const Rect& source, const Rect& destination);
  CXform(const CXform& other) = default;
  CXform& operator=(const CXform& other) = default;
  explicit CXform(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Never the identity kind, even when source and destination are equal.
  int GetKind() const override;
  // The matrix turns about the coordinate origin, then the source maps onto the destination. An empty
  // source maps every point onto itself.
  Point TransformPoint(const Point& point) const override;
  // A new transform, or null when the destination is empty (nothing shown has no inverse).
  Transform* Inverse() const override;
  // TransformRect with the corners put back in order: a turn can take them past each other.
  Rect MapRect(const Rect& rect) const;
  Transform* ComposeWith(const Transform& other, bool otherFirst) const override { return Compose(other, otherFirst); }

  // This transform applied after the other, whatever the flag: a new CXform, this very object when the
  // other changes nothing, or null when the other is not a CXform.
  Transform* Compose(const Transform& other, bool otherFirst) const;
  // This transform after the other (a clone of this one without another).
  SmartRef<CXform> ComposeRef(const Transform* other) const;
  // The transform that takes what the other produces to what this one produces; null without another
  // real transform or when the two are equivalent.
  SmartRef<CXform> RelativeTo(const CXform* other) const;

  // Both angles whole turns, negative ones included.
  bool IsUnrotated() const;
  bool IsTranslationOnly() const;
  bool HasDestination() const { return !dstRect.IsEmpty(); }
  // Null and the hidden-frame transform count as no rotation at all.
  bool SameAngles(const CXform* other) const;
  bool IsEquivalent(const CXform* other) const;
  // True when this transform maps every point as the other one followed by a move of -difference.
  bool DiffersByTranslation(const CXform* other, Point* difference) const;

  // Moves the destination and the clip.
  void Offset(std::int32_t dx, std::int32_t dy);
  // Moves the destination so that the source point lands on the target.
  void MoveOriginTo(const Point& source, const Point& target, bool alsoClip);
  // New rectangles under the same angles, the clip keeping its place relative to the destination.
  void Refit(const Rect& newSource, const Rect& newDestination);
  bool GetClip(Rect* clip) const;
  void SetClip(const Rect& clip) { clipRect = clip; }
  std::int16_t GetRotation() const { return rotation; }
  std::int16_t GetSkew() const { return skew; }
  const Rect& GetSource() const { return srcRect; }
  const Rect& GetDestination() const { return dstRect; }
  void GetSizes(Point* sourceSize, Point* destinationSize) const;

  // The rotation-and-skew matrix alone.
  XformMatrix MakeMatrix() const;
  // The matrix with each row scaled by the destination's size over the source's.
  XformMatrix GetScaledMatrix() const;
  // False when the scaled matrix cannot be inverted.
  bool GetInverseMatrix(XformMatrix* inverse) const;
  // Takes the destination size and the angles from a scaled matrix; the rotation is the one nearest the
  // present rotation (350 turned by 20 gives 370, not 10).
  void Decompose(const XformMatrix& matrix);

 private:
  // The source rectangle taken through the other transform's rectangles and back through this one's.
  Rect ThroughAndBack(const CXform& other) const;

  Rect srcRect;
  Rect dstRect;
  std::int16_t rotation = 0;
  std::int16_t skew = 0;
  Rect clipRect;
};

// The one shared transform that marks a hidden sprite frame, compared by identity. It is never changed.
extern CXform* const hiddenFrameXform;

// A transform other than none and the hidden-frame one.
inline bool IsRealXform(const CXform* xform) { return xform != nullptr && xform != hiddenFrameXform; }

bool XformsEquivalent(const CXform* a, const CXform* b);

// The matrix applied to a point, each coordinate rounded half away from zero.
Point ApplyMatrix(const XformMatrix& m, std::int32_t x, std::int32_t y);
// a x b.
XformMatrix MultiplyMatrices(const XformMatrix& a, const XformMatrix& b);
double MatrixDeterminant(const XformMatrix& m);
// False, and the matrix unchanged, when the determinant is exactly 0.
bool InvertMatrix(XformMatrix* m);
// The angle of (x, y) in radians, with pi taken as 3.14159265 as stored angles were computed with it.
double Atan2(double y, double x);
