// The text palette: the fonts, the faces and the sizes of the text-style tool side by side, each cell a
// sample "abc", with the colour indicator at the end of the row. The paint-tools window opens it for the
// text-style tool.
#pragma once

#include <cstdint>

#include "editor/CToolPalette.h"
#include "editor/PaintState.h"
#include "editor/RowColumnView.h"
#include "editor/text/CTextStyleTool.h"

class PaintIndicator;

class TextPaletteWindow : public ModelPaletteWindow, public PaintStateListener, public TextStyleListener {
 public:
  // Cell numbers: fonts from 1, faces from 10, sizes from 20.
  enum : std::int16_t { kFirstFontCell = 1, kFirstFaceCell = 10, kFirstSizeCell = 20 };

  // The tool must be the text-style tool. The window's top-left corner goes to the frame's (main-window
  // client coordinates); its size is that of its row.
  TextPaletteWindow(CTool* tool, const Rect& frame);
  ~TextPaletteWindow() override;

  // Cells of all three sets are taken, not only the fonts.
  void ItemClicked(std::int32_t number) override;
  // Selects the cell in its palette and makes its option the tool's.
  void SelectItem(std::int32_t number) override;
  // A new foreground colour: the tool's text colour, and every sample again.
  void PaintStateChanged() override;
  void TextStyleChanged() override;

  CProxyPalette* GetFontPalette() const { return ~fontPalette; }
  CProxyPalette* GetFacePalette() const { return ~facePalette; }
  CProxyPalette* GetSizePalette() const { return ~sizePalette; }

 private:
  // The palette of a cell number and its option index, or null for a number of no cell.
  CProxyPalette* PaletteOfCell(std::int32_t number, std::int16_t* kind, std::int16_t* index) const;

  SmartRef<CTextStyleTool> tool;
  SmartRef<RowColumnView> row;
  SmartRef<CProxyPalette> fontPalette;
  SmartRef<CProxyPalette> facePalette;
  SmartRef<CProxyPalette> sizePalette;
  SmartRef<PaintIndicator> indicator;
};
