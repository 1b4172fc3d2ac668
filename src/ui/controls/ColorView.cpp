#include "ui/controls/ColorView.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/formats/ImageResource.h"
#include "graphics/Paint.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(ColorView, "ColorView", GridView)
SMART_DEFINE_ABSTRACT(PatternView, "PatternView", GridView)

Pattern gChosenPattern;
std::int32_t gChosenPatternIndex = 0;

namespace {

constexpr Rect kPaletteGrid(0, 0, ColorView::kColumns, ColorView::kRows);
constexpr Rect kPatternGrid(0, 0, PatternView::kColumns, PatternView::kRows);

// The rectangle moved, where it has to be, so that it lies within the bounds.
Rect KeptInside(Rect rect, const Rect& bounds) {
  rect.Offset(std::min(0, bounds.right - rect.right), std::min(0, bounds.bottom - rect.bottom));
  rect.Offset(std::max(0, bounds.left - rect.left), std::max(0, bounds.top - rect.top));
  return rect;
}

// A floating window just the grid's size, the grid in it, placed with its bottom-right corner at the
// point, opened and painted at once. The grid is made by the caller on the window.
template <class MakeGrid>
SmartRef<GridSelector> OpenGridWindow(const char* title, const Point& corner, const Point& size, MakeGrid makeGrid) {
  const String text(title);
  SmartRef<Window> window(new Window(&text, kFramePalette, false, false, size.x, size.y));
  SmartRef<GridView> grid(makeGrid(~window));
  window->AddSubview(~grid);
  Rect bounds = grid->GetBounds();
  bounds.Offset(corner.x - bounds.right, corner.y - bounds.bottom);
  // Cells outside the main window could be neither seen nor reached.
  window->SetGlobalBounds(KeptInside(bounds, GetMainClientRect()));
  window->Open(true);
  window->Refresh();
  return SmartRef<GridSelector>(new GridSelector(~window, ~grid));
}

}  // namespace

// Colours.

ColorView::ColorView(View* parent, const Rect& gridBounds, PaintState* tool, Color* colour)
    : GridView(parent, gridBounds.left, gridBounds.top, gridBounds.right, gridBounds.bottom, kCellSize, kCellSize, 0, 0),
      colour(CHECK_NOT_NULL(colour)),
      tool(tool) {
  std::int32_t index = 0;
  if (ColorTable::GetStandard(8)->IndexOf(*colour, &index)) SetSelection(Point(index % kColumns, index / kColumns));
}

ColorView::~ColorView() = default;

Color ColorView::GetCellColor(ColorTable* deviceTable, std::int32_t column, std::int32_t row) {
  if (deviceTable != nullptr && deviceTable->GetDepth() == 8) table = deviceTable;
  if (!table) table = ColorTable::GetStandard(8);
  return table->GetColor(row * kColumns + column);
}

void ColorView::DrawCell(DisplayPort& port, std::int32_t column, std::int32_t row, const Rect& cell) {
  ColorPaint fill(GetCellColor(GetDevice()->GetColorTable(), column, row));
  port.DrawRect(cell, fill, *noPaint, 1);
}

void ColorView::SelectionChanged() {
  const Point chosen = GetSelection();
  if (!GetGridBounds().Contains(chosen)) return;
  *colour = GetCellColor(GetDevice()->GetColorTable(), chosen.x, chosen.y);
  if (tool) tool->NotifyListeners();
}

// Patterns.

PatternView::PatternView(View* parent, const Rect& gridBounds, PaintState* tool)
    : GridView(parent, gridBounds.left, gridBounds.top, gridBounds.right, gridBounds.bottom, kCellSize, kCellSize, 0, 0),
      tool(tool) {
  // A negative index would name the no-cell point or no cell at all.
  if (gChosenPatternIndex >= 0) SetSelection(Point(gChosenPatternIndex % kColumns, gChosenPatternIndex / kColumns));
}

Pattern PatternView::GetCellPattern(std::int32_t column, std::int32_t row) const {
  return GetStockPattern(row * kColumns + column);
}

void PatternView::DrawCell(DisplayPort& port, std::int32_t column, std::int32_t row, const Rect& cell) {
  Rect grown = cell;
  grown.Inset(-1);
  PatternPaint fill(standardColors[1], standardColors[0], GetCellPattern(column, row));
  port.DrawRect(grown, fill, *noPaint, 1);
}

void PatternView::SelectionChanged() {
  const Point chosen = GetSelection();
  if (!GetGridBounds().Contains(chosen)) return;
  gChosenPattern = GetCellPattern(chosen.x, chosen.y);
  gChosenPatternIndex = chosen.y * kColumns + chosen.x;
  if (tool) tool->NotifyListeners();
}

// The pop-ups.

SmartRef<GridSelector> OpenPaletteWindow(PaintState* tool, Color* colour, const Point& point) {
  const Point size(kPaletteGrid.Width() * ColorView::kCellSize, kPaletteGrid.Height() * ColorView::kCellSize);
  return OpenGridWindow("Palette", point, size,
                        [&](Window* window) { return new ColorView(window, kPaletteGrid, tool, colour); });
}

SmartRef<GridSelector> OpenSelectionWindow(PaintState* tool, const Point& point) {
  const Point size(kPatternGrid.Width() * PatternView::kCellSize, kPatternGrid.Height() * PatternView::kCellSize);
  return OpenGridWindow("Sélection"_cp, point, size,
                        [&](Window* window) { return new PatternView(window, kPatternGrid, tool); });
}
