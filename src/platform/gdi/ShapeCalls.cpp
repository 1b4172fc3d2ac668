// Rectangles, ellipses, polygons, lines and single pixels, with the selected pen and brush.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/raster/Coverage.h"
#include "platform/gdi/raster/Raster.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {

bool InRange(const RECT& r) { return InDrawingRange({r.left, r.top, r.right, r.bottom}); }

bool WidePen(const DeviceContext& dc) { return dc.pen->style != PS_NULL && dc.pen->width > 1; }

// Paints a shape: the brush over its inside, then the pen over its outline, each pixel once, both with
// the context's binary raster operation.
void PaintShape(DeviceContext& dc, const Region& inside, const Region& outline) {
  BYTE rop = Rop2ToRop3(dc.rop2);
  Paint pen = PenPaint(dc);
  Region fill = pen.none ? inside : Region::Combine(inside, outline, RGN_DIFF);
  FillArea(dc, fill, BrushPaint(dc, *dc.brush), rop);
  if (!pen.none) FillArea(dc, outline, pen, rop);
}

void NormaliseBox(int& left, int& top, int& right, int& bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

// Shapes drawn from rows: the pen outlines the box [l, r-1] x [t, b-1]; without a pen the brush fills
// the shape of the box one pixel smaller on the right and bottom, as a null-pen rectangle does.
void PaintRowShape(DeviceContext& dc, const RowShape& withPen, const RowShape& withoutPen,
                   const std::vector<PointF>& widePath) {
  if (dc.pen->style == PS_NULL) {
    PaintShape(dc, ShapeArea(withoutPen), Region());
    return;
  }
  Region area = ShapeArea(withPen);
  Region thin = ShapeOutline(withPen);
  Region inside = Region::Combine(area, thin, RGN_DIFF);
  Region outline = WidePen(dc) ? StrokePath(widePath, true, dc.pen->width, dc.ClipWindow()) : thin;
  PaintShape(dc, inside, outline);
}

}  // namespace

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  DeviceContext* dc = GetDC(handle);
  BrushObject* brush = GetBrush(brushHandle);
  if (!dc || !brush) return 0;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!InRange(*rect)) return 0;
  FillClipped(*dc, MovedRect(*rect, dc->origin), BrushPaint(*dc, *brush), 0xF0);
  return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  DeviceContext* dc = GetDC(handle);
  BrushObject* brush = GetBrush(brushHandle);
  if (!dc || !brush) return 0;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  RECT r = *rect;
  if (!InRange(r)) return 0;
  if (r.left >= r.right || r.top >= r.bottom) return 1;
  Region frame = Region::Combine(Region(r), Region(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}), RGN_DIFF);
  FillArea(*dc, frame, BrushPaint(*dc, *brush), 0xF0);
  return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!InRange(*rect)) return FALSE;
  FillClipped(*dc, MovedRect(*rect, dc->origin), Paint{}, 0x55);
  return TRUE;
}

BOOL FillRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle) {
  DeviceContext* dc = GetDC(handle);
  RegionObject* region = GetRegion(regionHandle);
  BrushObject* brush = GetBrush(brushHandle);
  if (!dc || !region || !brush) return FALSE;
  FillArea(*dc, region->region, BrushPaint(*dc, *brush), 0xF0);
  return TRUE;
}

BOOL InvertRgn(HDC handle, HRGN regionHandle) {
  DeviceContext* dc = GetDC(handle);
  RegionObject* region = GetRegion(regionHandle);
  if (!dc || !region) return FALSE;
  FillArea(*dc, region->region, Paint{}, 0x55);
  return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({left, top, right, bottom})) return FALSE;
  NormaliseBox(left, top, right, bottom);
  if (dc->pen->style == PS_NULL) {
    PaintShape(*dc, Region(RECT{left, top, right - 1, bottom - 1}), Region());
    return TRUE;
  }
  Region inside(RECT{left + 1, top + 1, right - 1, bottom - 1});
  Region outline;
  if (WidePen(*dc)) {
    std::vector<PointF> path{{double(left), double(top)},
                             {double(right - 1), double(top)},
                             {double(right - 1), double(bottom - 1)},
                             {double(left), double(bottom - 1)}};
    outline = StrokePath(path, true, dc->pen->width, dc->ClipWindow());
  } else {
    outline = Region::Combine(Region(RECT{left, top, right, bottom}), inside, RGN_DIFF);
  }
  PaintShape(*dc, inside, outline);
  return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({left, top, right, bottom})) return FALSE;
  NormaliseBox(left, top, right, bottom);
  if (right - left < 1 || bottom - top < 1) return TRUE;
  RECT window = dc->ClipWindow();
  PaintRowShape(*dc, EllipseRows(left, top, right - 1, bottom - 1, window),
                EllipseRows(left, top, right - 2, bottom - 2, window),
                WidePen(*dc) ? EllipsePath(left, top, right - 1, bottom - 1) : std::vector<PointF>{});
  return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({left, top, right, bottom, cornerWidth, cornerHeight})) return FALSE;
  NormaliseBox(left, top, right, bottom);
  if (right - left < 1 || bottom - top < 1) return TRUE;
  cornerWidth = std::abs(cornerWidth);
  cornerHeight = std::abs(cornerHeight);
  RECT window = dc->ClipWindow();
  PaintRowShape(*dc, RoundRectRows(left, top, right - 1, bottom - 1, cornerWidth, cornerHeight, window),
                RoundRectRows(left, top, right - 2, bottom - 2, cornerWidth, cornerHeight, window),
                WidePen(*dc) ? RoundRectPath(left, top, right - 1, bottom - 1, cornerWidth, cornerHeight)
                             : std::vector<PointF>{});
  return TRUE;
}

namespace {

Region PolylineOutline(DeviceContext& dc, const POINT* points, int count, bool closed) {
  RECT window = dc.ClipWindow();
  if (WidePen(dc)) {
    std::vector<PointF> path;
    for (int i = 0; i < count; ++i) path.push_back(PointF{double(points[i].x), double(points[i].y)});
    return StrokePath(path, closed, dc.pen->width, window);
  }
  SpanCollector spans = CollectorFor(window);
  int segments = closed ? count : count - 1;
  for (int i = 0; i < segments; ++i) AddThinLine(spans, points[i], points[(i + 1) % count], window);
  return spans.ToRegion();
}

// A polygon or polyline's points: at least two, each within the drawing range.
bool ValidPoints(const POINT* points, int count) {
  if (!points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    if (!InDrawingRange({points[i].x, points[i].y})) return false;
  }
  return true;
}

}  // namespace

BOOL Polygon(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !ValidPoints(points, count)) return FALSE;
  Region outline = dc->pen->style == PS_NULL ? Region() : PolylineOutline(*dc, points, count, true);
  PaintShape(*dc, PolygonArea(points, count, dc->ClipWindow()), outline);
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !ValidPoints(points, count)) return FALSE;
  Paint pen = PenPaint(*dc);
  if (!pen.none) FillArea(*dc, PolylineOutline(*dc, points, count, false), pen, Rop2ToRop3(dc->rop2));
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({x, y})) return FALSE;
  POINT points[2] = {dc->position, POINT{x, y}};
  Paint pen = PenPaint(*dc);
  if (!pen.none) FillArea(*dc, PolylineOutline(*dc, points, 2, false), pen, Rop2ToRop3(dc->rop2));
  dc->position = points[1];
  return TRUE;
}

namespace {
bool InClip(DeviceContext& dc, int x, int y) {
  if (!InDrawingRange({x, y})) return false;
  x += dc.origin.x;
  y += dc.origin.y;
  for (const RECT& r : dc.Clip()) {
    if (r.top > y) break;
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}
}  // namespace

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return CLR_INVALID;
  if (!InClip(*dc, x, y)) return CLR_INVALID;
  std::uint32_t value = ValueOnSurface(*dc, color);
  dc->surface->Set(x + dc->origin.x, y + dc->origin.y, value);
  return dc->surface->ColorOf(value);
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InClip(*dc, x, y)) return CLR_INVALID;
  return dc->surface->ColorOf(dc->surface->Get(x + dc->origin.x, y + dc->origin.y));
}
