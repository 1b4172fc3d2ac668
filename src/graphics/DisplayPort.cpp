#include "graphics/DisplayPort.h"

#include <vector>

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/DisplayDevice.h"
#include "graphics/FloodFiller.h"
#include "graphics/Gradient.h"
#include "graphics/OffScreen.h"
#include "graphics/OperationLog.h"
#include "graphics/Seams.h"
#include "graphics/Paint.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Paint.h"
#include "graphics/SystemVersion.h"
#include "graphics/RectConversion.h"

SMART_DEFINE_ABSTRACT(DisplayPort, "DisplayPort", SmartImplementation)

DisplayPort::DisplayPort(DisplayDevice* device, const Rect& rect, int mode) : device(device) {
  device->BeginDraw(mode);
  dc = device->GetDrawingDC();
  SmartRef<Area> bounds(new Area(rect));
  SetClip(~bounds);
  ApplyClip();
}

DisplayPort::~DisplayPort() {
  if (dc) ResetDC(dc, device->GetBackground());
  device->EndDraw();
}

bool DisplayPort::CanCopyFrom(Smart* source) { return CastSmart(source, &classInfo) != nullptr; }

void DisplayPort::CopyFrom(Smart* source) {
  if (!CastSmart(source, &classInfo)) AssertFailed("castPtr", __FILE__, __LINE__);
  NOT_IMPLEMENTED();
}

Smart* DisplayPort::Clone() const {
  Rect bounds;
  device->GetBounds(&bounds);
  auto* copy = new DisplayPort(device, bounds);
  NOT_IMPLEMENTED();
  return copy;
}

const Color& DisplayPort::GetBackground() const { return device->GetBackground(); }

bool DisplayPort::IsDrawing() const { return device->IsDrawing(); }

void DisplayPort::BeginUpdate(const Area& visible, Area* update) {
  if (!IsDrawing()) return;
  device->GetInvalidArea(update);
  if (device->ErasesBackground()) {
    SmartRef<Area> shown(visible.Intersect(*update));
    EraseArea(*shown);
  }
  device->Validate();
}

void DisplayPort::ConcatTransform(const Transform& first) {
  if (transform)
    transform = Transform::Compose(first, *transform);
  else
    transform = static_cast<Transform*>(CastSmart(first.Clone(), &Transform::classInfo));
}

void DisplayPort::SetClip(Area* newClip) {
  if (newClip == ~clip) return;
  clip = newClip;
  ApplyClip();
}

void DisplayPort::ApplyClip() {
  if (!IsDrawing() || dc == nullptr) return;
  CHECK_CALL(SelectClipRgn(dc, clip ? clip->GetRegion() : nullptr) != ERROR);
  RECT box;
  GetClipBox(dc, &box);
  ClearBenignError({ERROR_INVALID_PARAMETER});
}

void DisplayPort::ClipTo(const Area& area) {
  SmartRef<Area> mapped(new Area(area));
  if (transform && transform->GetKind() != kGeneralTransform) mapped->ApplyTransform(*transform);
  if (clip) {
    SmartRef<Area> narrowed(clip->Intersect(*mapped));
    SetClip(~narrowed);
  } else {
    SetClip(~mapped);
  }
}

void DisplayPort::InvertRect(const Rect& rect) {
  if (!IsDrawing()) return;
  const RECT r = ToRECT(MapRect(rect));
  SetROP2(dc, R2_COPYPEN);
  CHECK_CALL(::InvertRect(dc, &r));
}

void DisplayPort::InvertFrame(const Rect& rect, std::int32_t thickness) {
  Rect inside = rect;
  inside.Inset(thickness);
  InvertRect(inside);
  InvertRect(rect);
}

void DisplayPort::DrawRect(const Rect& rect, Paint& fill, Paint& line, int width) {
  if (!IsDrawing()) return;
  const Rect r = MapRect(rect);
  BrushSelection brush(fill, dc);
  PenSelection pen(line, dc, width);
  CHECK_CALL(Rectangle(dc, r.left, r.top, r.right, r.bottom));
}

void DisplayPort::DrawRect(const Rect& rect, const Color& fill, const Color& line, int width) {
  ColorPaint fillPaint(fill);
  ColorPaint linePaint(line);
  DrawRect(rect, fillPaint, linePaint, width);
}

void DisplayPort::DrawBevel(const Rect& r, Paint& first, Paint& second, int width) {
  DrawLine({r.left, r.top}, {r.right, r.top}, first, width);
  DrawLine({r.left, r.top}, {r.left, r.bottom}, first, width);
  DrawLine({r.right, r.bottom}, {r.right, r.top}, second, width);
  DrawLine({r.right, r.bottom}, {r.left, r.bottom}, second, width);
}

void DisplayPort::DrawBevel(const Rect& rect, const Color& first, const Color& second, int width) {
  ColorPaint firstPaint(first);
  ColorPaint secondPaint(second);
  DrawBevel(rect, firstPaint, secondPaint, width);
}

void DisplayPort::DrawArea(const Area& area, Paint& fill, Paint& line) {
  for (std::int32_t i = 1; i <= area.NumRects(); ++i) DrawRect(area.GetRect(i), fill, line, 1);
}

void DisplayPort::EraseArea(const Area& area) {
  ColorPaint background(device->GetBackground());
  DrawArea(area, background, background);
}

void DisplayPort::DrawPolygon(const GenericArray& points, Paint& fill, Paint& line, int width) {
  if (!IsDrawing()) return;
  std::vector<POINT> mapped;
  mapped.reserve(static_cast<std::size_t>(points.NumItems()));
  for (std::int32_t i = 1; i <= points.NumItems(); ++i) {
    const Point p = MapPoint(*static_cast<const Point*>(points.At(i)));
    mapped.push_back({p.x, p.y});
  }
  BrushSelection brush(fill, dc);
  PenSelection pen(line, dc, width);
  CHECK_CALL(Polygon(dc, mapped.data(), static_cast<int>(mapped.size())));
}

void DisplayPort::DrawLine(const Point& from, const Point& to, Paint& line, int width) {
  if (!IsDrawing()) return;
  const Point a = MapPoint(from);
  const Point b = MapPoint(to);
  PenSelection pen(line, dc, width);
  CHECK_CALL(MoveToEx(dc, a.x, a.y, nullptr));
  CHECK_CALL(LineTo(dc, b.x, b.y));
}

void DisplayPort::DrawEllipse(const Rect& rect, Paint& fill, Paint& line, int width) {
  if (!IsDrawing()) return;
  const Rect r = MapRect(rect);
  // Limited systems draw only ellipses larger than 4 pixels each way.
  if (IsLimitedWindows() && !(r.Width() > 4 && r.Height() > 4)) return;
  BrushSelection brush(fill, dc);
  PenSelection pen(line, dc, width);
  Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

void DisplayPort::DrawRoundRect(const Rect& rect, std::int32_t cornerWidth, std::int32_t cornerHeight, Paint& fill,
                                Paint& line, int width) {
  if (!IsDrawing()) return;
  const Rect r = MapRect(rect);
  BrushSelection brush(fill, dc);
  PenSelection pen(line, dc, width);
  if (!RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight)) {
    CHECK_CALL(Rectangle(dc, r.left, r.top, r.right, r.bottom));
  }
}

void DisplayPort::DrawText(const Rect& rect, const char* text, std::int32_t length, const PortTextStyle& style) {
  if (!IsDrawing()) return;
  RECT r = ToRECT(MapRect(rect));
  const COLORREF textColor = MakeColorRef(style.GetTextColor());
  if (GetTextColor(dc) != textColor) SetTextColor(dc, textColor);
  const Color back = style.GetBackColor();
  int previousMode;
  if (back.SameAs8Bit(Color(kTransparentColor))) {
    previousMode = SetBkMode(dc, TRANSPARENT);
  } else {
    previousMode = SetBkMode(dc, OPAQUE);
    if (GetBkColor(dc) != MakeColorRef(back)) SetBkColor(dc, MakeColorRef(back));
  }
  HGDIOBJ previousFont = SelectObject(dc, style.GetFont());
  DrawTextA(dc, text, length, &r, static_cast<UINT>(style.GetAlignment()) | DT_WORDBREAK | DT_NOCLIP);
  SelectObject(dc, previousFont);
  SetBkMode(dc, previousMode);
}

void DisplayPort::DrawTextBox(const char* text, std::int32_t length, const Rect& rect, const Color& color) {
  if (!IsDrawing()) return;
  const SmartRef<Area> box = new Area(rect);
  EraseArea(*box);
  // The default style is the window system's (graphics/Seams.h).
  const DefaultStyleTextDrawer draw = GetDefaultStyleTextDrawer();
  if (draw != nullptr) draw(*this, rect, text, length, color);
}

void DisplayPort::DrawPicture(const void*) {
  if (IsDrawing()) NOT_IMPLEMENTED();
}

void DimRect(DisplayPort& port, const Rect& rect) {
  PatternPaint screen(Color(0), Color(kTransparentColor), Pattern(3));
  port.DrawRect(rect, screen, *noPaint, 1);
}

std::int16_t GetScreenBitDepth() {
  HDC screen = CHECK_NOT_NULL(::GetDC(nullptr));
  const int depth = GetDeviceCaps(screen, BITSPIXEL);
  CHECK_CALL(::ReleaseDC(nullptr, screen));
  return static_cast<std::int16_t>(depth);
}

Rect GetPictureFrame(const void*, std::int16_t* depth) {
  if (depth) *depth = GetScreenBitDepth();
  NOT_IMPLEMENTED();
  return Rect::emptyRect;
}

void DisplayPort::DrawMasked(BitMap& mask, Paint& paint) {
  if (IsDrawing()) mask.DrawMasked(*this, paint);
}

// Only off-screen surfaces are filled: a window's pixels are not the program's to read.
void DisplayPort::GradientFill(const Color& first, const Color& second, std::int32_t seedX, std::int32_t seedY,
                               std::int16_t kind) {
  SmartRef<OperationLog> log = OpenOperationLog();
  log->Log(String("Lancement du gradient"));
  auto* surface = static_cast<OffScreen*>(CastSmart(device, &OffScreen::classInfo));
  if (surface == nullptr) return;
  SmartRef<BitMap> target = surface->GetBitMap();
  log->Log(String("Create Flooder Filler"));
  FloodFiller filler(~target, MapPoint({seedX, seedY}));
  Rect box = filler.GetBounds();
  box.Offset(-box.left, -box.top);
  log->Log(String("Créer une carte de gradient"_cp));
  // The gradient is drawn with the target's own colour table, so its values are the target's.
  SmartRef<OffScreen> gradient(new OffScreen(box.Width(), box.Height(), target->GetColorTable(), Color(0), true));
  {
    DisplayPort port(~gradient, box);
    DrawGradient(port, box, first, second, kind, 8);
  }
  log->Log(String("Doing FloodFill"));
  filler.Fill(*target, *gradient->GetBitMap());
  log->Log(String("Gradient terminé"_cp));
}
