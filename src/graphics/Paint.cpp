#include "graphics/Paint.h"

#include "core/Exception.h"
#include "graphics/PatternBrush.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"

namespace {

void SelectAsBrush(HDC dc, HGDIOBJ brush, HGDIOBJ* displaced) { *displaced = SelectObject(dc, CHECK_NOT_NULL(brush)); }

void SelectAsPen(HDC dc, const Color& color, int width, HGDIOBJ* displaced) {
  HGDIOBJ pen = color.IsTransparent() ? GetStockObject(NULL_PEN)
                                      : static_cast<HGDIOBJ>(CreatePen(PS_SOLID, width, MakeColorRef(color)));
  *displaced = SelectObject(dc, CHECK_NOT_NULL(pen));
}

// Deleting a stock object does nothing, so the null brush and pen go the same way as the made ones.
void RestoreBrushOf(HDC dc, HGDIOBJ displaced) {
  if (displaced != nullptr) DeleteObject(SelectObject(dc, displaced));
  ResetDCState(dc);
}

void RestorePenOf(HDC dc, HGDIOBJ displaced) {
  if (displaced != nullptr) DeleteObject(SelectObject(dc, displaced));
}

ColorPaint* MakeNoPaint() {
  static ColorPaint transparent{Color{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}};
  transparent.MakePermanent();
  return &transparent;
}

}  // namespace

Paint* noPaint = MakeNoPaint();

bool ColorPaint::SelectBrush(HDC dc, HGDIOBJ* displaced) {
  SelectAsBrush(dc,
                color.IsTransparent() ? GetStockObject(NULL_BRUSH)
                                      : static_cast<HGDIOBJ>(CreateSolidBrush(MakeColorRef(color))),
                displaced);
  return true;
}

bool ColorPaint::SelectPen(HDC dc, int width, HGDIOBJ* displaced) {
  SelectAsPen(dc, color, width, displaced);
  return true;
}

void ColorPaint::RestoreBrush(HDC dc, HGDIOBJ displaced) { RestoreBrushOf(dc, displaced); }

void ColorPaint::RestorePen(HDC dc, HGDIOBJ displaced) { RestorePenOf(dc, displaced); }

bool PatternPaint::SelectBrush(HDC dc, HGDIOBJ* displaced) {
  if (foreground.IsTransparent()) {
    SelectAsBrush(dc, GetStockObject(NULL_BRUSH), displaced);
    ResetDCState(dc);
    return true;
  }
  // A one-bit brush paints its set bits in the DC's background colour and its clear bits in the text
  // colour. Merging black keeps the destination under the clear bits.
  PatternBrushMaker maker;
  CopyPatternBytes(pattern, maker);
  HBRUSH brush = maker.MakePatternBrush();
  SetBkColor(dc, MakeColorRef(foreground));
  if (background.IsTransparent()) {
    SetROP2(dc, R2_MERGEPEN);
    SetTextColor(dc, MakeColorRef(Color(1)));
  } else {
    SetTextColor(dc, MakeColorRef(background));
  }
  SelectAsBrush(dc, brush, displaced);
  return true;
}

bool PatternPaint::SelectPen(HDC dc, int width, HGDIOBJ* displaced) {
  SelectAsPen(dc, foreground, width, displaced);
  return true;
}

void PatternPaint::RestoreBrush(HDC dc, HGDIOBJ displaced) { RestoreBrushOf(dc, displaced); }

void PatternPaint::RestorePen(HDC dc, HGDIOBJ displaced) { RestorePenOf(dc, displaced); }

bool UnimplementedPaint::SelectBrush(HDC, HGDIOBJ*) {
  NOT_IMPLEMENTED();
  return false;
}

BrushSelection::BrushSelection(Paint& paint, HDC dc) : dc(dc), paint(paint) {
  if (dc == nullptr) AssertFailed("display", __FILE__, __LINE__);
  selected = paint.SelectBrush(dc, &displaced);
}

BrushSelection::~BrushSelection() { paint.RestoreBrush(dc, displaced); }

PenSelection::PenSelection(Paint& paint, HDC dc, int width) : dc(dc), paint(paint) {
  if (dc == nullptr) AssertFailed("display", __FILE__, __LINE__);
  selected = paint.SelectPen(dc, width, &displaced);
}

PenSelection::~PenSelection() { paint.RestorePen(dc, displaced); }

void ResetDCState(HDC dc) {
  static const COLORREF white = MakeColorRef(Color(0));
  static const COLORREF black = MakeColorRef(Color(1));
  if (GetROP2(dc) != R2_COPYPEN) SetROP2(dc, R2_COPYPEN);
  if (GetBkColor(dc) != white) SetBkColor(dc, white);
  if (GetTextColor(dc) != black) SetTextColor(dc, black);
  ClearBenignError({ERROR_INVALID_PARAMETER});
}

void ResetDC(HDC dc, const Color& background) {
  ResetDCState(dc);
  const COLORREF wanted = MakeColorRef(background);
  if (GetBkColor(dc) != wanted) SetBkColor(dc, wanted);
}
