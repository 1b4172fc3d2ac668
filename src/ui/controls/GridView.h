// Grids of equal cells with one selected cell, framed by a 2-pixel inversion, and the gesture that moves
// the selection of a grid shown in a pop-up window. Subclasses draw the cells and act on a new choice.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "ui/shell/Task.h"
#include "ui/shell/Tool.h"
#include "ui/views/View.h"
#include "ui/views/Window.h"

class DisplayPort;

class GridView : public View {
  SMART_ABSTRACT(GridView)
 public:
  // The selection when no cell is chosen.
  static const Point noCell;

  // The columns gridLeft..gridRight-1 and rows gridTop..gridBottom-1; cell (c, r) covers the pixels from
  // (c × cellWidth, r × cellHeight) in window coordinates, so a grid whose bounds do not start at (0, 0)
  // lies away from the window's origin. Cell sizes must be positive.
  GridView(View* parent, std::int32_t gridLeft, std::int32_t gridTop, std::int32_t gridRight, std::int32_t gridBottom,
           std::int32_t cellWidth, std::int32_t cellHeight, std::int32_t selectedColumn, std::int32_t selectedRow);

  // Every cell row by row from the top, then the selection's frame.
  void DrawContent(DisplayPort& port, const Area& area) override;
  virtual void DrawCell(DisplayPort& port, std::int32_t column, std::int32_t row, const Rect& cell) = 0;
  // The selection was chosen.
  virtual void SelectionChanged() = 0;
  // Inverts the 2-pixel frame of a cell of the grid; a second call takes it away.
  virtual void DrawSelection(DisplayPort& port, std::int32_t column, std::int32_t row);

  // The empty rectangle for the no-cell point.
  Rect CellRect(std::int32_t column, std::int32_t row) const;
  // The cell under a window point; the current selection when the point lies outside the grid.
  Point PointToCell(std::int32_t x, std::int32_t y) const;
  Point PointToCell(const Point& point) const { return PointToCell(point.x, point.y); }
  // Moves the selection and its frame on screen; a cell outside the grid changes nothing.
  void SetSelection(const Point& cell);
  Point GetSelection() const { return selection; }
  Point GetInitialSelection() const { return initialSelection; }
  const Rect& GetGridBounds() const { return gridBounds; }

 private:
  void DrawSelection(DisplayPort& port, const Point& cell) { DrawSelection(port, cell.x, cell.y); }

  std::int32_t cellWidth;
  std::int32_t cellHeight;
  Rect gridBounds;
  Point initialSelection;
  Point selection;
};

// Lets the mouse move the selection of a grid shown in a pop-up window: the gesture waits for a press
// (the release of the click that opened the pop-up is not one), follows the pointer while the button is
// held and chooses on the release. A pop-up closed some other way ends the gesture with no choice.
// Destroying the selector closes the pop-up.
class GridSelector : public Interactor {
  SMART_CLASS(GridSelector)
 public:
  GridSelector(Window* window, GridView* gridView);
  GridSelector(const GridSelector& other) = default;
  GridSelector& operator=(const GridSelector& other) = default;
  ~GridSelector() override;

  bool Track(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown) override;

  SmartRef<Window> GetWindow() const { return window; }
  SmartRef<GridView> GetGridView() const { return gridView; }
  bool IsWaiting() const { return waiting; }

 private:
  SmartRef<Window> window;
  SmartRef<GridView> gridView;
  bool waiting;
};

// The tool kind of the editor's grid choosers; it adds nothing to Tool.
class SelectorTool : public Tool {
  SMART_ABSTRACT(SelectorTool)
};
