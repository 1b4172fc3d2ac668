#include "ui/controls/GridView.h"

#include "core/Exception.h"
#include "graphics/DisplayPort.h"
#include "ui/views/Window.h"

SMART_DEFINE_ABSTRACT(GridView, "GridView", View)
SMART_DEFINE(GridSelector, "GridSelector", nullptr, nullptr, Interactor)
SMART_DEFINE_ABSTRACT(SelectorTool, "SelectorTool", Tool)

const Point GridView::noCell{-1, -1};

namespace {

// Rounds toward minus infinity, so that the pixels left of or above the grid fall outside it.
std::int32_t FloorDivide(std::int32_t value, std::int32_t divisor) {
  const std::int32_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

Rect GridFrame(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, std::int32_t cellWidth,
               std::int32_t cellHeight) {
  // Checked here, before the view exists: every cell computation divides by these.
  ASSERT(cellWidth > 0 && cellHeight > 0);
  return Rect(left * cellWidth, top * cellHeight, right * cellWidth, bottom * cellHeight);
}

}  // namespace

GridView::GridView(View* parent, std::int32_t gridLeft, std::int32_t gridTop, std::int32_t gridRight,
                   std::int32_t gridBottom, std::int32_t cellWidth, std::int32_t cellHeight, std::int32_t selectedColumn,
                   std::int32_t selectedRow)
    : View(parent, GridFrame(gridLeft, gridTop, gridRight, gridBottom, cellWidth, cellHeight), kAnchorTopLeft, true,
           false),
      cellWidth(cellWidth),
      cellHeight(cellHeight),
      gridBounds(gridLeft, gridTop, gridRight, gridBottom),
      initialSelection(selectedColumn, selectedRow),
      selection(selectedColumn, selectedRow) {}

Rect GridView::CellRect(std::int32_t column, std::int32_t row) const {
  if (Point(column, row) == noCell) return Rect::emptyRect;
  return Rect(column * cellWidth, row * cellHeight, (column + 1) * cellWidth, (row + 1) * cellHeight);
}

Point GridView::PointToCell(std::int32_t x, std::int32_t y) const {
  const Point cell(FloorDivide(x, cellWidth), FloorDivide(y, cellHeight));
  return gridBounds.Contains(cell) ? cell : selection;
}

void GridView::SetSelection(const Point& cell) {
  if (cell == selection) return;
  if (cell != noCell && !gridBounds.Contains(cell)) return;
  // A hidden grid draws nothing: its frame would land on whatever the window shows in its place.
  if (!IsVisible()) {
    selection = cell;
    return;
  }
  DisplayPort port(GetDevice(), GetBounds());
  if (selection != noCell && gridBounds.Contains(selection)) DrawSelection(port, selection);
  selection = cell;
  if (selection != noCell) DrawSelection(port, selection);
}

void GridView::DrawSelection(DisplayPort& port, std::int32_t column, std::int32_t row) {
  if (!gridBounds.Contains(column, row)) AssertFailed("gridBounds.Contains(gridLocation)", __FILE__, __LINE__);
  const Rect cell = CellRect(column, row);
  port.InvertFrame(cell, 2);
  // A grid drawing off-screen shows the change on the window at once as well.
  DisplayDevice* windowFrame = GetWindowFrame();
  if (port.GetDevice() != windowFrame) {
    DisplayPort onWindow(windowFrame, GetBounds());
    onWindow.InvertFrame(cell, 2);
  }
}

void GridView::DrawContent(DisplayPort& port, const Area&) {
  for (std::int32_t row = gridBounds.top; row < gridBounds.bottom; ++row)
    for (std::int32_t column = gridBounds.left; column < gridBounds.right; ++column)
      DrawCell(port, column, row, CellRect(column, row));
  // No frame for the no-cell point, nor for a starting cell that lies outside the grid.
  if (gridBounds.Contains(selection)) DrawSelection(port, selection);
}

GridSelector::GridSelector(Window* window, GridView* gridView) : window(window), gridView(gridView), waiting(true) {}

GridSelector::~GridSelector() {
  if (!window) return;
  // Nothing may leave a destructor; a failure to close is reported and the pop-up stays.
  try {
    window->Close();
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    held->Report(kAlertStop);
  }
}

bool GridSelector::Track(View* eventWindow, std::int32_t x, std::int32_t y, std::int32_t, bool buttonDown) {
  // A pop-up closed some other way (its close box) offers nothing to choose: the gesture just ends.
  if (!gridView->IsVisible()) return false;
  const Point point = gridView->MapPointToWindow(eventWindow, Point(x, y));
  if (waiting && !buttonDown) return true;
  waiting = false;
  gridView->SetSelection(gridView->PointToCell(point));
  if (buttonDown) return true;
  gridView->SelectionChanged();
  return false;
}
