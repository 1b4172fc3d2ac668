// Integer points and half-open rectangles: the geometry of the whole program. Plain values; in streams a
// point is two 32-bit fields and a rectangle four, in declaration order.
#pragma once

#include <cstdint>

struct Rect;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;

  static const Point origin;

  constexpr Point() = default;
  constexpr Point(std::int32_t x, std::int32_t y) : x(x), y(y) {}

  Point operator+(const Point& d) const { return {x + d.x, y + d.y}; }
  Point operator-(const Point& d) const { return {x - d.x, y - d.y}; }
  // Each coordinate scaled and rounded half away from zero.
  Point operator*(double factor) const;
  friend bool operator==(const Point&, const Point&) = default;
  // Clamps into the rectangle, right and bottom included.
  void Constrain(const Rect& r);
  // Maps the point from the source rectangle's space to the destination's, scaling each axis.
  void Map(const Rect& source, const Rect& destination);
};

// Half-open: (x, y) is inside when left <= x < right and top <= y < bottom.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  static const Rect emptyRect;

  constexpr Rect() = default;
  constexpr Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
      : left(l), top(t), right(r), bottom(b) {}
  static Rect FromSizeAndOrigin(const Point& size, const Point& topLeft);
  static Rect FromSizeAndCenter(const Point& size, const Point& center);

  Point TopLeft() const { return {left, top}; }
  Point BottomRight() const { return {right, bottom}; }
  Point Size() const { return {right - left, bottom - top}; }
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  Point Center() const { return {(left + right) / 2, (top + bottom) / 2}; }
  bool IsEmpty() const { return top >= bottom || left >= right; }
  bool Contains(std::int32_t x, std::int32_t y) const { return top <= y && y < bottom && left <= x && x < right; }
  bool Contains(const Point& p) const { return Contains(p.x, p.y); }
  // Rectangles that only touch along an edge do not overlap.
  bool Overlaps(const Rect& o) const { return top < o.bottom && o.top < bottom && left < o.right && o.left < right; }
  friend bool operator==(const Rect&, const Rect&) = default;

  void Offset(std::int32_t dx, std::int32_t dy);
  void Inset(std::int32_t n);
  void CenterAt(const Point& center);
  void CenterOn(const Rect& other) { CenterAt(other.Center()); }
  // emptyRect when the result is empty.
  Rect Intersect(const Rect& other) const;
  // Empty operands count: emptyRect united with {10, 10, 20, 20} is {0, 0, 20, 20}.
  Rect Union(const Rect& other) const;
  void Map(const Rect& source, const Rect& destination);
  // A rectangle of the other's proportions centred on this one: the largest inside it, or with inside
  // false the smallest that covers it.
  Rect FitAspect(const Rect& other, bool inside) const;
};
