// The page window: one page of the open project on its stage pane, under the page editor's tool palette.
// It sizes itself to the page (480 x 360, 600 x 450 or 760 x 570, or larger content), keeps its title as
// "<project>:<page>", remembers the pages shown in it to go back and forward like a browser, and hands
// every page store to the page's scribe so that the web files follow the page. While it is active the
// floating tools window stays out of sight.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "ui/views/DocWindow.h"

class CHAPane;
class CToolPalette;
class DromelToolPalette;

// The default page size and the least size of a page fitted to its content.
extern const Point gDefaultPageSize;
// The height of a page window's tool palette: a window is this much higher than its page.
extern std::int32_t gToolPaletteHeight;

class DromelWindow : public DocWindow {
  SMART_ABSTRACT(DromelWindow)
 public:
  enum : int { kBack = 0, kForward = 1, kHome = 2 };

  DromelWindow(ObjectReference* data, DocWindow* owner, Scribe* scribe, CToolPalette* startPanel);
  ~DromelWindow() override;
  SMART_NOT_COPYABLE

  // Hides the tools window, resets its layout and ends the current tool's gesture.
  void RefreshTarget() override;
  void Activate(bool active) override;
  // The page read, then the window fitted to it.
  void ReadFile(FileReference& file) override;
  void SetData(ObjectReference* newData, Scribe* newScribe) override;
  void FileChanged(FileReference& file) override { ShowTitle(&file); }
  // "<folder>:<page>" from the page file, or "<current folder>:sanstitre" without one.
  void ShowTitle(FileReference* file);

  // The height includes the palette's; (0, 0) fits the window to the page's content. A size smaller
  // than the window's asks first.
  void SetPageSize(std::int32_t width, std::int32_t height);
  bool CanChangePageSize();
  // The page's web files made again when out of date (the project's compilation); the page file is not
  // written through a page scribe.
  void Store();
  // Back, forward or home, once the window may leave its page.
  void Navigate(int direction);
  // The view shown over the page (a browser), front-most; none removes it.
  void SetOverlayView(View* view);
  void RecordVisit();

  DromelToolPalette* GetToolPalette() const { return ~toolPalette; }
  View* GetOverlayView() const { return ~overlayView; }
  const List& GetHistory() const { return history; }
  std::uint32_t GetHistoryIndex() const { return historyIndex; }
  std::uint32_t GetLastVisit() const { return lastVisit; }
  Smart* GetDocument() const;
  // The stage pane of the window's page, or null.
  CHAPane* GetStagePane() const;

 private:
  void ReadHistoryEntry(std::uint32_t position);

  SmartRef<DromelToolPalette> toolPalette;
  SmartRef<CToolPalette> startPanel;
  SmartRef<View> overlayView;
  List history;
  std::uint32_t historyIndex = 0;
  std::uint32_t lastVisit = 0;
  std::uint8_t toolsWindowShown = 0;
  // What DocWindow edits, kept here for the store.
  SmartRef<ObjectReference> document;
};

// The project folder of the window's page scribe, else the current folder.
SmartRef<FileReference> ProjectFolderOfWindow(DromelWindow& window);
