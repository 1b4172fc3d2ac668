#include "editor/pixels/CMouseTask.h"

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/CurrentStagePane.h"
#include "editor/pixels/CPixPane.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"
#include "ui/views/View.h"

SMART_DEFINE_ABSTRACT(CMouseTask, "CMouseTask", Interactor, Task)

CMouseTask::CMouseTask(std::int32_t, View* view) : view(view) {}

CMouseTask::~CMouseTask() = default;

bool CMouseTask::Track(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown) {
  // A press that failed ended the gesture: the events after it find nothing to continue, so its error is
  // shown once rather than at every move, and the tool lets the task go.
  if (failed) return false;
  Point p = view->MapPointToWindow(window, Point(x, y));
  if (buttonDown) {
    if (notBegun) {
      anchor = p;
      failed = true;
      Begin(anchor, modifiers);
      failed = false;
      notBegun = false;
    } else {
      Continue(p, last, anchor, modifiers);
    }
  } else if (!notBegun) {
    End(p, last, anchor, modifiers);
  }
  last = p;
  return buttonDown;
}

SmartRef<DisplayDevice> CMouseTask::GetPane() const { return view->GetBufferOrDevice(); }

void CMouseTask::MoveHook() {
  if (gToolsDirectory) gToolsDirectory->GetCurrentTool();
}

CPaintTask::CPaintTask(std::int32_t code, CPixPane* pane, OffScreen* picture)
    : CMouseTask(code, pane), pane(pane), picture(picture) {}

CPaintTask::~CPaintTask() = default;

void CPaintTask::TakeSnapshot() { snapshot = new BitMap(*CHECK_NOT_NULL(~picture->GetBitMap())); }

void CPaintTask::Prepare() {
  if (takeSnapshot) TakeSnapshot();
  if (!pane->CanDrawDirect(false) || !useStageImage || !gCurrentStagePane) return;
  const Rect paneRect = pane->GetBounds();
  stageRect = gCurrentStagePane->GetBounds();
  stageRect.bottom += 50;
  stageImage = new OffScreen(~gCurrentStagePane->GetBufferOrDevice(), stageRect, false, true);
  DisplayPort port(~stageImage, Rect(0, 0, stageRect.Width(), stageRect.Height()));
  port.SetTransform(new Translation(-stageRect.left, -stageRect.top));
  gCurrentStagePane->DrawContent(port, Area(stageRect));
  if (!stageWithoutPicture && snapshot) {
    PortState moved(port, Translation(paneRect.left, paneRect.top));
    snapshot->DrawKeyed(port, 255);
  }
}

void CPaintTask::RestoreScreen(const Rect& rect) {
  if (rect.IsEmpty()) return;
  const SmartRef<DisplayDevice> device = GetPane();
  DisplayPort port(CHECK_NOT_NULL(~device), rect);
  PortState moved(port, Translation(stageRect.left, stageRect.top));
  CHECK_NOT_NULL(~stageImage)->GetBitMap()->DrawOpaque(port);
}

void CPaintTask::Begin(Point& anchor, std::int32_t modifiers) { Continue(anchor, anchor, anchor, modifiers); }

void CPaintTask::End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) {
  Continue(point, last, anchor, modifiers);
  if (pane->CanDrawDirect(false) &&
      (gPaintBackground.SameAs8Bit(gPaintForeground) || gPaintBackground.SameAs8Bit(gPaintSecondColor)))
    pane->Invalidate(false);
  pane->PostUndoable(this);
}

void CPaintTask::Do() { NOT_IMPLEMENTED(); }

void CPaintTask::Undo() {
  if (!snapshot) return;
  SmartRef<BitMap> current = picture->GetBitMap();
  picture->SetBitMap(~snapshot);
  snapshot = current;
  pane->Invalidate(false);
}
