// An area of the window system (update areas, visible areas): the drawing layer's region, with the few
// operations the window system needs, as values.
#pragma once

#include <vector>

#include "platform/gdi/raster/Region.h"
#include "platform/kernel/WinTypes.h"

namespace platform {

// Areas reach no further than this from the origin, however large the rectangles callers give (a caller's
// "everything" of the whole integer range), so that moving them between coordinate systems cannot overflow.
constexpr LONG kAreaLimit = 0x4000000;

class RectList {
 public:
  RectList() = default;
  explicit RectList(const RECT& r) : region(Limited(r)) {}

  bool Empty() const { return region.IsEmpty(); }
  // Disjoint, top band first.
  const std::vector<RECT>& Rects() const { return region.Rects(); }
  RECT Bounds() const { return region.Box(); }
  bool Contains(int x, int y) const { return region.Contains(x, y); }
  long long AreaSize() const;

  void Clear() { region = gdi::Region(); }
  void Add(const RECT& r) { Add(RectList(r)); }
  void Add(const RectList& other) { Combine(other, RGN_OR); }
  void Subtract(const RECT& r) { Subtract(RectList(r)); }
  void Subtract(const RectList& other) { Combine(other, RGN_DIFF); }
  void Intersect(const RECT& r) { Intersect(RectList(r)); }
  void Intersect(const RectList& other) { Combine(other, RGN_AND); }
  void Offset(int dx, int dy) { region.Offset(dx, dy); }

  // Same set of pixels (regions are kept in one canonical form).
  bool SameArea(const RectList& other) const { return region == other.region; }

 private:
  static RECT Limited(const RECT& r);
  void Combine(const RectList& other, int mode) { region = gdi::Region::Combine(region, other.region, mode); }
  gdi::Region region;
};

}  // namespace platform
