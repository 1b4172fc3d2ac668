// The stage pane: the view in which the child edits one page. Over the play pane it keeps the editing
// state of the page: the frame shown and edited, a range of frames that edits apply to, the sprites
// selected on the page, and the listeners that follow them (the frame overview). It draws the page with
// the selection's handles, performs the editor's numbered commands on the page, and turns presses and
// keys into selections, drags and tool actions.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "core/PointerArray.h"
#include "editor/PaintState.h"
#include "editor/ToolsPane.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/sprites/CSprite.h"
#include "ui/text/TextStyle.h"

class CHAPane;
class CMovieGroup;
class CMovieRes;
class CXform;
class CMouseTask;
class CTaskTool;
class Clipboard;
class CSprite;
class CTool;
class App;
class CLink;
class CShow;
class FileReference;
class Task;
class ToggleButton;

// Told, with the pane, when the selection, the editing range or the frame changes (range listeners; null
// when the pane only followed the player to a frame inside the range), or when the pane redraws a frame
// while playing (frame listeners).
class StageListener {
 public:
  virtual void StagePaneChanged(CHAPane* pane) = 0;

 protected:
  ~StageListener() = default;
};

// Set while the frame overview is shown or active: the pane then reports no selected sprites, does not
// widen a range to its selection, and selects single frames.
extern bool gOverviewActive;
// The size of a selection handle.
extern Point gHandleSize;
// The page editor palette's clear button, disabled while nothing is selected; null until it exists.
extern SmartRef<ToggleButton> gDeleteButton;
// Set while the undo or redo of a page background's import runs: the pane's
// paste and clear then work on the background sprite.
extern bool gBackgroundImport;

class CHAPane : public CPanePlay,
                public StyleSetter,
                public PlayerListener,
                public PaintStateListener,
                public ToolsPane {
  SMART_ABSTRACT(CHAPane)
 public:
  enum RangeMode : std::int32_t { kCurrentFrame = 0, kStoredRange = 1, kAllFrames = 2, kToLastFrame = 3 };
  // The play-state notifications the pane sends the application.
  enum : std::int32_t { kPlayStarted = 2030, kPlayStopped = 2031, kToolPlayStopped = 2032 };

  // Over the whole of the parent. With the quiet flag, the pane does not tell the application when it
  // stops for a toggled tool, and after playing it only asks itself for command 4.
  CHAPane(View* parent, SmartRef<CPlayer> player, bool quiet);
  ~CHAPane() override;
  SMART_NOT_COPYABLE

  CMovieGroup* GetGroup() const;
  std::int16_t GetCurrentFrame() const { return currentFrame; }
  bool IsFrameBoxShown() const { return flags & kFrameBox; }

  // ---- Listeners ----
  void ToggleRangeListener(StageListener* listener) { rangeListeners.Toggle(listener); }
  void ToggleFrameListener(StageListener* listener) { frameListeners.Toggle(listener); }
  void TellRangeListeners(CHAPane* argument);
  void TellFrameListeners();

  // ---- Selection ----
  // Shares the pane's list; a new empty list while the overview is active.
  List GetSelectionList() const;
  void SelectSpriteAt(std::int16_t index, bool extend = false);
  void SelectSprite(CSprite* sprite);
  virtual void SetSpriteSelected(CSprite* sprite, bool select);
  // The sprite index and selection position (both 0-based, -1 for none) of the top-most sprite under the
  // point that is not a background.
  virtual void HitTest(std::int32_t x, std::int32_t y, std::int32_t* selectionPosition, std::int32_t* spriteIndex);
  static bool IsOnHandle(const Point& point, const Rect& rect);
  void UpdateSelectionState();

  // ---- Frames ----
  virtual void GetFrameRange(std::int16_t* first, std::int16_t* last, bool useStoredRange);
  virtual void SetFrameRange(std::int16_t first, std::int16_t last);
  virtual std::int16_t ClampFrame(std::int16_t frame);
  virtual bool CanEditRange(std::int16_t, std::int16_t) { return true; }
  std::int32_t GetRangeMode() const { return rangeMode; }
  void SetRangeMode(std::int32_t mode);
  std::int16_t GetRangeStart() const { return rangeStart; }
  std::int16_t GetRangeEnd() const { return rangeEnd; }
  // The pane draws no other frame with the current one.
  void GetGhostFrames(std::int16_t frame, std::int16_t* first, std::int16_t* count) const;
  static void GetGhostFramesOf(std::int16_t frame, std::int16_t* first, std::int16_t* count);

  // ---- Drawing ----
  void DrawContent(DisplayPort& port, const Area& area) override;
  virtual void DrawFrameBox(DisplayPort& port);
  virtual void DrawFrameLabel(DisplayPort&, std::int16_t) {}
  virtual void FinishDrawing(DisplayPort&) {}
  virtual void DrawHandles(DisplayPort& port, const Rect& rect);
  void RedrawHandles();
  // The frame into the port for another view, clamped into the page, leaving out the listed sprites and
  // shading the dim rectangle; the frame box and label follow.
  void DrawPage(DisplayPort& port, std::int16_t frame, const List* sprites, const Rect& dim);
  // The frame of the page without the listed sprites, then the pane's overlay: what lies under a drag.
  void DrawStage(DisplayPort& port, std::int16_t frame, const List* without);
  void RepaintArea(const Area& area);

  // ---- Edits ----
  // The end of every edit: the task goes on the undo list, the page drops its empty sprites (unless the
  // task is a clipboard one) and the window hears of the change.
  void ContentChanged(Task* task);
  // After a drag: the listeners and the selection state follow what the drag did.
  void FinishGesture();
  // Makes the task the application's tool for one gesture; answers that tool.
  virtual SmartRef<CTaskTool> InstallTaskTool(CMouseTask* task);
  // Ends painting or typing in place and stores the result; quiet, the frame listeners are not told.
  virtual void FinishEditing(bool quiet);
  // Paints or types in place: on the sprite (the first selected one without a sprite and rectangle), or
  // when it is not such a picture or text, on a new one over the rectangle (or the whole pane).
  virtual void EditResourceMovie(CSprite* sprite, const Rect& rect, bool picture, bool text, bool wholePane);
  bool IsEditingInPlace() const { return editor != nullptr; }
  int GetEditingKind() const { return GetEditKind(); }
  // 0 ends editing, 1 paints and 2 types on the selection or a new object.
  void SetEditingKind(int kind, bool wholePane);
  // Resamples the frames [first, first + old length) to the new length; frames are repeated or dropped,
  // motion is not interpolated.
  void StretchMotion(std::int16_t first, std::int16_t oldLength, std::int16_t newLength);
  virtual bool AcceptsObject(Smart*) { return true; }
  virtual bool TrackMarquee(Rect*, std::int32_t, std::int32_t) { return false; }
  virtual void ReleaseArgument(Smart*) {}

  // ---- Clipboard ----
  void Copy(Clipboard* clipboard) override;
  // Mode 0: copied sprites at their place; 2: the first at (x, y), or all moved by the pane's corner for
  // (-1, -1); 3: at the pane's centre. Anything not a list of sprites is pasted with mode 3.
  void Paste(Clipboard* clipboard, std::int32_t mode, std::int32_t x, std::int32_t y) override;
  void Clear() override;
  bool CanEdit(int operation) override;
  virtual const ClassInfo* GetScrapClass();
  // A sprite of the picture leading to the page puts itself on the application's clipboard.
  void CopyPageLink(FileReference* page, Smart* picture, App* application);
  // The sound (link) at the frame: the first selected sprite's when it is visible there, else the page's.
  static bool FrameSound(CShow* page, std::int16_t frame, const List& chosen, bool play);
  static CLink* FrameLink(CShow* page, std::int16_t frame, const List& chosen);

  // ---- Commands ----
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;
  void SendPlayState(Smart*) { RedrawHandles(); }

  // ---- Mouse and keys ----
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  virtual bool ToolClick(std::int32_t x, std::int32_t y, std::int16_t index, CSprite* sprite);
  void HighlightSprite(const Rect& rect);
  // The clipboard's sound and link (or those of the first sprite its content makes) over the frames.
  void ApplyClipToSprite(Clipboard* clipboard, std::int16_t first, std::int16_t count, CSprite* sprite);

  // ---- View ----
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;
  void Activate(bool active) override;

  // ---- Player and paint state ----
  void FrameShown() override;
  void PlayStateChanged() override;
  void SendViewCommand(Smart* object) override;
  void PaintStateChanged() override;
  void SetTextStyle(SmartRef<TextStyle>) override {}
  SmartRef<TextStyle> GetTextStyle() override;
  // The colour chooser of the paint state, for the foreground, below and right of the stage's middle.
  void ChooseColorCommand();

  // ---- What the tools window asks ----
  int GetEditKind() const override;
  bool IsPlaying() const override { return CPanePlay::IsPlaying(); }
  bool IsPaneActive() const override { return IsActive(); }
  bool HasPlaybackChore() const override { return CPanePlay::IsPlaying(); }
  void StopPlayback() override { HandleNumberCommand(kPlayStopped, nullptr); }
  void StopPlayer() override { GetPlayer()->Stop(); }
  void SetEditMode(int mode, bool wholePane) override { SetEditingKind(mode, wholePane); }
  SmartRef<View> GetEditPane() const override { return editor; }
  void TogglePaneListener(PaneStateListener* listener) override { paneListeners.Toggle(listener); }

 private:
  static constexpr std::uint8_t kFrameBox = 1;
  static constexpr std::uint8_t kQuiet = 2;

  // Sends the engine application one of its numbered commands (the play-state notifications).
  static void TellApplication(std::int32_t number, void* argument);
  // The frame-step commands (3012 and 3013).
  void StepFrame(std::int16_t delta);
  void NoticePair();
  void PerformPlay(void* argument);
  void PerformPlace(std::int32_t number, void* argument);
  void ReverseFrames(std::int16_t first, std::int16_t last);
  // The page window's tool kinds a double click on a text asks for.
  static constexpr std::int32_t kTextToolsPage = 30;
  static constexpr std::int32_t kTextToolsLayout = 14;
  // A double click on a selected text: the page window in front opens its text tools.
  static void OpenTextTools();
  void SelectMarquee(std::int32_t x, std::int32_t y, CTool* tool);
  void StartDrag(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window,
                 std::int16_t index, CSprite* sprite, CTool* tool);
  void ClipAction(std::int32_t x, std::int32_t y, std::int16_t index, CSprite* sprite, CTool* tool);
  int PlaceStatus(std::int32_t number);
  void SetFlag(std::uint8_t flag, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | flag : flags & ~flag);
  }
  void TellPaneListeners();
  // The movie's frame editor opened over the pane, with the border.
  void OpenEditor(CMovieRes* movie, std::int16_t frame, std::int16_t start, std::int16_t count, std::int16_t limit,
                  const Rect& placement, CXform* xform, bool useUnchanged, bool lock);
  void StartEditing(CMovieRes* movie);

  std::uint8_t flags = 0;
  std::int16_t currentFrame = 0;
  std::int16_t rangeStart = 0;
  std::int16_t rangeEnd = 0;
  std::int32_t rangeMode = kCurrentFrame;
  List selection{&CSprite::classInfo};
  SmartRef<CMovieRes> editedMovie;
  SmartRef<View> editor;
  PointerArray<StageListener> rangeListeners;
  PointerArray<StageListener> frameListeners;
  PointerArray<PaneStateListener> paneListeners;
  bool listeningToPaint = false;
  // Set while a movie opens its editor in the pane: the text field of a text pane takes the focus as it
  // is put in the window, and the window reports that as a press at the field's corner.
  bool openingEditor = false;
};

// The stage pane a page's editor makes: the engine's stage-pane maker.
SmartRef<CPanePlay> MakeCHAPane(View* container, CPlayer* player);
