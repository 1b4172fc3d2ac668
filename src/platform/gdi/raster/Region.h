// Sets of pixels as bands of rectangles (internal to the drawing layer).
#pragma once

#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform::gdi {

// Canonical form: bands from top to bottom, every rectangle of a band with the band's top and bottom,
// sorted left to right without touching; two touching bands never have the same columns. Equal sets of
// pixels therefore have equal rectangle lists.
class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rect);

  bool IsEmpty() const { return rects.empty(); }
  const std::vector<RECT>& Rects() const { return rects; }
  RECT Box() const;
  int Kind() const { return rects.empty() ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION; }
  bool Contains(int x, int y) const;
  bool Overlaps(const RECT& rect) const;
  void Offset(int dx, int dy);

  static Region Combine(const Region& a, const Region& b, int mode);

  friend bool operator==(const Region& a, const Region& b);

 private:
  friend class SpanCollector;
  std::vector<RECT> rects;
};

// Gathers horizontal runs row by row (in any order, overlapping freely) and makes a region of their union.
class SpanCollector {
 public:
  SpanCollector(int top, int bottom);
  // Adds the pixels [x0, x1) of row y; rows outside the collector's range are dropped.
  void Add(int y, int x0, int x1);
  Region ToRegion();

 private:
  int top;
  std::vector<std::vector<std::pair<int, int>>> rows;
};

bool IsEmptyRect(const RECT& r);
// The bounds of banded rectangles; {0, 0, 0, 0} for none.
RECT BoundsOf(const std::vector<RECT>& rects);
RECT IntersectRects(const RECT& a, const RECT& b);
// The rectangle moved by an offset.
RECT MovedRect(const RECT& r, POINT by);

}  // namespace platform::gdi
