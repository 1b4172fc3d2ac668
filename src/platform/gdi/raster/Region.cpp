#include "platform/gdi/raster/Region.h"

#include <algorithm>
#include <climits>

namespace platform::gdi {

bool IsEmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsEmptyRect(r)) r = RECT{0, 0, 0, 0};
  return r;
}

RECT MovedRect(const RECT& r, POINT by) { return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

Region::Region(const RECT& rect) {
  if (!IsEmptyRect(rect)) rects.push_back(rect);
}

RECT BoundsOf(const std::vector<RECT>& rects) {
  if (rects.empty()) return RECT{0, 0, 0, 0};
  RECT box{INT_MAX, rects.front().top, INT_MIN, rects.back().bottom};
  for (const RECT& r : rects) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  return box;
}

RECT Region::Box() const { return BoundsOf(rects); }

bool Region::Contains(int x, int y) const {
  for (const RECT& r : rects) {
    if (r.top > y) break;
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}

bool Region::Overlaps(const RECT& rect) const {
  for (const RECT& r : rects) {
    if (r.top >= rect.bottom) break;
    if (r.bottom > rect.top && r.left < rect.right && rect.left < r.right) return true;
  }
  return false;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

bool operator==(const Region& a, const Region& b) {
  return a.rects.size() == b.rects.size() &&
         std::equal(a.rects.begin(), a.rects.end(), b.rects.begin(), [](const RECT& p, const RECT& q) {
           return p.left == q.left && p.top == q.top && p.right == q.right && p.bottom == q.bottom;
         });
}

namespace {

using Spans = std::vector<std::pair<int, int>>;

// Appends one band, joining it to the band above when that one touches it and has the same columns.
void AppendBand(std::vector<RECT>& out, std::size_t& lastBandStart, int top, int bottom, const Spans& spans) {
  if (spans.empty() || top >= bottom) return;
  std::size_t lastCount = out.size() - lastBandStart;
  if (lastCount == spans.size() && lastCount > 0 && out[lastBandStart].bottom == top) {
    bool same = true;
    for (std::size_t i = 0; i < lastCount && same; ++i) {
      same = out[lastBandStart + i].left == spans[i].first && out[lastBandStart + i].right == spans[i].second;
    }
    if (same) {
      for (std::size_t i = lastBandStart; i < out.size(); ++i) out[i].bottom = bottom;
      return;
    }
  }
  lastBandStart = out.size();
  for (const auto& [l, r] : spans) out.push_back(RECT{l, top, r, bottom});
}

// Combines two sorted lists of disjoint, non-touching runs.
void CombineSpans(const Spans& a, const Spans& b, int mode, Spans& out) {
  out.clear();
  std::size_t i = 0, j = 0;
  bool inA = false, inB = false;
  int start = 0;
  bool inside = false;
  auto want = [mode](bool x, bool y) {
    switch (mode) {
      case RGN_AND: return x && y;
      case RGN_OR: return x || y;
      case RGN_XOR: return x != y;
      default: return x && !y;
    }
  };
  // Walk every run boundary of both lists from left to right.
  while (i < 2 * a.size() || j < 2 * b.size()) {
    int xa = i < 2 * a.size() ? (i % 2 ? a[i / 2].second : a[i / 2].first) : INT_MAX;
    int xb = j < 2 * b.size() ? (j % 2 ? b[j / 2].second : b[j / 2].first) : INT_MAX;
    int x = std::min(xa, xb);
    if (xa == x) { inA = !(i % 2); ++i; }
    if (xb == x) { inB = !(j % 2); ++j; }
    bool now = want(inA, inB);
    if (now && !inside) {
      start = x;
    } else if (!now && inside && x > start) {
      if (!out.empty() && out.back().second == start) out.back().second = x;
      else out.emplace_back(start, x);
    }
    inside = now;
  }
}

void BandSpans(const std::vector<RECT>& rects, std::size_t begin, std::size_t end, Spans& out) {
  out.clear();
  for (std::size_t k = begin; k < end; ++k) out.emplace_back(rects[k].left, rects[k].right);
}

}  // namespace

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  Region result;
  const auto& ra = a.rects;
  const auto& rb = b.rects;
  // Band boundaries of both operands, in order.
  std::vector<int> ys;
  ys.reserve(2 * (ra.size() + rb.size()));
  for (const RECT& r : ra) { ys.push_back(r.top); ys.push_back(r.bottom); }
  for (const RECT& r : rb) { ys.push_back(r.top); ys.push_back(r.bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  std::size_t ia = 0, ib = 0, lastBand = 0;
  Spans sa, sb, out;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    int y0 = ys[k], y1 = ys[k + 1];
    while (ia < ra.size() && ra[ia].bottom <= y0) ++ia;
    while (ib < rb.size() && rb[ib].bottom <= y0) ++ib;
    std::size_t ea = ia, eb = ib;
    if (ia < ra.size() && ra[ia].top <= y0) {
      while (ea < ra.size() && ra[ea].top == ra[ia].top) ++ea;
    }
    if (ib < rb.size() && rb[ib].top <= y0) {
      while (eb < rb.size() && rb[eb].top == rb[ib].top) ++eb;
    }
    BandSpans(ra, ia, ea, sa);
    BandSpans(rb, ib, eb, sb);
    CombineSpans(sa, sb, mode, out);
    AppendBand(result.rects, lastBand, y0, y1, out);
  }
  return result;
}

SpanCollector::SpanCollector(int top, int bottom) : top(top), rows(bottom > top ? bottom - top : 0) {}

void SpanCollector::Add(int y, int x0, int x1) {
  if (x0 >= x1 || y < top || y - top >= static_cast<int>(rows.size())) return;
  rows[y - top].emplace_back(x0, x1);
}

Region SpanCollector::ToRegion() {
  Region region;
  std::size_t lastBand = 0;
  Spans merged;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    auto& row = rows[k];
    std::sort(row.begin(), row.end());
    merged.clear();
    for (const auto& s : row) {
      if (!merged.empty() && s.first <= merged.back().second) merged.back().second = std::max(merged.back().second, s.second);
      else merged.push_back(s);
    }
    int y = top + static_cast<int>(k);
    AppendBand(region.rects, lastBand, y, y + 1, merged);
  }
  return region;
}

}  // namespace platform::gdi
