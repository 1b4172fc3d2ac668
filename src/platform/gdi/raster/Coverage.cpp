#include "platform/gdi/raster/Coverage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace platform::gdi {

namespace {
// Boundary pixels belong to the top and left sides of a shape.
constexpr double kBias = 1e-7;
// Curves of wide pens are followed by at most this many points.
constexpr int kMaxPathPoints = 8192;

int FirstPixel(double lo) { return static_cast<int>(std::ceil(lo - kBias)); }
int EndPixel(double hi) { return static_cast<int>(std::ceil(hi - kBias)); }
}  // namespace

SpanCollector CollectorFor(const RECT& window) { return SpanCollector(window.top - 1, window.bottom + 1); }

void AddThinLine(SpanCollector& spans, POINT from, POINT to, const RECT& window) {
  long long dx = static_cast<long long>(to.x) - from.x, dy = static_cast<long long>(to.y) - from.y;
  long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  long long steps = std::max(adx, ady);
  if (steps == 0) return;
  // Only the steps whose major coordinate lies in the window (with a pixel to spare) are walked.
  bool xMajor = adx >= ady;
  long long start = xMajor ? from.x : from.y, direction = (xMajor ? dx : dy) > 0 ? 1 : -1;
  long long low = (xMajor ? window.left : window.top) - 1, high = (xMajor ? window.right : window.bottom) + 1;
  long long first = 0, last = steps - 1;
  if (direction > 0) {
    first = std::max(first, low - start);
    last = std::min(last, high - start);
  } else {
    first = std::max(first, start - high);
    last = std::min(last, start - low);
  }
  // Steps along the major axis; the minor coordinate is the nearest one, halves rounded away from the
  // start.
  for (long long i = first; i <= last; ++i) {
    long long x, y;
    if (xMajor) {
      x = from.x + direction * i;
      long long num = i * dy * 2;
      y = from.y + (num + (num >= 0 ? adx : -adx)) / (2 * adx);
    } else {
      y = from.y + direction * i;
      long long num = i * dx * 2;
      x = from.x + (num + (num >= 0 ? ady : -ady)) / (2 * ady);
    }
    spans.Add(static_cast<int>(y), static_cast<int>(x), static_cast<int>(x) + 1);
  }
}

namespace {

// The x-interval of points of row y within distance r of the segment a-b.
bool CapsuleRow(PointF a, PointF b, double r, double y, double& lo, double& hi) {
  lo = std::numeric_limits<double>::infinity();
  hi = -lo;
  auto disc = [&](PointF c) {
    double d = y - c.y;
    if (std::abs(d) <= r) {
      double s = std::sqrt(r * r - d * d);
      lo = std::min(lo, c.x - s);
      hi = std::max(hi, c.x + s);
    }
  };
  disc(a);
  disc(b);
  double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
  if (length > 0) {
    double nx = -dy / length * r, ny = dx / length * r;
    PointF quad[4] = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    for (int i = 0; i < 4; ++i) {
      PointF p = quad[i], q = quad[(i + 1) % 4];
      if (y < std::min(p.y, q.y) || y > std::max(p.y, q.y)) continue;
      if (p.y == q.y) {
        lo = std::min({lo, p.x, q.x});
        hi = std::max({hi, p.x, q.x});
      } else {
        double x = p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y);
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
    }
  }
  return lo <= hi;
}

}  // namespace

Region StrokePath(const std::vector<PointF>& path, bool closed, int width, const RECT& window) {
  if (path.empty()) return Region();
  double r = width / 2.0;
  SpanCollector spans = CollectorFor(window);
  std::size_t segments = path.size() == 1 ? 1 : (closed ? path.size() : path.size() - 1);
  for (std::size_t i = 0; i < segments; ++i) {
    PointF a = path[i], b = path[(i + 1) % path.size()];
    double y0 = std::max(std::floor(std::min(a.y, b.y) - r), window.top - 1.0);
    double y1 = std::min(std::ceil(std::max(a.y, b.y) + r), window.bottom + 1.0);
    for (int y = static_cast<int>(y0); y <= static_cast<int>(y1) && y0 <= y1; ++y) {
      double lo, hi;
      if (!CapsuleRow(a, b, r, y + kBias, lo, hi)) continue;
      lo = std::max(lo, window.left - 2.0);
      hi = std::min(hi, window.right + 2.0);
      if (lo < hi) spans.Add(y, FirstPixel(lo), EndPixel(hi));
    }
  }
  return spans.ToRegion();
}

namespace {

// The leftmost pixel of row y of the ellipse in the inclusive box.
int EllipseLeft(int left, int top, int right, int bottom, int y) {
  double cx = (static_cast<double>(left) + right) / 2, cy = (static_cast<double>(top) + bottom) / 2;
  double dy = y - cy;
  if (std::abs(dy) <= 0.5) return left;
  // The ellipse through the outer edges of the box's border pixels, so that small ellipses come out round.
  double a = (static_cast<double>(right) - left) / 2 + 0.5, b = (static_cast<double>(bottom) - top) / 2 + 0.5;
  double t = dy / b;
  double half = a * std::sqrt(std::max(0.0, 1.0 - t * t));
  int xl = static_cast<int>(std::ceil(cx - half - kBias));
  return std::max(left, std::min(xl, static_cast<int>(std::floor(cx))));
}

// The rows of a shape's box that are worth computing: the window's, and one more on each side.
RowShape RowsFor(int top, int bottom, const RECT& window) {
  RowShape shape;
  shape.shapeTop = top;
  shape.shapeBottom = bottom;
  shape.top = std::max(top, static_cast<int>(window.top) - 1);
  int last = std::min(bottom, static_cast<int>(window.bottom));
  if (last >= shape.top) shape.rows.reserve(static_cast<std::size_t>(last - shape.top + 1));
  return shape;
}

int LastRow(const RowShape& shape, const RECT& window) { return std::min(shape.shapeBottom, static_cast<int>(window.bottom)); }

}  // namespace

RowShape EllipseRows(int left, int top, int right, int bottom, const RECT& window) {
  if (right < left || bottom < top) return RowShape{};
  RowShape shape = RowsFor(top, bottom, window);
  for (int y = shape.top; y <= LastRow(shape, window); ++y) {
    int xl = EllipseLeft(left, top, right, bottom, y);
    shape.rows.emplace_back(xl, left + right - xl);
  }
  return shape;
}

RowShape RoundRectRows(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                       const RECT& window) {
  if (right < left || bottom < top) return RowShape{};
  cornerWidth = std::min(cornerWidth, right - left + 1);
  cornerHeight = std::min(cornerHeight, bottom - top + 1);
  RowShape shape = RowsFor(top, bottom, window);
  bool square = cornerWidth < 2 || cornerHeight < 2;
  int half = (cornerHeight - 1) / 2;
  for (int y = shape.top; y <= LastRow(shape, window); ++y) {
    // Rows within the corners take the corner ellipse's row at the same distance from the edge.
    int k = -1;
    if (!square && y - top <= half) k = y - top;
    else if (!square && bottom - y <= half) k = bottom - y;
    int xl = k >= 0 ? EllipseLeft(left, top, left + cornerWidth - 1, top + cornerHeight - 1, top + k) : left;
    shape.rows.emplace_back(xl, left + right - xl);
  }
  return shape;
}

Region ShapeArea(const RowShape& shape) {
  SpanCollector spans(shape.top, shape.top + static_cast<int>(shape.rows.size()));
  for (std::size_t i = 0; i < shape.rows.size(); ++i) {
    spans.Add(shape.top + static_cast<int>(i), shape.rows[i].first, shape.rows[i].second + 1);
  }
  return spans.ToRegion();
}

Region ShapeOutline(const RowShape& shape) {
  int n = static_cast<int>(shape.rows.size());
  SpanCollector spans(shape.top, shape.top + n);
  for (int i = 0; i < n; ++i) {
    auto [xl, xr] = shape.rows[static_cast<std::size_t>(i)];
    int y = shape.top + i;
    // The neighbour towards the nearer edge is the narrower one: reach it so that the outline is closed.
    int outer = y - shape.shapeTop <= shape.shapeBottom - y ? i - 1 : i + 1;
    if (y == shape.shapeTop || y == shape.shapeBottom || outer < 0 || outer >= n) {
      spans.Add(y, xl, xr + 1);
      continue;
    }
    auto [ol, orr] = shape.rows[static_cast<std::size_t>(outer)];
    int leftEnd = std::max(xl, ol - 1), rightStart = std::min(xr, orr + 1);
    if (leftEnd + 1 >= rightStart) {
      spans.Add(y, xl, xr + 1);
    } else {
      spans.Add(y, xl, leftEnd + 1);
      spans.Add(y, rightStart, xr + 1);
    }
  }
  return spans.ToRegion();
}

std::vector<PointF> EllipsePath(int left, int top, int right, int bottom) {
  double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  double a = (right - left) / 2.0, b = (bottom - top) / 2.0;
  int count = std::clamp(static_cast<int>(std::ceil((a + b) * 2)), 16, kMaxPathPoints);
  std::vector<PointF> path;
  for (int i = 0; i < count; ++i) {
    double t = 2 * std::numbers::pi * i / count;
    path.push_back(PointF{cx + a * std::cos(t), cy + b * std::sin(t)});
  }
  return path;
}

std::vector<PointF> RoundRectPath(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  double a = std::min(cornerWidth, right - left + 1) / 2.0, b = std::min(cornerHeight, bottom - top + 1) / 2.0;
  a = std::max(0.0, a - 0.5);
  b = std::max(0.0, b - 0.5);
  // Corner centres, clockwise from the top right.
  PointF centres[4] = {{right - a, top + b}, {right - a, bottom - b}, {left + a, bottom - b}, {left + a, top + b}};
  int steps = std::clamp(static_cast<int>(std::ceil(a + b)), 4, kMaxPathPoints / 4);
  std::vector<PointF> path;
  for (int c = 0; c < 4; ++c) {
    for (int i = 0; i <= steps; ++i) {
      double t = std::numbers::pi / 2 * (c - 1 + static_cast<double>(i) / steps);
      path.push_back(PointF{centres[c].x + a * std::cos(t), centres[c].y + b * std::sin(t)});
    }
  }
  return path;
}

Region PolygonArea(const POINT* points, int count, const RECT& window) {
  if (count < 3) return Region();
  int top = points[0].y, bottom = points[0].y;
  for (int i = 0; i < count; ++i) {
    top = std::min(top, static_cast<int>(points[i].y));
    bottom = std::max(bottom, static_cast<int>(points[i].y));
  }
  top = std::max(top, static_cast<int>(window.top) - 1);
  bottom = std::min(bottom, static_cast<int>(window.bottom) + 1);
  SpanCollector spans(top, bottom);
  std::vector<double> crossings;
  for (int y = top; y < bottom; ++y) {
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      POINT p = points[i], q = points[(i + 1) % count];
      if (p.y == q.y) continue;
      if (p.y > q.y) std::swap(p, q);
      if (y < p.y || y >= q.y) continue;
      crossings.push_back(p.x + static_cast<double>(y - p.y) * (static_cast<double>(q.x) - p.x) / (q.y - p.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      double lo = std::max(crossings[k], window.left - 2.0), hi = std::min(crossings[k + 1], window.right + 2.0);
      if (lo < hi) spans.Add(y, FirstPixel(lo), EndPixel(hi));
    }
  }
  return spans.ToRegion();
}

}  // namespace platform::gdi
