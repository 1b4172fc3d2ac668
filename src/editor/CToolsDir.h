// The floating tools window: it holds the editor's current tool and the palettes that choose it, follows
// the stage pane it acts on (paint buttons while a picture is edited, nothing while the page plays), makes
// the shared border-size tool and paint state, and plays the current tool's hint when it stays unused.
#pragma once

#include <cstdint>

#include "core/PointerArray.h"
#include "editor/CPaletteDir.h"
#include "editor/CToolPalette.h"
#include "editor/RowColumnView.h"
#include "editor/ToolsPane.h"
#include "ui/shell/Chore.h"
#include "ui/views/WindowNotifier.h"

class CBorderSizeTool;
class CDropperTool;
class CTool;
class CToolsDir;
class DisplayPort;
class Tool;

// Told after the stage pane's edit state changed.
class ToolsDirListener {
 public:
  virtual void ToolsChanged(CToolsDir* window) = 0;

 protected:
  ~ToolsDirListener() = default;
};

class CToolsDir : public CPaletteDir,
                  public AppListener,
                  public PaneStateListener,
                  public ChoreClient,
                  public PaletteListener {
 public:
  // Layout modes.
  enum : std::int32_t { kNothing = 0, kPageTools = 1, kTextEditing = 2, kPictureEditing = 3, kPageToolsToo = 4 };
  static constexpr std::uint32_t kHintDelay = 4000;

  explicit CToolsDir(SoundResource* paletteSound);
  ~CToolsDir() override;

  // With the flag, shows or hides the window; shown again, it selects the current tool's button.
  bool Toggle(bool flag) override;
  // A palette's button was picked: the click sound, the tool, and the pane's edit mode for it.
  void ItemClicked(std::int32_t index) override { OnPaletteSelection(index); }
  void SelectItem(std::int32_t index) override { SelectTool(index); }
  void ButtonChosen(std::int16_t number) override { ItemClicked(number); }

  // The tools a concrete window offers, by button index.
  virtual std::int16_t IndexOfTool(std::int32_t toolId);
  virtual SmartRef<Tool> GetToolAt(std::int16_t index);
  virtual void Layout(std::int32_t mode);

  virtual void OnPaletteSelection(std::int32_t index);
  virtual void SelectTool(std::int32_t index);
  void SetSelectedButton(std::int32_t toolId);
  void SelectToolInPalettes();

  std::int32_t GetCurrentToolId() const;
  SmartRef<Tool> GetCurrentToolRef() const { return currentTool; }
  SmartRef<CTool> GetCurrentTool() const;
  // A null tool is ignored. The hint delay starts again even for the tool already current.
  void SetCurrentTool(Tool* tool);
  // The hint chore fired: the current tool's hint, if it is still unused.
  void TickCurrentTool();

  SmartRef<ToolsPane> StopPlayback();
  // Selects the whole picture of the pixel pane being edited, if any, and clears it.
  static void SelectAllPixels();
  void SetPane(ToolsPane* newPane);
  ToolsPane* GetPane() const { return ~pane; }
  void PaneStateChanged() override;
  void ToggleListener(ToolsDirListener* listener) { listeners.Toggle(listener); }
  void NotifyListeners();

  SmartRef<RowColumnView> GetLayout() const { return layout; }
  CToolPalette* GetToolPalette() const { return ~toolPalette; }
  CToolPalette* GetPaintPalette() const { return ~paintPalette; }
  std::int32_t GetLayoutMode() const { return layoutMode; }
  PeriodicChore* GetHintChore() const { return ~chore; }

  void AppChanged(App* app) override;
  void ActivePaneChanged(ToolsPane* activePane) { SetPane(activePane); }
  void ChoreFired(Chore* fired) override;

 protected:
  // The concrete window builds its content and hands it over; the window listens to both palettes.
  void SetLayout(RowColumnView* content) { layout = content; }
  void SetToolPalette(CToolPalette* palette);
  void SetPaintPalette(CToolPalette* palette);

 private:
  static bool Shows(const SmartRef<CToolPalette>& palette) { return palette && palette->IsVisible(); }

  SmartRef<RowColumnView> layout;
  SmartRef<CToolPalette> toolPalette;
  SmartRef<CToolPalette> paintPalette;
  SmartRef<ToolsPane> pane;
  SmartRef<PeriodicChore> chore;
  std::int32_t layoutMode = kNothing;
  SmartRef<Tool> currentTool;
  PointerArray<ToolsDirListener> listeners;
};

// The shared tools: the first current tool, the paint state, and the text-style tool. They outlive the
// window.
extern SmartRef<CBorderSizeTool> gBorderSizeTool;
extern SmartRef<CTool> gTextStyleTool;
extern SmartRef<CToolPalette> gPaintPalette;
// The authoring application's tools window.
extern SmartRef<CToolsDir> gToolsDirectory;

// A swatch's frame: an outline in colour 1, then two bevels (6 over 3, then 5 over 2); the rectangle
// becomes the area inside.
void DrawSwatchFrame(DisplayPort& port, Rect& rect);
