#include "platform/user/RectList.h"

#include <algorithm>

namespace platform {

bool IsRectEmptyValue(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsRectEmptyValue(r)) return RECT{0, 0, 0, 0};
  return r;
}

RECT OffsetRectValue(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

namespace {
// The parts of r outside cut, as at most four disjoint rectangles.
void AppendDifference(const RECT& r, const RECT& cut, std::vector<RECT>& out) {
  const RECT inner = IntersectRects(r, cut);
  if (IsRectEmptyValue(inner)) {
    out.push_back(r);
    return;
  }
  if (r.top < inner.top) out.push_back({r.left, r.top, r.right, inner.top});
  if (inner.bottom < r.bottom) out.push_back({r.left, inner.bottom, r.right, r.bottom});
  if (r.left < inner.left) out.push_back({r.left, inner.top, inner.left, inner.bottom});
  if (inner.right < r.right) out.push_back({inner.right, inner.top, r.right, inner.bottom});
}
}  // namespace

RECT RectList::Bounds() const {
  if (rects.empty()) return RECT{0, 0, 0, 0};
  RECT b = rects.front();
  for (const RECT& r : rects) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

bool RectList::Contains(int x, int y) const {
  return std::any_of(rects.begin(), rects.end(),
                     [&](const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; });
}

long long RectList::AreaSize() const {
  long long total = 0;
  for (const RECT& r : rects) total += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  return total;
}

void RectList::Add(const RECT& r) {
  if (IsRectEmptyValue(r)) return;
  // Only the parts not already covered are added, so the list stays disjoint.
  std::vector<RECT> pieces{r};
  for (const RECT& existing : rects) {
    std::vector<RECT> next;
    for (const RECT& piece : pieces) AppendDifference(piece, existing, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  rects.insert(rects.end(), pieces.begin(), pieces.end());
}

void RectList::Add(const RectList& other) {
  for (const RECT& r : other.rects) Add(r);
}

void RectList::Subtract(const RECT& cut) {
  if (IsRectEmptyValue(cut)) return;
  std::vector<RECT> next;
  next.reserve(rects.size());
  for (const RECT& r : rects) AppendDifference(r, cut, next);
  rects.swap(next);
}

void RectList::Subtract(const RectList& other) {
  for (const RECT& r : other.rects) Subtract(r);
}

void RectList::Intersect(const RECT& clip) {
  std::vector<RECT> next;
  for (const RECT& r : rects) {
    const RECT inner = IntersectRects(r, clip);
    if (!IsRectEmptyValue(inner)) next.push_back(inner);
  }
  rects.swap(next);
}

void RectList::Intersect(const RectList& other) {
  std::vector<RECT> next;
  for (const RECT& a : rects) {
    for (const RECT& b : other.rects) {
      const RECT inner = IntersectRects(a, b);
      if (!IsRectEmptyValue(inner)) next.push_back(inner);
    }
  }
  rects.swap(next);
}

void RectList::Offset(int dx, int dy) {
  for (RECT& r : rects) r = OffsetRectValue(r, dx, dy);
}

bool RectList::SameArea(const RectList& other) const {
  RectList a = *this;
  a.Subtract(other);
  RectList b = other;
  b.Subtract(*this);
  return a.Empty() && b.Empty();
}

}  // namespace platform
