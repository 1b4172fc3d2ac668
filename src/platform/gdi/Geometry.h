// The pixels shapes and lines cover, as regions in context coordinates (internal to the drawing layer).
#pragma once

#include <vector>

#include "platform/gdi/Region.h"

namespace platform::gdi {

struct PointF {
  double x;
  double y;
};

// A one-pixel line from `from` to `to`, its last pixel left out, added to `spans`.
void AddThinLine(SpanCollector& spans, POINT from, POINT to);
// Rows a one-pixel line may touch, for sizing a collector.
void ThinLineRows(POINT from, POINT to, int& top, int& bottom);

// A wide line: every pixel whose point lies within width / 2 of the path (round caps and joins); pixels on
// the boundary count on the top and left sides only.
Region StrokePath(const std::vector<PointF>& path, bool closed, int width);

// Shapes given row by row: for each row from `top`, the first and last pixel inside (inclusive).
struct RowShape {
  int top = 0;
  std::vector<std::pair<int, int>> rows;
  bool Empty() const { return rows.empty(); }
};

// The ellipse inscribed in the inclusive box [left, right] x [top, bottom]: symmetric, touching all four
// sides, no row empty.
RowShape EllipseRows(int left, int top, int right, int bottom);
// A rectangle with corners rounded by an ellipse of cornerWidth x cornerHeight, inclusive box.
RowShape RoundRectRows(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
// The whole shape, and its one-pixel outline (each row's outer runs, reaching the neighbouring rows so that
// the outline has no gaps).
Region ShapeArea(const RowShape& shape);
Region ShapeOutline(const RowShape& shape);
// The centre line of a shape's outline, for wide pens.
std::vector<PointF> EllipsePath(int left, int top, int right, int bottom);
std::vector<PointF> RoundRectPath(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);

// The interior of a polygon by the alternate rule: pixel (x, y) is inside when the point (x, y) is, the
// left and top edges counting as inside and the right and bottom ones not.
Region PolygonArea(const POINT* points, int count);

}  // namespace platform::gdi
