#include "engine/geometry/CXform.h"

#include <algorithm>
#include <cmath>

#include "core/Format.h"
#include "core/Stream.h"
#include "core/Utilities.h"

namespace {
constexpr SourceName kSource("CXForm");
}  // namespace

SMART_COPY_CHECK_AT(CXform, kSource.Line(74));
SMART_DEFINE(CXform, "CXform", nullptr, nullptr, Transform, Persistent, SmartImplementation)

const PersistentType CXform::persistentType(&CXform::classInfo, MakeVersion(2), MakeVersion(2), &CXform::ReadNew);

CXform* const hiddenFrameXform = NewPermanent<CXform>(Rect::emptyRect, Rect::emptyRect);

namespace {

[[maybe_unused]] const bool gXformRegistered = (RegisterGenericType(16, &CXform::persistentType), true);

// Degrees to radians as stored transforms were made: not a full-precision pi / 180.
constexpr double kRadiansPerDegree = 0.01745329252;
constexpr double kPi = 3.14159265;

bool IsWholeTurn(std::int32_t degrees) { return degrees % 360 == 0; }

// The same angle in [-180, 180).
std::int32_t WithinTurn(std::int32_t degrees) { return ((degrees + 180) % 360 + 360) % 360 - 180; }

std::int16_t Angle(std::int32_t degrees) { return static_cast<std::int16_t>(degrees); }

}  // namespace

CXform::CXform(const Rect& source, const Rect& destination) : srcRect(source), dstRect(destination) {}

CXform::CXform(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  stream->ReadRect(&srcRect);
  stream->ReadRect(&dstRect);
  rotation = stream->ReadShort();
  skew = stream->ReadShort();
  stream->ReadRect(&clipRect);
}

Persistent* CXform::ReadNew(Archive* archive) { return ReadFromBlock<CXform>(archive, &persistentType); }

void CXform::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Stream* stream = block.GetStream();
  stream->WriteRect(srcRect);
  stream->WriteRect(dstRect);
  stream->WriteShort(rotation);
  stream->WriteShort(skew);
  stream->WriteRect(clipRect);
}

int CXform::GetKind() const {
  if (!IsUnrotated()) return kGeneralTransform;
  return IsTranslationOnly() ? kTranslationTransform : kScalingTransform;
}

Point CXform::TransformPoint(const Point& point) const {
  if (srcRect.IsEmpty()) return point;
  Point mapped = IsUnrotated() ? point : ApplyMatrix(MakeMatrix(), point.x, point.y);
  mapped.Map(srcRect, dstRect);
  return mapped;
}

Rect CXform::MapRect(const Rect& rect) const {
  const Rect r = TransformRect(rect);
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

Transform* CXform::Inverse() const {
  if (dstRect.IsEmpty()) return nullptr;
  auto* inverse = new CXform(dstRect, srcRect);
  XformMatrix matrix;
  if (!IsUnrotated() && GetInverseMatrix(&matrix)) {
    inverse->Decompose(matrix);
    // The matrix turns about the origin, not about the rectangles: without this the inverse of a moved
    // turned image would land it somewhere else.
    const Point corner = srcRect.TopLeft();
    inverse->MoveOriginTo(TransformPoint(corner), corner, false);
  }
  return inverse;
}

Transform* CXform::Compose(const Transform& other, bool) const {
  const auto* first = CastSmart<CXform>(const_cast<Transform*>(&other));
  if (first == nullptr) return nullptr;
  if (first->IsEquivalent(nullptr)) return const_cast<CXform*>(this);
  auto* composed = new CXform(*first);
  if (IsEquivalent(nullptr)) return composed;
  if (IsUnrotated()) {
    if (!srcRect.IsEmpty()) composed->dstRect.Map(srcRect, dstRect);
    return composed;
  }
  // The matrices compose; the result is then placed so that the other's source corner lands where the
  // two transforms in turn take it.
  const Point corner = first->srcRect.TopLeft();
  const Point landing = TransformPoint(first->TransformPoint(corner));
  composed->Decompose(MultiplyMatrices(GetScaledMatrix(), first->GetScaledMatrix()));
  composed->MoveOriginTo(corner, landing, true);
  return composed;
}

SmartRef<CXform> CXform::ComposeRef(const Transform* other) const {
  if (other == nullptr) return new CXform(*this);
  const SmartRef<Transform> composed(Transform::Compose(*other, *this));
  return CastSmart<CXform>(~composed);
}

SmartRef<CXform> CXform::RelativeTo(const CXform* other) const {
  if (!IsRealXform(other) || XformsEquivalent(other, this)) return nullptr;
  SmartRef<CXform> relative = new CXform(srcRect, srcRect);
  Point ignored;
  XformMatrix otherInverse;
  if (!DiffersByTranslation(other, &ignored) && other->GetInverseMatrix(&otherInverse))
    relative->Decompose(MultiplyMatrices(GetScaledMatrix(), otherInverse));
  const Point corner = other->dstRect.TopLeft();
  Point before = corner;
  if (const SmartRef<Transform> inverse = other->Inverse()) before = inverse->TransformPoint(corner);
  relative->MoveOriginTo(corner, TransformPoint(before), true);
  return relative;
}

bool CXform::IsUnrotated() const { return IsWholeTurn(rotation) && IsWholeTurn(skew); }

bool CXform::IsTranslationOnly() const {
  return IsUnrotated() && srcRect.Width() == dstRect.Width() && srcRect.Height() == dstRect.Height();
}

bool CXform::SameAngles(const CXform* other) const {
  if (!IsRealXform(other)) return IsUnrotated();
  return IsWholeTurn(other->rotation - rotation) && IsWholeTurn(other->skew - skew);
}

Rect CXform::ThroughAndBack(const CXform& other) const {
  Rect r = srcRect;
  if (!other.srcRect.IsEmpty()) r.Map(other.srcRect, other.dstRect);
  if (!dstRect.IsEmpty()) r.Map(dstRect, srcRect);
  return r;
}

bool CXform::IsEquivalent(const CXform* other) const {
  if (other == hiddenFrameXform) return false;
  if (other == nullptr) return IsTranslationOnly() && srcRect == dstRect;
  return SameAngles(other) && ThroughAndBack(*other) == srcRect;
}

bool CXform::DiffersByTranslation(const CXform* other, Point* difference) const {
  *difference = Point::origin;
  // A transform that maps nothing, or shows nothing, is no moved copy of another: a frame given one must
  // take it, not keep a transform that shows the image.
  if (other == hiddenFrameXform || srcRect.IsEmpty() || dstRect.IsEmpty()) return false;
  if (other == nullptr) {
    if (!IsTranslationOnly()) return false;
    *difference = srcRect.TopLeft() - dstRect.TopLeft();
    return true;
  }
  if (!SameAngles(other) || ThroughAndBack(*other).Size() != srcRect.Size()) return false;
  Point corner = srcRect.TopLeft();
  if (!other->srcRect.IsEmpty()) corner.Map(other->srcRect, other->dstRect);
  *difference = corner - dstRect.TopLeft();
  return true;
}

void CXform::Offset(std::int32_t dx, std::int32_t dy) {
  dstRect.Offset(dx, dy);
  clipRect.Offset(dx, dy);
}

void CXform::MoveOriginTo(const Point& source, const Point& target, bool alsoClip) {
  const Point d = target - TransformPoint(source);
  dstRect.Offset(d.x, d.y);
  if (alsoClip && !clipRect.IsEmpty()) clipRect.Offset(d.x, d.y);
}

void CXform::Refit(const Rect& newSource, const Rect& newDestination) {
  if (!dstRect.IsEmpty() && !clipRect.IsEmpty()) clipRect.Map(dstRect, srcRect);
  if (srcRect.IsEmpty()) srcRect = newSource;
  // With the source as destination only the matrix acts: the new source is the corners of the given one
  // turned and skewed, put back in order, since a quarter or half turn takes them past each other and a
  // source with its bottom above its top is empty: the frame would lose its turn.
  dstRect = srcRect;
  srcRect = MapRect(newSource);
  dstRect = newDestination;
  if (!srcRect.IsEmpty() && !clipRect.IsEmpty()) clipRect.Map(srcRect, dstRect);
}

bool CXform::GetClip(Rect* clip) const {
  *clip = clipRect;
  return !clipRect.IsEmpty();
}

void CXform::GetSizes(Point* sourceSize, Point* destinationSize) const {
  *sourceSize = srcRect.Size();
  *destinationSize = dstRect.Size();
}

XformMatrix CXform::MakeMatrix() const {
  // Whole turns are left out, so that angles a turn apart give the very same matrix and round points alike.
  const double a = WithinTurn(rotation + skew) * kRadiansPerDegree;
  const double b = WithinTurn(skew - rotation) * kRadiansPerDegree;
  XformMatrix m{1, 0, 0, 1};
  if (a != 0) m[0] = std::cos(a), m[1] = std::sin(a);
  if (b != 0) m[2] = std::sin(b), m[3] = std::cos(b);
  return m;
}

XformMatrix CXform::GetScaledMatrix() const {
  XformMatrix m = MakeMatrix();
  if (srcRect.Width() != 0) {
    const double ratio = static_cast<double>(dstRect.Width()) / srcRect.Width();
    m[0] *= ratio;
    m[1] *= ratio;
  }
  if (srcRect.Height() != 0) {
    const double ratio = static_cast<double>(dstRect.Height()) / srcRect.Height();
    m[2] *= ratio;
    m[3] *= ratio;
  }
  return m;
}

bool CXform::GetInverseMatrix(XformMatrix* inverse) const {
  *inverse = GetScaledMatrix();
  return InvertMatrix(inverse);
}

void CXform::Decompose(const XformMatrix& m) {
  const double a = Atan2(m[2], m[3]);
  const double b = Atan2(m[1], m[0]);
  // Each row is its scale times (cos, sin) of its angle, so the scale is the row's length. Dividing a row
  // entry by the cosine or sine of the angle says the same in theory, but near a quarter turn both are
  // nearly 0, and with pi cut short the quotient came out 0: the image lost its width.
  const double width = srcRect.Width() * std::hypot(m[0], m[1]);
  const double height = srcRect.Height() * std::hypot(m[2], m[3]);
  dstRect = Rect::FromSizeAndOrigin({Round(width), Round(height)}, dstRect.TopLeft());

  // The turn from the present rotation, brought into [-180, 180).
  const std::int32_t turn = WithinTurn(Round((b - a) / (2 * kRadiansPerDegree) - rotation));
  rotation = Angle(rotation + turn);
  std::int32_t newSkew = Round((a + b) / (2 * kRadiansPerDegree));
  if (newSkew < 0) newSkew += 360;
  skew = Angle(newSkew);
}

bool XformsEquivalent(const CXform* a, const CXform* b) {
  if (a == b) return true;
  if (IsRealXform(a)) return a->IsEquivalent(b);
  if (!IsRealXform(b)) return false;
  return b->IsEquivalent(a);
}

Point ApplyMatrix(const XformMatrix& m, std::int32_t x, std::int32_t y) {
  return {Round(m[0] * x + m[1] * y), Round(m[2] * x + m[3] * y)};
}

XformMatrix MultiplyMatrices(const XformMatrix& a, const XformMatrix& b) {
  return {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3], a[2] * b[0] + a[3] * b[2], a[2] * b[1] + a[3] * b[3]};
}

double MatrixDeterminant(const XformMatrix& m) { return m[0] * m[3] - m[1] * m[2]; }

bool InvertMatrix(XformMatrix* m) {
  const double determinant = MatrixDeterminant(*m);
  if (determinant == 0) return false;
  const XformMatrix o = *m;
  *m = {o[3] / determinant, -o[1] / determinant, -o[2] / determinant, o[0] / determinant};
  return true;
}

double Atan2(double y, double x) {
  if (y == 0) return x < 0 ? kPi : 0;
  if (x == 0) return y > 0 ? kPi * 0.5 : kPi * -0.5;
  const double angle = std::atan(y / x);
  if (x < 0 && y > 0) return angle + kPi;
  if (x < 0 && y < 0) return angle - kPi;
  return angle;
}
