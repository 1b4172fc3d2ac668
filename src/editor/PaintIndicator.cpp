#include "editor/PaintIndicator.h"

#include <cstring>

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "ui/shell/App.h"
#include "ui/text/TextStyle.h"
#include "ui/views/Window.h"

namespace {

constexpr char kLabel[] = " Motif ";
constexpr std::int32_t kLabelFont = 2;
constexpr std::int16_t kLabelSize = 12;

const TextStyle& LabelStyle() {
  static const SmartRef<TextStyle> style(
      new TextStyle(kLabelFont, kLabelSize, kAlignCenter, standardColors[1], standardColors[kTransparentColor]));
  return *style;
}

void DrawSwatch(DisplayPort& port, const Rect& swatch, const Color& color) {
  Rect inside = swatch;
  DrawSwatchFrame(port, inside);
  // The frame's bevels lie on their rectangles' right and bottom coordinates, so what they enclose reaches
  // one pixel past the rectangle the frame leaves.
  port.DrawRect(Rect(inside.left, inside.top, inside.right + 1, inside.bottom + 1), color, color);
}

}  // namespace

PaintIndicator::PaintIndicator(View* parent)
    : View(parent, Rect(0, 0, kSize, kSize), kAnchorTopLeft, true, false) {
  ComputeBoxes();
  CHECK_NOT_NULL(~gPaintState)->ToggleListener(this, true);
}

PaintIndicator::~PaintIndicator() {
  if (!gAppQuitting && gPaintState && gPaintState->HasListener(this, true)) gPaintState->ToggleListener(this, true);
}

void PaintIndicator::ComputeBoxes() {
  const Rect bounds = GetBounds();
  patternBox = Rect(bounds.left, bounds.top, bounds.right, bounds.top + 21);
  patternBox.Inset(3);
  secondSwatch = Rect(bounds.left, bounds.top + 18, bounds.right, bounds.bottom);
  secondSwatch.Inset(3);
  foregroundSwatch = secondSwatch;
  foregroundSwatch.Inset(11);
}

void PaintIndicator::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
  ComputeBoxes();
}

void PaintIndicator::DrawLabel(DisplayPort& port) {
  port.DrawText(patternBox, kLabel, static_cast<std::int32_t>(std::strlen(kLabel)), LabelStyle());
  Rect frame = patternBox;
  frame.Inset(-2);
  DrawSwatchFrame(port, frame);
}

void PaintIndicator::DrawContent(DisplayPort& port, const Area&) {
  port.EraseArea(Area(GetBounds()));
  DrawLabel(port);
  if (!IsVisible()) return;
  DrawSwatch(port, secondSwatch, gPaintSecondColor);
  DrawSwatch(port, foregroundSwatch, gPaintForeground);
}

bool PaintIndicator::MouseDown(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t, View* window) {
  Point at(x, y);
  if (auto* frame = dynamic_cast<Window*>(window)) at = at + frame->GetPosition();
  if (!gPaintState) return true;
  if (patternBox.Contains(x, y))
    gPaintState->ChoosePattern(at);
  else if (foregroundSwatch.Contains(x, y))
    gPaintState->ChooseForeground(at);
  else if (secondSwatch.Contains(x, y))
    gPaintState->ChooseSecondColor(at);
  return true;
}

void PaintIndicator::PaintStateChanged() {
  if (!IsVisible()) return;
  {
    DisplayPort port(GetDevice(), GetBounds());
    DrawContent(port, Area(GetBounds()));
  }
  Invalidate(false);
}
