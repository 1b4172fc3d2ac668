// The pixels shapes and lines cover, as regions in context coordinates (internal to the drawing layer).
// Every builder takes a window (the clip's bounds): rows and columns far outside it are not computed, so
// that a shape thousands of times larger than the surface costs no more than the part that shows.
#pragma once

#include <vector>

#include "platform/gdi/raster/Region.h"

namespace platform::gdi {

struct PointF {
  double x;
  double y;
};

// A collector for the rows of the window (and one more on each side).
SpanCollector CollectorFor(const RECT& window);

// A one-pixel line from `from` to `to`, its last pixel left out, added to `spans`.
void AddThinLine(SpanCollector& spans, POINT from, POINT to, const RECT& window);

// A wide line: every pixel whose point lies within width / 2 of the path (round caps and joins); pixels on
// the boundary count on the top and left sides only.
Region StrokePath(const std::vector<PointF>& path, bool closed, int width, const RECT& window);

// Shapes given row by row between their top and bottom rows (inclusive), computed only for the rows of a
// window: rows [top, top + rows.size()), each the first and last pixel inside (inclusive).
struct RowShape {
  int shapeTop = 0;
  int shapeBottom = -1;
  int top = 0;
  std::vector<std::pair<int, int>> rows;
};

// The ellipse inscribed in the inclusive box [left, right] x [top, bottom]: symmetric, touching all four
// sides, no row empty.
RowShape EllipseRows(int left, int top, int right, int bottom, const RECT& window);
// A rectangle with corners rounded by an ellipse of cornerWidth x cornerHeight, inclusive box.
RowShape RoundRectRows(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                       const RECT& window);
// The whole shape, and its one-pixel outline (each row's outer runs, reaching the neighbouring rows so that
// the outline has no gaps).
Region ShapeArea(const RowShape& shape);
Region ShapeOutline(const RowShape& shape);
// The centre line of a shape's outline, for wide pens.
std::vector<PointF> EllipsePath(int left, int top, int right, int bottom);
std::vector<PointF> RoundRectPath(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);

// The interior of a polygon by the alternate rule: pixel (x, y) is inside when the point (x, y) is, the
// left and top edges counting as inside and the right and bottom ones not.
Region PolygonArea(const POINT* points, int count, const RECT& window);

}  // namespace platform::gdi
