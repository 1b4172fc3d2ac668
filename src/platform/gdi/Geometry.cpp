#include "platform/gdi/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace platform::gdi {

namespace {
// Boundary pixels belong to the top and left sides of a shape.
constexpr double kBias = 1e-7;

int FirstPixel(double lo) { return static_cast<int>(std::ceil(lo - kBias)); }
int EndPixel(double hi) { return static_cast<int>(std::ceil(hi - kBias)); }
}  // namespace

void ThinLineRows(POINT from, POINT to, int& top, int& bottom) {
  top = std::min(from.y, to.y);
  bottom = std::max(from.y, to.y) + 1;
}

void AddThinLine(SpanCollector& spans, POINT from, POINT to) {
  int dx = to.x - from.x, dy = to.y - from.y;
  int adx = std::abs(dx), ady = std::abs(dy);
  int steps = std::max(adx, ady);
  // Steps along the major axis; the minor coordinate is the nearest one, halves rounded away from the
  // start.
  for (int i = 0; i < steps; ++i) {
    int x, y;
    if (adx >= ady) {
      x = from.x + (dx > 0 ? i : -i);
      long long num = static_cast<long long>(i) * dy * 2;
      long long q = (num + (num >= 0 ? adx : -adx)) / (2LL * adx);
      y = from.y + static_cast<int>(q);
    } else {
      y = from.y + (dy > 0 ? i : -i);
      long long num = static_cast<long long>(i) * dx * 2;
      long long q = (num + (num >= 0 ? ady : -ady)) / (2LL * ady);
      x = from.x + static_cast<int>(q);
    }
    spans.Add(y, x, x + 1);
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

Region StrokePath(const std::vector<PointF>& path, bool closed, int width) {
  if (path.empty()) return Region();
  double r = width / 2.0;
  double minY = path[0].y, maxY = path[0].y;
  for (const PointF& p : path) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  int top = static_cast<int>(std::floor(minY - r)) - 1, bottom = static_cast<int>(std::ceil(maxY + r)) + 2;
  SpanCollector spans(top, bottom);
  std::size_t segments = path.size() == 1 ? 1 : (closed ? path.size() : path.size() - 1);
  for (std::size_t i = 0; i < segments; ++i) {
    PointF a = path[i], b = path[(i + 1) % path.size()];
    int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - r)), y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + r));
    for (int y = y0; y <= y1; ++y) {
      double lo, hi;
      if (CapsuleRow(a, b, r, y + kBias, lo, hi)) spans.Add(y, FirstPixel(lo), EndPixel(hi));
    }
  }
  return spans.ToRegion();
}

RowShape EllipseRows(int left, int top, int right, int bottom) {
  RowShape shape;
  if (right < left || bottom < top) return shape;
  shape.top = top;
  double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  // The ellipse through the outer edges of the box's border pixels, so that small ellipses come out round.
  double a = (right - left) / 2.0 + 0.5, b = (bottom - top) / 2.0 + 0.5;
  for (int y = top; y <= bottom; ++y) {
    double dy = y - cy;
    int xl;
    if (std::abs(dy) <= 0.5) {
      xl = left;
    } else {
      double t = dy / b;
      double half = a * std::sqrt(std::max(0.0, 1.0 - t * t));
      xl = static_cast<int>(std::ceil(cx - half - kBias));
      xl = std::max(left, std::min(xl, static_cast<int>(std::floor(cx))));
    }
    shape.rows.emplace_back(xl, left + right - xl);
  }
  return shape;
}

RowShape RoundRectRows(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  RowShape shape;
  if (right < left || bottom < top) return shape;
  cornerWidth = std::min(cornerWidth, right - left + 1);
  cornerHeight = std::min(cornerHeight, bottom - top + 1);
  shape.top = top;
  if (cornerWidth < 2 || cornerHeight < 2) {
    for (int y = top; y <= bottom; ++y) shape.rows.emplace_back(left, right);
    return shape;
  }
  RowShape corner = EllipseRows(left, top, left + cornerWidth - 1, top + cornerHeight - 1);
  int half = (cornerHeight - 1) / 2;
  for (int y = top; y <= bottom; ++y) {
    int k = -1;
    if (y - top <= half) k = y - top;
    else if (bottom - y <= half) k = bottom - y;
    int xl = k >= 0 ? corner.rows[static_cast<std::size_t>(k)].first : left;
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
    if (i == 0 || i == n - 1) {
      spans.Add(y, xl, xr + 1);
      continue;
    }
    // The neighbour towards the nearer edge is the narrower one: reach it so that the outline is closed.
    int outer = i <= n - 1 - i ? i - 1 : i + 1;
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
  int count = std::max(16, static_cast<int>(std::ceil((a + b) * 2)));
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
  int steps = std::max(4, static_cast<int>(std::ceil(a + b)));
  std::vector<PointF> path;
  for (int c = 0; c < 4; ++c) {
    for (int i = 0; i <= steps; ++i) {
      double t = std::numbers::pi / 2 * (c - 1 + static_cast<double>(i) / steps);
      path.push_back(PointF{centres[c].x + a * std::cos(t), centres[c].y + b * std::sin(t)});
    }
  }
  return path;
}

Region PolygonArea(const POINT* points, int count) {
  if (count < 3) return Region();
  int top = points[0].y, bottom = points[0].y;
  for (int i = 0; i < count; ++i) {
    top = std::min(top, static_cast<int>(points[i].y));
    bottom = std::max(bottom, static_cast<int>(points[i].y));
  }
  SpanCollector spans(top, bottom);
  std::vector<double> crossings;
  for (int y = top; y < bottom; ++y) {
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      POINT p = points[i], q = points[(i + 1) % count];
      if (p.y == q.y) continue;
      if (p.y > q.y) std::swap(p, q);
      if (y < p.y || y >= q.y) continue;
      crossings.push_back(p.x + static_cast<double>(y - p.y) * (q.x - p.x) / (q.y - p.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      spans.Add(y, FirstPixel(crossings[k]), EndPixel(crossings[k + 1]));
    }
  }
  return spans.ToRegion();
}

}  // namespace platform::gdi
