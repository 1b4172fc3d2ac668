#include "core/Geometry.h"

#include <algorithm>

#include "core/Utilities.h"

const Point Point::origin{0, 0};
const Rect Rect::emptyRect{0, 0, 0, 0};

namespace {
// A zero source size would divide by zero; such a map keeps the point on the destination's edge instead.
double Ratio(std::int32_t to, std::int32_t from) { return from == 0 ? 0.0 : static_cast<double>(to) / from; }
}  // namespace

Point Point::operator*(double factor) const { return {Round(x * factor), Round(y * factor)}; }

void Point::Constrain(const Rect& r) {
  if (x < r.left) x = r.left;
  else if (x > r.right) x = r.right;
  if (y < r.top) y = r.top;
  else if (y > r.bottom) y = r.bottom;
}

void Point::Map(const Rect& source, const Rect& destination) {
  const Point d = *this - source.TopLeft();
  if (d == origin) {
    *this = destination.TopLeft();
    return;
  }
  x = Round(d.x * Ratio(destination.Width(), source.Width()) + destination.left);
  y = Round(d.y * Ratio(destination.Height(), source.Height()) + destination.top);
}

Rect Rect::FromSizeAndOrigin(const Point& size, const Point& topLeft) {
  return {topLeft.x, topLeft.y, topLeft.x + size.x, topLeft.y + size.y};
}

Rect Rect::FromSizeAndCenter(const Point& size, const Point& center) {
  const std::int32_t l = center.x - size.x / 2;
  const std::int32_t t = center.y - size.y / 2;
  return {l, t, l + size.x, t + size.y};
}

void Rect::Offset(std::int32_t dx, std::int32_t dy) {
  left += dx;
  right += dx;
  top += dy;
  bottom += dy;
}

void Rect::Inset(std::int32_t n) {
  left += n;
  top += n;
  right -= n;
  bottom -= n;
}

void Rect::CenterAt(const Point& center) {
  const Point d = center - Center();
  Offset(d.x, d.y);
}

Rect Rect::Intersect(const Rect& o) const {
  const Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  return r.IsEmpty() ? emptyRect : r;
}

Rect Rect::Union(const Rect& o) const {
  const Rect r{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  return r.IsEmpty() ? emptyRect : r;
}

void Rect::Map(const Rect& source, const Rect& destination) {
  if (*this == source) {
    *this = destination;
    return;
  }
  const double sx = Ratio(destination.Width(), source.Width());
  const double sy = Ratio(destination.Height(), source.Height());
  // The bottom-right corner maps relative to the bottom-right corners, so that rectangles sharing the
  // source's right or bottom edge land exactly on the destination's.
  *this = {Round((left - source.left) * sx + destination.left), Round((top - source.top) * sy + destination.top),
           Round((right - source.right) * sx + destination.right),
           Round((bottom - source.bottom) * sy + destination.bottom)};
}

Rect Rect::FitAspect(const Rect& other, bool inside) const {
  const double rx = Ratio(Width(), other.Width());
  const double ry = Ratio(Height(), other.Height());
  const double ratio = inside ? std::min(rx, ry) : std::max(rx, ry);
  return FromSizeAndCenter(other.Size() * ratio, Center());
}
