// The views of the page editor's palette area around the browser: the browser pane (a browser with its
// scroll bar), the tool-palette pane that shows one page of tool buttons at a time and tracks a pressed
// button, and the clip-art folders they browse.
#pragma once

#include <cstdint>

#include "core/FileReference.h"
#include "editor/CPaletteDir.h"
#include "editor/CToolPalette.h"
#include "ui/shell/Tool.h"
#include "editor/CToolsDir.h"
#include "ui/views/View.h"

class CBrowser;
class CTool;
class PaletteLook;
class Sound;

class PageBrowserPane : public View {
 public:
  static constexpr std::int32_t kScrollBarWidth = 15;

  PageBrowserPane(View* parent, FileReference& folder, CTool* tool, std::int32_t thumbWidth, std::int32_t thumbHeight,
                  const Rect& frame, Smart* owner);
  // The browser's scroll bar holds the browser as its model: it goes first, so that the browser (and its
  // strips chore with its timer) goes with the pane.
  ~PageBrowserPane() override;
  SMART_NOT_COPYABLE
  CBrowser* GetBrowser() const { return ~browser; }

 private:
  SmartRef<CBrowser> browser;
};

// Refuses nested button tracking (a tracking loop that dispatches a press on another palette button).
extern bool gPaletteTracking;

class ToolPalettePane : public CPaletteView, private PaletteListener, private ToolsDirListener {
 public:
  ToolPalettePane(View* parent, std::int16_t pageCount);
  ~ToolPalettePane() override;

  // The clear button (gDeleteButton) at the pane's top-left and, with a look, the page-step palette;
  // then the first page.
  void AddCommandButtonRow(View* parent, PaletteLook* stepLook);

  // Tracks the press on the button of that kind while the mouse is down, and chooses it when released
  // over it.
  virtual void TrackSelection(std::int32_t kind);
  // 0 empties the content area; 1 and 2 step a page forward and back.
  virtual void ChooseTool(std::int32_t kind);
  // The palette of page n, or null.
  virtual CToolPalette* GetPagePalette(std::int16_t page) = 0;
  virtual void ShowPage(std::int16_t page);
  std::int16_t GetPage() const { return currentPage; }
  std::int16_t GetPageCount() const { return pageCount; }
  CToolPalette* GetStepPalette() const { return ~stepPalette; }
  void UpdateAppWindows(Smart* object);

 protected:
  SmartRef<Sound> firstSound;
  SmartRef<Sound> secondSound;

 private:
  void ButtonChosen(std::int16_t number) override { TrackSelection(number); }
  void ToolsChanged(CToolsDir*) override { ChooseTool(0); }

  SmartRef<CToolPalette> stepPalette;
  std::int16_t currentPage = 0;
  std::int16_t pageCount;
};

// The folder of that name in the program's folder; a missing one is reported and made empty.
SmartRef<FileReference> FindOrCreateFolder(const char* name);
