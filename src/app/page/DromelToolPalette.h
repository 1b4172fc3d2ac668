// The row at the top of every page window: five pages of five picture buttons, one page shown at a time,
// which the start panel's column chooses, and the page editor's command buttons at the window's right
// edge. Every button has a number, its tool kind: choosing one opens a browser of pictures or pages over
// the page, sends a command (new page, back, forward, home, publish, e-mail link), puts the tools window
// into text or paint mode, or makes a tool current. The palette also owns the clip-art category choice
// (the "Catégorie" menu), plays the page's show again and again while its last page is shown, and keeps
// the click sound the application's buttons share.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "editor/browser/BrowserPanes.h"
#include "engine/player/CPlayer.h"
#include "ui/views/WindowNotifier.h"

class CPanePlay;
class CTool;
class CToolsDir;
class DromelWindow;
class Menu;
class RowColumnView;
class Sound;
class String;
class Window;

class DromelToolPalette : public ToolPalettePane, private AppListener, private PlayerListener {
  SMART_ABSTRACT(DromelToolPalette)
 public:
  // The height of the page buttons: the palette is never lower.
  static constexpr std::int32_t kButtonHeight = 50;
  static constexpr std::int16_t kPageCount = 5;
  static constexpr std::int16_t kSlotCount = 25;
  // Tool kinds with a meaning of their own. A page p holds the kinds 3 + 5p to 7 + 5p, the first of
  // which is its no-tool button; the start panel's buttons are 28 to 32.
  enum : std::int32_t {
    kNoTool = 0,
    kStepForward = 1,
    kStepBack = 2,
    kFirstPageKind = 3,
    kClipArtKind = 11,
    kFirstPanelKind = 28,
    kLastKind = 32,
  };
  // The page where the page's show plays.
  static constexpr std::int16_t kPlayPage = 4;

  // Over the parent's top edge, as wide as the parent; the start panel's column (null: none) is shared
  // by every page window. A new palette shows page 1.
  DromelToolPalette(View* parent, CToolPalette* startPanel);
  ~DromelToolPalette() override;
  SMART_NOT_COPYABLE

  // What the button of that kind does.
  virtual void CreateTool(std::int32_t kind);
  void ChooseTool(std::int32_t kind) override { CreateTool(kind); }
  CToolPalette* GetPagePalette(std::int16_t page) override;
  // Leaving the play page stops the show, coming to it starts it; the page already shown is only redrawn.
  void ShowPage(std::int16_t shown) override;

  // The button chosen on the page shown; 3, 8, 13, 18 and 23 (remainder 3 after division by 5) are the
  // pages' no-tool buttons.
  std::int16_t GetToolKind() const;
  // The tool of slot n (kind n + 2), or null.
  CTool* GetTool(std::int16_t slot) const;
  // The active stage pane, whose player the palette listens to.
  void SetPlayPane(CPanePlay* pane);
  // On the play page the show starts again each time it stops.
  void PlaybackStopped();

  // The tools window goes right under the page window, moved up as far as it must to stay on the screen.
  static void PlaceToolsWindow(Window& pageWindow, Window& toolsWindow);
  // The click sound of the application's buttons (editor sound 3), loaded at the first call.
  static SmartRef<Sound> GetClickSound();
  // The action of a "Catégorie" item: the clip-art browser of the page window in front opens again on
  // that folder.
  static void SetCategory(const String& folderName);

  RowColumnView* GetLayout() const { return ~layout; }
  View* GetCommandRow() const { return ~commandRow; }
  CToolPalette* GetStartPanel() const { return ~startPanel; }
  CPanePlay* GetPlayPane() const { return ~playPane; }

 private:
  // Told by the page palettes and the start panel: the button chosen goes to the pane's tracking.
  class SelectionListener : public ::PaletteListener {
   public:
    explicit SelectionListener(DromelToolPalette& owner) : owner(owner) {}
    void ButtonChosen(std::int16_t number) override { owner.TrackSelection(number); }

   private:
    DromelToolPalette& owner;
  };

  void ToolsChanged(CToolsDir* window) override;
  void AppChanged(App* app) override;
  void FrameShown() override {}
  void PlayStateChanged() override { PlaybackStopped(); }
  void SendViewCommand(Smart*) override {}

  void MakeTools();
  DromelWindow* PageWindow() const;
  // What kind 0 does: no tool, no browser.
  void ClearTool();
  void SendNumber(std::int32_t number);
  void SendFileMenuCommand(char shortcut);
  // Kinds 4, 5, 9, 10, 11, 19, 20, 21 and 22.
  void OpenBrowser(std::int32_t kind, Point cell, const std::function<SmartRef<FileReference>()>& folder);
  // The folder the clip-art browser shows: the chosen category of "Vignette", or "Vignette" itself.
  SmartRef<FileReference> ChooseCategoryFolder();

  SmartRef<RowColumnView> layout;
  std::array<SmartRef<CTool>, kSlotCount> tools;
  std::array<SmartRef<CToolPalette>, kPageCount> pages;
  SmartRef<CPanePlay> playPane;
  SmartRef<CToolPalette> startPanel;
  std::int16_t page = 0;
  SmartRef<Sound> sound;
  SmartRef<View> commandRow;
  // The button the page palette showed before the last choice, redrawn when a command button lets go.
  std::int16_t previousButton = 0;
  bool changingTools = false;
  SelectionListener selectionListener{*this};
};

// Loaded by the first GetClickSound, kept to the end of the run.
extern SmartRef<Sound> gClickSound;
// The name of the chosen clip-art folder of "Vignette"; empty at start.
extern String gCurrentCategory;
// Set while a start-panel button chose the page shown; any other choice clears it.
extern std::uint8_t gPageButtonChosen;

// A "Catégorie" item: ticked for the category chosen, and always enabled.
class CategoryCommand : public GenericSignal {
 public:
  explicit CategoryCommand(const String& folderName);
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
  const String& GetFolderName() const { return *folderName; }

 private:
  SmartRef<String> folderName;
};

// One item per folder of "Vignette" (made after an alert when missing), named by the folder's whole name.
// The menu takes its items before the bar is installed: a built menu shows no item appended later.
void FillCategoryMenu(Menu& menu);
