#include "editor/pixels/CPixPane.h"

#include "core/Exception.h"
#include "core/Utilities.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/CToolPalette.h"
#include "editor/CToolsDir.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/pixels/PixelTasks.h"
#include "editor/pixels/SelectionTasks.h"
#include "engine/geometry/CXform.h"
#include "ui/shell/Clipboard.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Paint.h"
#include "graphics/Transform.h"
#include "ui/shell/App.h"

SmartRef<CPixPane> gPixPane;
std::uint32_t CPixPane::zoomStepDelay = 50;
std::uint32_t CPixPane::blinkDelay = 100;

namespace {

constexpr std::int32_t kLassoTool = 111;
constexpr std::int32_t kMagnifierTool = 112;

}  // namespace

SmartRef<CTool> CurrentEditorTool() { return gToolsDirectory ? gToolsDirectory->GetCurrentTool() : nullptr; }

std::int32_t CurrentEditorToolId() { return gToolsDirectory ? gToolsDirectory->GetCurrentToolId() : 0; }

CPixPane::CPixPane(View* parent, const Rect& bounds, const Rect& pictureRect, CStamp* frameImage)
    : CEditPane(parent, bounds), selection(new Area), hadPicture(frameImage != nullptr) {
  const Rect center(pictureRect.Center().x, pictureRect.Center().y, pictureRect.Center().x, pictureRect.Center().y);
  AnimateZoomRect(center, bounds);
  picture = new OffScreen(bounds.Width(), bounds.Height(), ColorTable::GetStandard(8),
                          GetWindowFrame()->GetBackground(), true);
  if (frameImage) {
    DisplayPort port(~picture, Rect(0, 0, bounds.Width(), bounds.Height()));
    port.SetTransform(new Translation(-bounds.left, -bounds.top));
    frameImage->DrawScaled(port, pictureRect, 0);
  }
  if (!ToggleOption(false)) ToggleOption(true);
  gPixPane = this;
  SetIdleChore(1, 300);
}

CPixPane::~CPixPane() = default;

Point CPixPane::PictureOrigin() const { return GetBounds().TopLeft(); }

void CPixPane::DrawContent(DisplayPort& port, const Area&) {
  if (picture) RedrawPicture(port, false);
}

void CPixPane::RedrawPicture(DisplayPort& port, bool plain) {
  Rect rect;
  picture->GetBounds(&rect);
  DrawPicture(port, rect, plain);
}

void CPixPane::DrawPicture(DisplayPort& port, const Rect& rect, bool plain) {
  CStamp stamp(~picture);
  const Rect bounds = GetBounds();
  PortState moved(port, Translation(bounds.left, bounds.top));
  if (IsMagnified(false)) {
    Rect source, destination;
    GetMagnifiedRects(&source, &destination);
    Rect part = source.Intersect(rect);
    part.Map(source, destination);
    stamp.DrawScaled(port, part, 0);
    return;
  }
  stamp.DrawScaled(port, rect, !plain && CanDrawDirect(false) ? kStampKeyed : 0);
}

Point CPixPane::ViewToPicture(std::int32_t x, std::int32_t y) const {
  if (!IsMagnified(false)) return {x, y};
  const Rect bounds = GetBounds();
  return {scroll.x + (x - bounds.left) / 4, scroll.y + (y - bounds.top) / 4};
}

void CPixPane::GetMagnifiedRects(Rect* source, Rect* destination) const {
  const Rect bounds = GetBounds();
  Rect r(0, 0, bounds.Width() / 4, bounds.Height() / 4);
  *destination = Rect(0, 0, r.right * 4, r.bottom * 4);
  destination->Offset(bounds.left, bounds.top);
  r.Offset(scroll.x, scroll.y);
  *source = r;
}

bool CPixPane::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  const std::int32_t id = CurrentEditorToolId();
  SmartRef<CTool> tool = CurrentEditorTool();
  if (id != kLassoTool && id != kMagnifierTool) Deselect();
  if (id == 110) {
    CastSmart<CDropperTool>(~tool)->PickColor(x, y);
    return true;
  }
  if (id == kLassoTool) {
    const Rect b = selection->IsEmpty() ? Rect::emptyRect : selection->GetBounds();
    if (b.Contains(Point(x, y)) && b != GetBounds()) {
      if (!task) {
        task = new CSelectionMoveTask(this, ~picture, false);
        task->Prepare();
      }
    } else {
      Deselect();
      if (!IsMember<CLassoTool>(~tool)) AssertFailed("~tool != NULL && member(tool,CLassoTool)", __FILE__, __LINE__);
      task = new CSelectionRect(this, ~picture, CastSmart<CLassoTool>(~tool));
      task->Prepare();
      CSelectionMoveTask::ReleaseFloating();
    }
    gPixPane = this;
  }
  if (!task) MakeTask();
  if (tool) tool->Deactivate(true);
  SmartRef<Tool> previous = gApplication ? gApplication->GetTool() : SmartRef<Tool>(~tool);
  SmartRef<CTaskTool> taskTool(new CTaskTool(~task, ~previous));
  AppCommand make(~taskTool);
  SendCommand(&make);
  // A press that starts no task goes no further: the picture and the changed mark stay as they were.
  SmartRef<CMouseTask> started = task;
  task = nullptr;
  taskTool->MouseDown(x, y, modifiers, clicks, window);
  if (started) MarkChanged(true);
  return true;
}

void CPixPane::MakeTask() {
  task = nullptr;
  const std::int32_t id = CurrentEditorToolId();
  SmartRef<CTool> tool = CurrentEditorTool();
  task = MakePixelTask(id, this, ~picture, ~tool);
  if (task) task->Prepare();
}

bool CPixPane::KeyDown(std::int32_t key, std::int32_t modifiers) {
  if (key == 9) {
    if (auto* palette = dynamic_cast<PaintToolPalette*>(~gPaintPalette)) palette->GoBack();
    return true;
  }
  return CEditPane::KeyDown(key, modifiers);
}

bool CPixPane::MouseMoved(std::int32_t, std::int32_t, std::int32_t) {
  NOT_IMPLEMENTED();
  return false;
}

void CPixPane::Idle() {
  if (selection->NumRects() != 1) return;
  const Rect rect = selection->GetBounds();
  DisplayPort port(GetWindowFrame(), GetBounds());
  port.DrawRect(rect, standardColors[13], standardColors[8], 1);
  Delay(blinkDelay);
  port.DrawRect(rect, standardColors[13], standardColors[7], 1);
}

void CPixPane::Deselect() {
  if (selection->IsEmpty()) return;
  InvalidateArea(Area(selection->GetBounds()), Area::emptyArea());
  selection = new Area;
}

void CPixPane::SelectAll(bool tighten) {
  Deselect();
  selection = new Area(GetBounds());
  if (tighten) {
    // Tightening to the painted pixels is not done: the whole pane stays selected.
    NOT_IMPLEMENTED();
    selection = new Area(selection->GetBounds());
  }
  const std::int32_t id = CurrentEditorToolId();
  if (id != kLassoTool && id != kMagnifierTool) SetSelectedTool(kMagnifierTool);
}

void CPixPane::SetSelectedTool(std::int32_t id) {
  if (gToolsDirectory) gToolsDirectory->SetSelectedButton(id);
}

void CPixPane::Clear() {
  const Rect bounds = selection->GetBounds();
  if (bounds.IsEmpty()) return;
  {
    DisplayPort port(~picture, Rect(0, 0, GetBounds().Width(), GetBounds().Height()));
    port.SetTransform(new Translation(-GetBounds().left, -GetBounds().top));
    // Outlined in the fill colour too, so that the whole of each rectangle goes, its last row and column
    // included.
    for (std::int32_t n = 1; n <= selection->NumRects(); ++n)
      port.DrawRect(selection->GetRect(n), gPaintBackground, gPaintBackground, 1);
  }
  InvalidateArea(Area(bounds), Area::emptyArea());
}

bool CPixPane::CanEdit(int operation) {
  if (operation == kEditPaste) return true;
  return !selection->IsEmpty();
}

void CPixPane::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  CEditPane::ResizeBy(dLeft, dTop, dRight, dBottom);
  // The picture's top-left follows the pane's, so the old pixels go where they were on the stage rather than
  // at the new top-left: what the child painted does not jump when the pane's left or top edge moves.
  const SmartRef<BitMap> old = picture->GetBitMap();
  picture->Resize(dLeft, dTop, dRight, dBottom, false);
  if (picture->GetBitMap() != old) {
    Rect device;
    picture->GetBounds(&device);
    DisplayPort port(~picture, device);
    port.SetTransform(new Translation(-dLeft, -dTop));
    old->DrawOpaque(port);
  }
  if (IsMagnified(false)) {
    scroll.x += dLeft / 4;
    scroll.y += dTop / 4;
    DisplayPort port(GetWindowFrame(), GetBounds());
    RedrawPicture(port, true);
  }
}

void CPixPane::Activate(bool active) {
  CEditPane::Activate(active);
  if (!active) {
    if (IsVisible()) Deselect();
    return;
  }
  if (!gPaintPalette || !gToolsDirectory) return;
  gPaintPalette->SetButtonEnabled(gToolsDirectory->IndexOfTool(kLassoTool), !IsMagnified(false));
  gPaintPalette->SetButtonDown(gToolsDirectory->IndexOfTool(kMagnifierTool), IsMagnified(false));
  if (IsMagnified(false) && CurrentEditorToolId() == kLassoTool) gToolsDirectory->SelectToolInPalettes();
}

bool CPixPane::GetEditResult(Rect* rect, SmartRef<Smart>* resource, bool) {
  Rect r = GetBounds();
  bool answer = false;
  if (MarkChanged(false)) {
    SmartRef<CStamp> stamp(new CStamp(SmartRef<BitMap>(new BitMap(*picture->GetBitMap())), standardColors[0]));
    const Point crop = stamp->Trim();
    Rect painted;
    stamp->GetBounds(&painted);
    if (painted.IsEmpty()) {
      // All white: a new picture gives nothing, an existing frame becomes empty.
      answer = hadPicture;
      if (answer) *resource = nullptr;
    } else {
      answer = true;
      painted.Offset(crop.x, crop.y);
      r = painted;
      r.Offset(GetBounds().left, GetBounds().top);
      painted.Offset(rect->left, rect->top);
      *rect = painted;
      SmartRef<CResource> made = stamp->MakeResource();
      made->SetBounds(rect->left, rect->top, rect->right, rect->bottom);
      *resource = SmartRef<Smart>(~made);
    }
  }
  const Point c = r.Center();
  AnimateZoomRect(r, Rect(c.x, c.y, c.x, c.y));
  return answer;
}

void CPixPane::AnimateZoomRect(const Rect& from, const Rect& to) {
  DisplayDevice* device = GetWindowFrameOnly();
  if (device == nullptr || zoomStepDelay == 0) return;
  DisplayPort port(device, GetBounds());
  auto step = [&](int i) {
    return Rect(from.left + (to.left - from.left) * i / 10, from.top + (to.top - from.top) * i / 10,
                from.right + (to.right - from.right) * i / 10, from.bottom + (to.bottom - from.bottom) * i / 10);
  };
  // Each frame is drawn twice with the port's inverting pen: once to show it, once to take it away.
  UnimplementedPaint outline;
  ColorPaint none(standardColors[13]);
  for (int i = 0; i < 10; ++i) {
    port.DrawRect(step(i), none, outline, 1);
    Delay(zoomStepDelay);
    if (i > 0) port.DrawRect(step(i - 1), none, outline, 1);
  }
  port.DrawRect(step(9), none, outline, 1);
}

void CPixPane::Copy(Clipboard* clipboard) {
  SmartRef<BitMap> bitmap = picture->GetBitMap();
  SmartRef<Area> area;
  if (selection->IsEmpty()) {
    area = new Area(bitmap->GetBounds());
  } else {
    area = new Area(*selection);
    area->Offset(-GetBounds().left, -GetBounds().top);
  }
  ClippedImage clipped(SmartRef<Image>(~bitmap), area);
  SmartRef<BitMap> copied(ImageToBitMap(clipped));
  SmartRef<CStamp> stamp(new CStamp(copied, standardColors[0]));
  Rect stampBounds;
  stamp->GetBounds(&stampBounds);
  SmartRef<CXform> place(new CXform(stampBounds, stampBounds));
  const Point at = selection->IsEmpty() ? Point::origin : selection->GetBounds().TopLeft();
  place->Offset(at.x, at.y);
  stamp->SetPicture(SmartRef<Smart>(~place));
  clipboard->SetScrap(~stamp);
}

void CPixPane::Paste(Clipboard* clipboard, std::int32_t, std::int32_t, std::int32_t) {
  SmartRef<Smart> scrap(clipboard->GetScrap());
  auto* image = CastSmart<Image>(~scrap);
  if (!image) return;
  Point offset = Point::origin;
  if (auto* stamp = CastSmart<CStamp>(image)) {
    if (auto* place = CastSmart<CXform>(~stamp->GetPicture())) offset = place->TransformPoint(Point::origin);
  }
  SetSelectedTool(kMagnifierTool);
  Rect imageBounds;
  image->GetBounds(&imageBounds);
  if (imageBounds.IsEmpty()) return;
  Rect placement = imageBounds;
  placement.Offset(offset.x, offset.y);
  if (offset == Point::origin) placement.CenterOn(GetBounds());
  const Rect within = placement.Intersect(GetBounds());
  if (within.IsEmpty()) return;
  // What floated from an earlier move or paste stays where it was put; the pasted pixels float now.
  CSelectionMoveTask::ReleaseFloating();
  Deselect();
  selection = new Area(within);
  // The pasted image in the picture's own colours, at the part of the placement inside the pane.
  Rect local = within;
  local.Offset(-GetBounds().left, -GetBounds().top);
  SmartRef<OffScreen> pasted(new OffScreen(local.Width(), local.Height(), picture->GetColorTable(), standardColors[0], true));
  {
    DisplayPort port(~pasted, Rect(0, 0, local.Width(), local.Height()));
    port.SetTransform(new Translation(placement.left - within.left - imageBounds.left,
                                      placement.top - within.top - imageBounds.top));
    image->Draw(port, 1);
  }
  gFloatingSelection = pasted->GetBitMap();
  SmartRef<CSelectionMoveTask> move(new CSelectionMoveTask(this, ~picture, true));
  move->Prepare();
  Point at = within.TopLeft();
  move->Begin(at, 0);
  move->End(at, at, at, 0);
  InvalidateArea(Area(within), Area::emptyArea());
}

void CPixPane::CommandCopy() { NOT_IMPLEMENTED(); }
void CPixPane::CommandPaste() { NOT_IMPLEMENTED(); }
void CPixPane::CommandClear(std::int32_t) { NOT_IMPLEMENTED(); }

int CPixPane::GetNumberCommandStatus(std::int32_t number) {
  const int selected = selection->IsEmpty() ? 3 : 0;
  switch (number) {
    case 18:
    case 19:
    case 21:
      return selected;
    case 2004:
    case 2103:
    case 2104:
    case 2105:
    case 2106:
    case 2107:
    case 2108:
    case 2109:
      return 0;
    case 2101:
      return IsMagnified(false) ? 1 : 0;
    default:
      return CEditPane::GetNumberCommandStatus(number);
  }
}

void CPixPane::HandleNumberCommand(std::int32_t number, void* argument) {
  switch (number) {
    case 18:
      CommandCopy();
      CommandClear(5);
      return;
    case 19:
      CommandCopy();
      return;
    case 20:
    case 2006:
      CommandPaste();
      return;
    case 21:
      CommandClear(8);
      return;
    case 2004:
      SelectAll(true);
      return;
    case 2013:
      if (selection->IsEmpty()) SelectAll(false);
      CommandClear(8);
      return;
    case 2101:
    case 2103:
    case 2104:
    case 2105:
      return;
    case 2109:
      CToolsDir::SelectAllPixels();
      return;
    default:
      CEditPane::HandleNumberCommand(number, argument);
  }
}

SMART_DEFINE(ClippedImage, "ClippedImage", nullptr, nullptr, Image)

ClippedImage::ClippedImage(SmartRef<Image> image, SmartRef<Area> clip) : image(std::move(image)), clip(std::move(clip)) {}

void ClippedImage::Draw(DisplayPort& port, int mode) {
  PortState clipped(port, *CHECK_NOT_NULL(~clip));
  CHECK_NOT_NULL(~image)->Draw(port, mode);
}

Area* ClippedImage::GetArea() const { return new Area(*CHECK_NOT_NULL(~clip)); }

ColorTable* ClippedImage::GetColorTable() const { return CHECK_NOT_NULL(~image)->GetColorTable(); }

void ClippedImage::GetBounds(Rect* bounds) const { *bounds = clip ? clip->GetBounds() : Rect(); }
