#include "editor/pixels/SelectionTasks.h"

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/KidResources.h"
#include "editor/pixels/CPixPane.h"
#include "graphics/Area.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"

SMART_DEFINE_ABSTRACT(CLassoTool, "CLassoTool", CTool)

SmartRef<BitMap> gFloatingSelection;
SmartRef<BitMap> gUnderSelection;
Rect gUnderSelectionRect;

namespace {

constexpr std::int32_t kTransparentIndex = 255;

}  // namespace

CLassoTool::CLassoTool() : CTool(111, KidResources::GetSound(36), true, nullptr) {}

void CLassoTool::SetChoice(std::int16_t, std::int16_t newMode) {
  if (newMode < 1 || newMode > 4) return;
  mode = newMode;
  if (!gPixPane) return;
  if (mode == 4) gPixPane->SelectAll(true);
  else gPixPane->Deselect();
}

CSelectionRect::CSelectionRect(CPixPane* pane, OffScreen* picture, CLassoTool* tool)
    : CPaintTask(0, pane, picture), tool(tool) {
  pane->GetSelection()->Assign(Area::emptyArea());
  if (!tool) AssertFailed("~tool != NULL", __FILE__, __LINE__);
  mode = tool->GetChoice(0);
}

void CSelectionRect::Begin(Point& anchor, std::int32_t modifiers) {
  CPaintTask::Begin(anchor, modifiers);
  if (mode == 1 || mode == 3) rect = Rect(anchor.x, anchor.y, anchor.x, anchor.y);
}

void CSelectionRect::Continue(Point& point, Point& last, Point& anchor, std::int32_t) {
  if (point == last) return;
  const SmartRef<DisplayDevice> device = GetPane();
  DisplayPort port(CHECK_NOT_NULL(~device), pane->GetBounds());
  if (stageImage) {
    PortState moved(port, Translation(stageRect.left, stageRect.top));
    stageImage->GetBitMap()->DrawOpaque(port);
  }
  MoveHook();
  rect = Rect(std::min(anchor.x, point.x), std::min(anchor.y, point.y), std::max(anchor.x, point.x),
              std::max(anchor.y, point.y));
  port.DrawRect(rect, standardColors[13], standardColors[1], 1);
}

void CSelectionRect::End(Point&, Point&, Point&, std::int32_t) { pane->GetSelection()->SetRect(rect); }

CSelectionMoveTask::CSelectionMoveTask(CPixPane* pane, OffScreen* picture, bool pasted)
    : CPaintTask(pasted ? 7 : 1, pane, picture), pasted(pasted) {
  takeSnapshot = false;
}

void CSelectionMoveTask::ReleaseFloating() {
  gFloatingSelection = nullptr;
  gUnderSelection = nullptr;
  gUnderSelectionRect = Rect::emptyRect;
}

SmartRef<BitMap> CSelectionMoveTask::CopyOfPicture(const Rect& rect) const {
  SmartRef<OffScreen> copy(new OffScreen(rect.Width(), rect.Height(), picture->GetColorTable(), standardColors[0], true));
  {
    DisplayPort port(~copy, Rect(0, 0, rect.Width(), rect.Height()));
    port.SetTransform(new Translation(-rect.left, -rect.top));
    picture->GetBitMap()->DrawOpaque(port);
  }
  return copy->GetBitMap();
}

void CSelectionMoveTask::DrawIntoPicture(BitMap& bitmap, const Rect& rect, const Area* clip, bool keyed) const {
  Rect device;
  picture->GetBounds(&device);
  DisplayPort port(~picture, device);
  if (clip) port.ClipTo(*clip);
  port.SetTransform(new Translation(rect.left, rect.top));
  if (keyed) bitmap.DrawKeyed(port, kTransparentIndex);
  else bitmap.DrawOpaque(port);
}

void CSelectionMoveTask::Begin(Point& anchor, std::int32_t modifiers) {
  CPaintTask::Begin(anchor, modifiers);
  TakeSnapshot();
  at = anchor;
  before = {gFloatingSelection, gUnderSelection, gUnderSelectionRect};
  if (undone) {
    selectionCopy = nullptr;
    undone = false;
  }
  const Area& selection = *pane->GetSelection();
  if (!selectionCopy) selectionCopy = new Area(selection);
  const Point origin = pane->PictureOrigin();
  Rect bounds = selection.IsEmpty() ? Rect::emptyRect : selection.GetBounds();
  floating = gFloatingSelection;
  if (!floating && !bounds.IsEmpty()) {
    bounds.Offset(-origin.x, -origin.y);
    floating = CopyOfPicture(bounds);
    gFloatingSelection = floating;
    if (!pasted) {
      // The lifted pixels leave a hole of the background colour.
      Area hole(selection);
      hole.Offset(-origin.x, -origin.y);
      Rect device;
      picture->GetBounds(&device);
      DisplayPort port(~picture, device);
      for (std::int32_t n = 1; n <= hole.NumRects(); ++n)
        port.DrawRect(hole.GetRect(n), gPaintBackground, gPaintBackground, 1);
    }
  } else if (gUnderSelection) {
    DrawIntoPicture(*gUnderSelection, gUnderSelectionRect, nullptr, false);
  }
  // The picture without the floating pixels: what the drag shows them over.
  Rect device;
  picture->GetBounds(&device);
  display = new OffScreen(device.Width(), device.Height(), picture->GetColorTable(), standardColors[0], true);
  DisplayPort port(~display, device);
  picture->GetBitMap()->DrawOpaque(port);
}

void CSelectionMoveTask::Continue(Point& point, Point&, Point&, std::int32_t) {
  const Rect bounds = pane->GetBounds();
  point.Constrain(Rect(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1));
  if (point == at || !display) return;
  const SmartRef<DisplayDevice> device = GetPane();
  DisplayPort port(CHECK_NOT_NULL(~device), bounds);
  {
    PortState moved(port, Translation(bounds.left, bounds.top));
    display->GetBitMap()->DrawOpaque(port);
  }
  Area& selection = *pane->GetSelection();
  selection.Offset(point.x - at.x, point.y - at.y);
  at = point;
  if (floating && !selection.IsEmpty()) {
    PortState clipped(port, selection);
    const Rect place = selection.GetBounds();
    PortState moved(port, Translation(place.left, place.top));
    floating->DrawKeyed(port, kTransparentIndex);
  }
}

void CSelectionMoveTask::End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) {
  Continue(point, last, anchor, modifiers);
  Area selection(*pane->GetSelection());
  const Point origin = pane->PictureOrigin();
  if (floating && !selection.IsEmpty()) {
    selection.Offset(-origin.x, -origin.y);
    const Rect place = selection.GetBounds();
    gUnderSelection = CopyOfPicture(place);
    gUnderSelectionRect = place;
    DrawIntoPicture(*floating, place, &selection, true);
  }
  after = {gFloatingSelection, gUnderSelection, gUnderSelectionRect};
  display = nullptr;
  pane->PostUndoable(this);
  pane->Invalidate(false);
}

void CSelectionMoveTask::SwapOutline() {
  if (pasted || !selectionCopy) return;
  Area& selection = *pane->GetSelection();
  Area current(selection);
  selection.Assign(*selectionCopy);
  selectionCopy->Assign(current);
}

void CSelectionMoveTask::Undo() {
  SwapOutline();
  CPaintTask::Undo();
  // What floats, and what lies under it, go back with the picture: the next move starts from them.
  gFloatingSelection = before.floating;
  gUnderSelection = before.under;
  gUnderSelectionRect = before.underRect;
  undone = true;
}

void CSelectionMoveTask::Redo() {
  SwapOutline();
  CPaintTask::Undo();
  gFloatingSelection = after.floating;
  gUnderSelection = after.under;
  gUnderSelectionRect = after.underRect;
  undone = false;
}
