// The tools window the authoring application builds: a floating strip at the bottom of the main window
// with the paint-tool buttons, the option cells of the tool in use beside the colour indicator and, when
// asked for, the page-editor controls. It owns the thirteen tools its buttons choose (numbers 1 to 13; 14
// is the text-style tool, 15 and up the current tool's options) and opens the text palette for the
// text-style tool.
#pragma once

#include <array>
#include <cstdint>

#include "editor/CToolsDir.h"

class CCommandButton;
class PaintIndicator;

class PaintToolsWindow : public CToolsDir {
 public:
  static constexpr std::int16_t kTextStyleButton = 14;
  static constexpr std::int16_t kFirstOption = 15;

  // Buttons 1 to 3 are toggled when asked; the application gives (false, false, true).
  PaintToolsWindow(bool toggled, bool withControls, bool withPaintPalette);
  ~PaintToolsWindow() override;
  SMART_NOT_COPYABLE

  // 14 for the text style; the selected control button when it holds such a tool; else the first button
  // that does; 0 when none.
  std::int16_t IndexOfTool(std::int32_t toolId) override;
  SmartRef<Tool> GetToolAt(std::int16_t number) override;
  void Layout(std::int32_t mode) override;
  // Option numbers beyond the current tool's choices are ignored; the others play the option sound.
  void OnPaletteSelection(std::int32_t number) override;
  // An option number sets the current tool's choice; a tool number makes the tool current and shows its
  // options, or hands its option window to the application.
  void SelectTool(std::int32_t number) override;
  // Closing the window only tells its listeners, as a change of the pane's state does: it stays shown.
  void Close() override;
  void PaneStateChanged() override;

  // The brush builds its pictures afresh and the gesture under way ends.
  void ResetBrush();
  void ShowOptions(int lookId, bool proxy, bool withIndicator);
  void HideOptions();

  CToolPalette* GetOptionPalette() const { return ~optionPalette; }
  PaintIndicator* GetIndicator() const { return ~indicator; }
  CCommandButton* GetCommandButton() const { return ~commandButton; }

 private:
  // The option window, or none, for the current tool; the window's own options for the paint tools.
  SmartRef<Window> MakeOptionWindow();
  // The window with its caption and border, in the main window's client coordinates.
  Rect OuterFrame() const;
  void FitToLayout();

  std::array<SmartRef<Tool>, 7> controlTools;
  std::array<SmartRef<Tool>, 6> paintTools;
  SmartRef<CCommandButton> commandButton;
  SmartRef<SoundResource> optionSound;
  SmartRef<CToolPalette> optionPalette;
  SmartRef<PaintIndicator> indicator;
};
