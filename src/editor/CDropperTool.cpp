#include "editor/CDropperTool.h"

#include "core/Exception.h"
#include "engine/EngineAppServices.h"
#include "graphics/Paint.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/ImageResource.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "ui/shell/App.h"

Color gPaintForeground = standardColors[1];
Color gPaintSecondColor = standardColors[0];
Color gPaintBackground = standardColors[0];
SmartRef<CDropperTool> gPaintState;

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/CDropperTool");
bool gPaintColorsInitialised = false;

// Opens a chooser; the gesture that opened it goes on inside it. The chooser's window takes the
// activation, which cancels the mouse capture of the window pressed in: the capture goes back to it, so
// that the drag and the release still reach the gesture.
template <class Open>
void ChooseWith(Open open) {
  const HWND pressed = GetCapture();
  SmartRef<GridSelector> selector = open();
  if (pressed != nullptr && IsWindow(pressed) && GetCapture() == nullptr) SetCapture(pressed);
  if (!gApplication) return;
  if (SmartRef<Tool> tool = gApplication->GetTool()) tool->SetInteractor(~selector);
}

}  // namespace

void InitPaintColors() {
  gPaintForeground = standardColors[14];
  gPaintSecondColor = standardColors[15];
  gPaintBackground = standardColors[0];
  gPaintPattern = GetStockPattern(1);
  gChosenPatternIndex = 1;
  gPaintColorsInitialised = true;
}

bool PaintColorsInitialised() { return gPaintColorsInitialised; }

CDropperTool::CDropperTool() : CTool(110, nullptr, false, nullptr) {}

void CDropperTool::SetChoice(std::int16_t, std::int16_t n) {
  if (n == choice) return;
  choice = n;
  if (ColorTable* palette = GetEngineAppColorTable())
    gPaintForeground = palette->GetColor(n - 1);
  NotifyListeners();
}

void CDropperTool::DrawSample(DisplayPort&, const Rect&) {
  if (ColorTable* palette = GetEngineAppColorTable()) palette->GetColor(choice - 1);
  ReportError("Not implemented.", kSource.Line(141));
}

SmartRef<Paint> CDropperTool::MakePaint(bool withPattern) const {
  if (withPattern) return SmartRef<Paint>(new PatternPaint(gPaintForeground, gPaintSecondColor, gPaintPattern));
  return SmartRef<Paint>(new ColorPaint(gPaintForeground));
}

void CDropperTool::ToggleListener(PaintStateListener* listener, bool indicator) {
  (indicator ? indicators : general).Toggle(listener);
}

bool CDropperTool::HasListener(PaintStateListener* listener, bool indicator) const {
  return (indicator ? indicators : general).Contains(listener);
}

void CDropperTool::NotifyListeners() {
  indicators.NotifyAll([](PaintStateListener* listener) { listener->PaintStateChanged(); });
  general.NotifyAll([](PaintStateListener* listener) { listener->PaintStateChanged(); });
}

void CDropperTool::ChooseForeground(const Point& at) {
  ChooseWith([&] { return OpenPaletteWindow(this, &gPaintForeground, at); });
}

void CDropperTool::ChooseSecondColor(const Point& at) {
  ChooseWith([&] { return OpenPaletteWindow(this, &gPaintSecondColor, at); });
}

void CDropperTool::ChoosePattern(const Point& at) {
  ChooseWith([&] { return OpenSelectionWindow(this, at); });
}

void CDropperTool::PickColor(std::int32_t, std::int32_t) { ReportError("Not implemented.", kSource.Line(286)); }
