// The mouse tasks of the editor: one drag, at once the gesture's interactor and the undoable task the
// window keeps once the drag is over. The paint tasks paint into the pixel editor's picture, keep a copy of
// it for undo and an image of the stage under the pane to repaint the screen from.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "ui/shell/Task.h"

class BitMap;
class CPixPane;
class DisplayDevice;
class OffScreen;

class CMouseTask : public Interactor, public Task {
  SMART_ABSTRACT(CMouseTask)
 public:
  CMouseTask(std::int32_t code, View* view);
  ~CMouseTask() override;
  SMART_NOT_COPYABLE

  // Press, moves and release become Begin, Continue and End in the view's coordinates.
  bool Track(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown) override;
  // Called once by the pane that made the task, before the press is tracked.
  virtual void Prepare() {}
  // Begin may move the anchor; the moves and the release then get the moved one.
  virtual void Begin(Point& anchor, std::int32_t modifiers) = 0;
  virtual void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) = 0;
  virtual void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) = 0;
  // What the view draws on: its off-screen buffer or its device.
  SmartRef<DisplayDevice> GetPane() const;
  static void MoveHook();

  View* GetView() const { return ~view; }
  const Point& GetAnchor() const { return anchor; }
  bool HasBegun() const { return !notBegun; }

 private:
  Point anchor;
  Point last;
  bool notBegun = true;
  bool failed = false;
  SmartRef<View> view;
};

class CPaintTask : public CMouseTask {
 public:
  CPaintTask(std::int32_t code, CPixPane* pane, OffScreen* picture);
  ~CPaintTask() override;

  // Takes the undo copy of the picture and, when the pane draws straight on the screen, the image of the
  // stage under it.
  void Prepare() override;
  // The press paints like a move of no length.
  void Begin(Point& anchor, std::int32_t modifiers) override;
  // Paints the last segment and goes on the window's undo list.
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;

  // The stroke is painted as it goes: there is nothing to do again.
  void Do() override;
  // Swaps the picture with the copy taken before the stroke; redo swaps back.
  void Undo() override;
  void Redo() override { Undo(); }

  CPixPane* GetPixPane() const { return ~pane; }
  OffScreen* GetPicture() const { return ~picture; }
  BitMap* GetSnapshot() const { return ~snapshot; }
  OffScreen* GetStageImage() const { return ~stageImage; }

 protected:
  // Draws the stage image onto the pane's device over the rectangle (window coordinates).
  void RestoreScreen(const Rect& rect);
  void TakeSnapshot();

  SmartRef<CPixPane> pane;
  SmartRef<OffScreen> picture;
  SmartRef<BitMap> snapshot;
  SmartRef<OffScreen> stageImage;
  Rect stageRect;
  bool takeSnapshot = true;
  bool useStageImage = true;
  bool stageWithoutPicture = false;
};
