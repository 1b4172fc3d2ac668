// Selecting in the pixel editor: the lasso tool and its modes, the marquee drawn while dragging outside the
// selection, and the move of the selected pixels, which float until a new selection starts so that a
// selection can be moved again and again without leaving copies.
#pragma once

#include <cstdint>

#include "editor/CTool.h"
#include "editor/pixels/CMouseTask.h"

class Area;
class BitMap;

class CLassoTool : public CTool {
  SMART_ABSTRACT(CLassoTool)
 public:
  CLassoTool();
  SMART_NOT_COPYABLE

  // Modes 1 to 4; mode 4 selects the pixel pane's whole picture, the others drop its selection.
  void SetChoice(std::int16_t kind, std::int16_t mode) override;
  std::int16_t GetChoice(std::int16_t) override { return mode; }
  std::int16_t CountChoices(std::int16_t) override { return 4; }

 private:
  std::int16_t mode = 1;
};

class CSelectionRect : public CPaintTask {
 public:
  CSelectionRect(CPixPane* pane, OffScreen* picture, CLassoTool* tool);
  void Begin(Point& anchor, std::int32_t modifiers) override;
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  // The marquee becomes the selection; nothing goes on the undo list.
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;

 private:
  SmartRef<CLassoTool> tool;
  std::int16_t mode;
  Rect rect;
};

class CSelectionMoveTask : public CPaintTask {
 public:
  // Pasted: the pixels were just put in the picture under the selection; otherwise the press was inside
  // the selection with the lasso.
  CSelectionMoveTask(CPixPane* pane, OffScreen* picture, bool pasted);
  void Begin(Point& anchor, std::int32_t modifiers) override;
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  void Undo() override;
  void Redo() override;

  // A new selection starts: nothing floats any more.
  static void ReleaseFloating();

 private:
  // A copy of the picture's pixels under the rectangle (picture coordinates).
  SmartRef<BitMap> CopyOfPicture(const Rect& rect) const;
  // Draws the bitmap into the picture at the rectangle's top-left; keyed, index 255 is left out.
  void DrawIntoPicture(BitMap& bitmap, const Rect& rect, const Area* clip, bool keyed) const;

  // In lifted mode the outline goes back and forth with the picture.
  void SwapOutline();

  // The floating pixels and what lies under them, before and after this move.
  struct Floating {
    SmartRef<BitMap> floating;
    SmartRef<BitMap> under;
    Rect underRect;
  };

  SmartRef<BitMap> floating;
  SmartRef<Area> selectionCopy;
  SmartRef<OffScreen> display;
  Point at;
  Floating before;
  Floating after;
  bool pasted;
  bool undone = false;
};

// The floating pixels and the picture's pixels under their last place (picture coordinates).
extern SmartRef<BitMap> gFloatingSelection;
extern SmartRef<BitMap> gUnderSelection;
extern Rect gUnderSelectionRect;
