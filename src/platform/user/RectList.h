// An area of the window system (update areas, visible areas) as a list of disjoint rectangles.
#pragma once

#include <vector>

#include "platform/kernel/WinTypes.h"

namespace platform {

bool IsRectEmptyValue(const RECT& r);
RECT IntersectRects(const RECT& a, const RECT& b);
RECT OffsetRectValue(RECT r, int dx, int dy);

class RectList {
 public:
  RectList() = default;
  explicit RectList(const RECT& r) { Add(r); }

  bool Empty() const { return rects.empty(); }
  const std::vector<RECT>& Rects() const { return rects; }
  RECT Bounds() const;
  bool Contains(int x, int y) const;
  long long AreaSize() const;

  void Clear() { rects.clear(); }
  void Add(const RECT& r);
  void Add(const RectList& other);
  void Subtract(const RECT& r);
  void Subtract(const RectList& other);
  void Intersect(const RECT& r);
  void Intersect(const RectList& other);
  void Offset(int dx, int dy);

  // Same set of pixels, whatever the split into rectangles.
  bool SameArea(const RectList& other) const;

 private:
  std::vector<RECT> rects;  // disjoint, none empty
};

}  // namespace platform
