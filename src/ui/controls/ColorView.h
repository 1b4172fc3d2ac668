// The two pop-up choosers of the painting tools: the 256 colours of the 8-bit palette and the 32 stock
// fill patterns, each a grid in a small floating window that opens under the pointer. The child presses
// in the grid, drags to a cell and releases; the choice goes into the paint state, whose listeners are
// told, and the window closes.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "graphics/Color.h"
#include "ui/controls/GridView.h"

class ColorTable;

// What the choosers need of the paint state they choose for (the editor's colour dropper).
class PaintState {
 public:
  // The colour or the pattern was just chosen: palettes and indicators redraw the current ones.
  virtual void NotifyListeners() = 0;

 protected:
  PaintState() = default;
  PaintState(const PaintState&) = default;
  PaintState& operator=(const PaintState&) = default;
  ~PaintState() = default;
};

// The pattern chosen last, for the whole program, and its stock index; both zero at start.
extern Pattern gChosenPattern;
extern std::int32_t gChosenPatternIndex;

// Cell (c, r) shows entry r × 32 + c of the 8-bit colour table.
class ColorView : public GridView {
  SMART_ABSTRACT(ColorView)
 public:
  static constexpr std::int32_t kCellSize = 10;
  static constexpr std::int32_t kColumns = 32;
  static constexpr std::int32_t kRows = 8;

  // Starts on the standard table's entry equal to *colour, or on cell (0, 0) when it holds none. The
  // colour belongs to the paint state, which outlives the view; the tool may be null.
  ColorView(View* parent, const Rect& gridBounds, PaintState* tool, Color* colour);
  ~ColorView() override;

  // The entry of the cell: of the given table when it is an 8-bit one (it is kept for later cells), else
  // of the table kept last, the standard 8-bit table at first.
  Color GetCellColor(ColorTable* table, std::int32_t column, std::int32_t row);
  // Filled with its colour, no outline.
  void DrawCell(DisplayPort& port, std::int32_t column, std::int32_t row, const Rect& cell) override;
  // The paint state's colour becomes the selected cell's.
  void SelectionChanged() override;

 private:
  Color* colour;
  PaintState* tool;
  SmartRef<ColorTable> table;
};

// Cell (c, r) shows stock pattern r × 8 + c, black on white.
class PatternView : public GridView {
  SMART_ABSTRACT(PatternView)
 public:
  static constexpr std::int32_t kCellSize = 32;
  static constexpr std::int32_t kColumns = 8;
  static constexpr std::int32_t kRows = 4;

  // Starts on the pattern chosen last. The tool may be null.
  PatternView(View* parent, const Rect& gridBounds, PaintState* tool);

  Pattern GetCellPattern(std::int32_t column, std::int32_t row) const;
  // The cell and one pixel around it: neighbouring cells overlap by one pixel, the last drawn on top.
  void DrawCell(DisplayPort& port, std::int32_t column, std::int32_t row, const Rect& cell) override;
  // The program's chosen pattern becomes the selected cell's.
  void SelectionChanged() override;

 private:
  PaintState* tool;
};

// Open the chooser in a floating window ("Palette" or "Sélection") whose bottom-right corner is at the
// point (main-window client coordinates), kept inside the main window, and answer the gesture that
// chooses in it; the caller makes it its tool's interactor.
SmartRef<GridSelector> OpenPaletteWindow(PaintState* tool, Color* colour, const Point& point);
SmartRef<GridSelector> OpenSelectionWindow(PaintState* tool, const Point& point);
