// The frame overview: the storyboard of the page being edited, every frame as a small picture in a grid
// of film strips that scrolls by rows. Clicking selects frames for the stage pane (or stretches the
// selected sprites' motion with the stretch tools); the pictures are drawn in the background by a strips
// chore, one frame per job.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "editor/FloatingWindow.h"
#include "editor/stage/CHAPane.h"
#include "engine/movie/CMovie.h"
#include "ui/controls/Controllable.h"
#include "ui/shell/Signal.h"
#include "ui/views/View.h"
#include "ui/views/WindowNotifier.h"

class CChoreStrips;
class DisplayPort;

// gOverviewActive, set while the overview window is shown or its view is active, is declared with the
// stage pane, which reads it.
// The divisor from the page's size to a frame picture's, kept within 1..256 by the layout.
extern std::int16_t gOverviewScale;

class COverview : public View,
                  public Controllable,
                  public NumberCommandHandler,
                  private MovieDependant,
                  private AppListener,
                  private StageListener {
  SMART_ABSTRACT(COverview)
 public:
  // Over the parent's bounds. Following the active pane, the view listens to its window's notifier.
  COverview(View* parent, bool followsActivePane);
  ~COverview() override;
  SMART_NOT_COPYABLE

  void SetPane(CHAPane* newPane);
  CHAPane* GetPane() const { return ~pane; }
  // False when there is nothing to draw yet, or the layout changed and the view is drawn again later.
  bool Layout();

  // ---- View ----
  void DrawContent(DisplayPort& port, const Area& area) override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  bool MouseMoved(std::int32_t, std::int32_t, std::int32_t) override { return false; }
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;
  void Activate(bool active) override;

  // ---- Controllable: rows ----
  void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) override;
  std::int32_t GetPageSize(std::int32_t) override { return 2; }
  void SetValue(std::int32_t command, std::int32_t value) override;
  std::int32_t GetValue(std::int32_t) override { return topRow; }

  // ---- Commands ----
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;

  // ---- Geometry ----
  // The picture rectangle of the frame, in window coordinates.
  Rect PictureRect(std::int16_t frame) const;
  std::int16_t GetColumns() const { return columns; }
  std::int16_t GetRows() const { return rows; }
  std::int16_t GetCellWidth() const { return frameH; }
  std::int16_t GetCellHeight() const { return frameV; }
  std::int16_t GetFirstSelected() const { return firstSelected; }
  std::int16_t GetLastSelected() const { return lastSelected; }
  bool IsDirty() const { return flags & kDirty; }
  CChoreStrips* GetChore() const { return ~strips; }

  static bool ThumbnailJob(View* owner, std::int32_t job, const Rect& frame);
  void DrawThumbnail(std::int16_t frame);

 private:
  static constexpr std::uint8_t kDirty = 1;
  static constexpr std::uint8_t kActivatedOnce = 2;
  static constexpr std::uint8_t kFollowsActivePane = 4;
  static constexpr std::uint8_t kUpdatingPane = 8;

  void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) override;
  void BoundsChanged(CMovie* movie, const Rect& oldBounds) override;
  void AppChanged(App* app) override;
  void StagePaneChanged(CHAPane* changed) override;

  void SetFlag(std::uint8_t flag, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | flag : flags & ~flag);
  }
  CMovieGroup* Group() const;
  void ReadSelection();
  // Reads the selection again and, when it moved, moves the highlight on the screen.
  void FollowSelection();
  void ScrollSelectionIntoView();
  void MoveHighlight(std::int16_t oldFirst, std::int16_t oldLast);
  // Inverts the frames' highlight: drawing it twice removes it.
  void Highlight(DisplayPort& port, std::int16_t first, std::int16_t last);
  void DrawBand(DisplayPort& port, std::int32_t row);
  void DrawDecoration(DisplayPort& port, std::int16_t frame);
  void Register(bool on);

  Rect thumbRect;
  Rect bandRect;
  std::int16_t columns = 1;
  std::int16_t rows = 1;
  std::int16_t frameCount = 0;
  std::int16_t frameH = 0;
  std::int16_t frameV = 0;
  std::int16_t firstSelected = 0;
  std::int16_t lastSelected = 0;
  List selectedSprites{&CSprite::classInfo};
  SmartRef<CChoreStrips> strips;
  SmartRef<CHAPane> pane;
  // The group the view is a dependant of, which may outlive the pane's hold on it.
  SmartRef<CMovie> watchedGroup;
  std::uint8_t flags = kDirty;
  std::int32_t topRow = 0;
};

// The overview's floating window: the view with a scroll bar, along the bottom of the screen.
class COverDir : public FloatingWindow, public NumberCommandHandler {
  SMART_ABSTRACT(COverDir)
 public:
  COverDir(CHAPane* pane, int kind, bool follows, const Rect& frame);
  SMART_NOT_COPYABLE

  void Close() override;
  bool Toggle(bool flag) override;
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;
  COverview* GetOverview() const { return ~overview; }

 private:
  SmartRef<COverview> overview;
  std::uint8_t flags = 0;
};
