// The row at the top of every page window: the page editor's pages of tool buttons, which the start
// panel's column chooses, and the page editor's command buttons at the window's right edge. Here it holds
// its layout, the command row and the page shown; the button pages and what their buttons do come with
// the application's palette itself.
#pragma once

#include <cstdint>

#include "ui/views/View.h"

class CToolPalette;
class RowColumnView;

class DromelToolPalette : public View {
  SMART_ABSTRACT(DromelToolPalette)
 public:
  // The height of the page buttons: the palette is never lower.
  static constexpr std::int32_t kButtonHeight = 50;
  static constexpr std::int16_t kPageCount = 5;

  // Over the parent's top edge, as wide as the parent; the start panel's column is shared by every page
  // window.
  DromelToolPalette(View* parent, CToolPalette* startPanel);
  ~DromelToolPalette() override;

  RowColumnView* GetLayout() const { return ~layout; }
  View* GetCommandRow() const { return ~commandRow; }
  CToolPalette* GetStartPanel() const { return ~startPanel; }
  std::int16_t GetPage() const { return page; }
  void ShowPage(std::int16_t shown);
  // The button chosen on the page shown; a page without its buttons yet stands on its no-tool button
  // (3, 8, 13, 18, 23: remainder 3 after division by 5).
  std::int16_t GetToolKind() const;

 private:
  SmartRef<RowColumnView> layout;
  SmartRef<View> commandRow;
  SmartRef<CToolPalette> startPanel;
  std::int16_t page = 0;
};
