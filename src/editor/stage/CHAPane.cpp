#include "editor/stage/CHAPane.h"

#include <algorithm>
#include <array>

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CTaskTool.h"
#include "engine/app/CHAApp.h"
#include "engine/kinds/CMovieRes.h"
#include "engine/kinds/CMovieText.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/shell/ClipTask.h"
#include "ui/controls/GraphicButton.h"
#include "ui/shell/App.h"
#include "ui/text/StyledText.h"
#include "ui/views/Window.h"

SMART_DEFINE_ABSTRACT(CHAPane, "CHAPane", CPanePlay, StyleSetter)

bool gOverviewActive = false;
Point gHandleSize{8, 8};
SmartRef<ToggleButton> gDeleteButton;

namespace {

CSprite* SpriteOf(const List& list, std::int32_t position) {
  Smart* element = list.At(position);
  auto* sprite = CastSmart<CSprite>(element);
  if (sprite == nullptr) AssertFailed("CAST_TEST(sub,CSprite,selList[s])", __FILE__, __LINE__);
  return sprite;
}

Rect RectAt(const CSprite& sprite, std::int16_t frame) {
  Rect r;
  sprite.GetFrameGeometry(frame, &r, nullptr);
  return r;
}

// The squares of the handles inside the rectangle's corners: top-left, top-right, bottom-right,
// bottom-left.
std::array<Rect, 4> HandleRects(const Rect& rect) {
  const Point& h = gHandleSize;
  return {{
      {rect.left, rect.top, rect.left + h.x, rect.top + h.y},
      {rect.right - h.x, rect.top, rect.right, rect.top + h.y},
      {rect.right - h.x, rect.bottom - h.y, rect.right, rect.bottom},
      {rect.left, rect.bottom - h.y, rect.left + h.x, rect.bottom},
  }};
}

}  // namespace

CHAPane::CHAPane(View* parent, SmartRef<CPlayer> player, bool quiet) : CPanePlay(parent, std::move(player)) {
  SetFlag(kQuiet, quiet);
  GetPlayer()->ToggleListener(this);
  GetPlayer()->SetView(~GetBufferOrDevice(), GetPlayer()->IsReportingAreas());
}

CHAPane::~CHAPane() {
  GetPlayer()->ToggleListener(this);
  if (listeningToPaint && gPaintState) gPaintState->ToggleListener(this, false);
}

CMovieGroup* CHAPane::GetGroup() const { return CastSmart<CMovieGroup>(GetShow()->GetMovieGroup()); }

// ---- Listeners ----

void CHAPane::TellRangeListeners(CHAPane* argument) {
  rangeListeners.NotifyAll([argument](StageListener* l) { l->StagePaneChanged(argument); });
}

void CHAPane::TellFrameListeners() {
  frameListeners.NotifyAll([this](StageListener* l) { l->StagePaneChanged(this); });
}

void CHAPane::TellPaneListeners() {
  paneListeners.NotifyAll([](PaneStateListener* l) { l->PaneStateChanged(); });
}

// ---- Selection ----

List CHAPane::GetSelectionList() const {
  if (gOverviewActive) return List(&CSprite::classInfo);
  return selection;
}

void CHAPane::SetSpriteSelected(CSprite* sprite, bool select) {
  {
    DisplayPort port(~GetBufferOrDevice(), GetBounds());
    Invalidate(false);
    DrawFrameLabel(port, -1);
    if (sprite != nullptr) {
      const Rect r = RectAt(*sprite, currentFrame);
      if (select) {
        if (selection.NumItems() == 0 && IsMember<CMovieVideo>(sprite->GetMovie()))
          sprite->CheckFrame(nullptr, currentFrame);
        // Listed twice, a sprite would be moved twice by one drag.
        if (selection.IndexOf(sprite) == 0) selection.Append(sprite);
      } else {
        selection->RemoveItem(sprite);
      }
      DrawHandles(port, r);
    }
  }
  if (sprite == nullptr) {
    RedrawHandles();
    selection->RemoveAll();
    if (select) {
      if (CMovieGroup* group = GetGroup())
        for (std::int16_t i = static_cast<std::int16_t>(group->GetSpriteCount() - 1); i >= 0; --i)
          selection.Append(group->GetSprite(i));
    }
    RedrawHandles();
  }
  UpdateSelectionState();
}

void CHAPane::SelectSprite(CSprite* sprite) {
  if (sprite != nullptr) {
    std::int16_t first, last;
    GetFrameRange(&first, &last, false);
    if (!sprite->IsVisibleInRange(first, static_cast<std::int16_t>(std::max(last - first + 1, 1))))
      sprite = nullptr;
  }
  if (sprite != nullptr ? selection.NumItems() == 1 && selection.At(1) == sprite : selection.NumItems() == 0)
    return;
  FinishEditing(false);
  SetSpriteSelected(nullptr, false);
  if (sprite != nullptr) SetSpriteSelected(sprite, true);
  TellRangeListeners(this);
  UpdateSelectionState();
}

void CHAPane::SelectSpriteAt(std::int16_t index, bool extend) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  if (index >= group->GetSpriteCount()) return;
  CSprite* sprite = index >= 0 ? group->GetSprite(index) : nullptr;
  SelectSprite(sprite);
  if (extend && sprite != nullptr && (selection.NumItems() == 0 || selection.At(1) != sprite)) {
    std::int16_t first, last;
    GetFrameRange(&first, &last, false);
    last = std::max(last, first);
    sprite->ShowFrames(first, static_cast<std::int16_t>(last - first + 1));
    for (std::int16_t f = first; f <= last; ++f) group->Changed(group, RectAt(*sprite, f), f);
    SelectSprite(sprite);
  }
  UpdateSelectionState();
}

void CHAPane::HitTest(std::int32_t x, std::int32_t y, std::int32_t* selectionPosition, std::int32_t* spriteIndex) {
  *selectionPosition = -1;
  *spriteIndex = -1;
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  CSprite* hit = nullptr;
  for (std::int16_t i = static_cast<std::int16_t>(group->GetSpriteCount() - 1); i >= 0; --i) {
    CSprite* sprite = group->GetSprite(i);
    if (sprite->ToggleBackgroundFlag(false)) continue;
    if (RectAt(*sprite, currentFrame).Contains(x, y)) {
      *spriteIndex = i;
      hit = sprite;
      break;
    }
  }
  if (hit == nullptr) return;
  for (std::int32_t s = selection.NumItems(); s >= 1; --s)
    if (selection.At(s) == hit) {
      *selectionPosition = s - 1;
      return;
    }
}

bool CHAPane::IsOnHandle(const Point& point, const Rect& rect) {
  if (!rect.Contains(point)) return false;
  const std::array<Rect, 4> corners = HandleRects(rect);
  return std::any_of(corners.begin(), corners.end(), [&](const Rect& c) { return c.Contains(point); });
}

void CHAPane::UpdateSelectionState() {
  if (gDeleteButton) gDeleteButton->SetState(selection.NumItems() == 0 ? 2 : 0);
  const bool wants = selection.NumItems() != 0 && GetTextStyle() != nullptr;
  if (gPaintState && wants != listeningToPaint) {
    gPaintState->ToggleListener(this, false);
    listeningToPaint = wants;
  }
}

// ---- Frames ----

void CHAPane::GetFrameRange(std::int16_t* first, std::int16_t* last, bool useStoredRange) {
  CMovieGroup* group = GetGroup();
  const std::int16_t n = group ? group->GetFrameCount() : 1;
  if (rangeMode == kAllFrames) {
    *first = 0;
    *last = static_cast<std::int16_t>(n - 1);
  } else if (useStoredRange || rangeMode == kStoredRange) {
    *first = rangeStart;
    *last = rangeEnd;
  } else if (rangeMode == kToLastFrame && !gOverviewActive) {
    *first = static_cast<std::int16_t>(currentFrame);
    *last = static_cast<std::int16_t>(n - 1);
  } else {
    *first = *last = static_cast<std::int16_t>(currentFrame);
  }
  if (!gOverviewActive) *last = std::max(*first, *last);
}

std::int16_t CHAPane::ClampFrame(std::int16_t frame) {
  CMovieGroup* group = GetGroup();
  const std::int16_t n = group ? group->GetFrameCount() : 1;
  std::int16_t first, last;
  GetFrameRange(&first, &last, true);
  if (last < first) return std::min<std::int16_t>(first, static_cast<std::int16_t>(n - 1));
  if (rangeMode == kToLastFrame || frame < first || frame > last) return first;
  return frame;
}

void CHAPane::SetFrameRange(std::int16_t first, std::int16_t last) {
  CMovieGroup* group = GetGroup();
  const std::int16_t n = group ? group->GetFrameCount() : 1;
  if (first < 0) first = rangeStart;
  if (last < first - 1) last = rangeEnd;
  if (last >= n) last = static_cast<std::int16_t>(n - 1);
  if (last < first) {
    if (rangeMode == kToLastFrame || (!gOverviewActive && selection.NumItems() != 0)) {
      if (first < n) last = first;
      else first = last;
    } else {
      last = static_cast<std::int16_t>(first - 1);
    }
  }
  // Without a group there is nothing to select: the selection empties.
  if (group == nullptr) selection->RemoveAll();
  if (!gOverviewActive && selection.NumItems() != 0) {
    std::int16_t newFirst = last, newLast = first;
    for (std::int32_t s = selection.NumItems(); s >= 1; --s) {
      CSprite* sprite = SpriteOf(selection, s);
      std::int16_t latest = -1, earliest = -1;
      for (std::int16_t f = last; f >= first; --f)
        if (sprite->IsVisibleInRange(f, 1)) {
          latest = f;
          break;
        }
      for (std::int16_t f = first; f <= last; ++f)
        if (sprite->IsVisibleInRange(f, 1)) {
          earliest = f;
          break;
        }
      if (latest < 0) {
        selection->Remove(s, 1);
        continue;
      }
      newFirst = std::min(newFirst, earliest);
      newLast = std::max(newLast, latest);
    }
    first = newFirst;
    last = newLast;
  }
  if (last < first) last = static_cast<std::int16_t>(first - 1);
  if (first == rangeStart && last == rangeEnd) return;
  FinishEditing(false);
  rangeEnd = last;
  rangeStart = first;
  GetPlayer()->ShowFrame(ClampFrame(GetPlayer()->GetCurrentFrame()));
  if (rangeMode == kAllFrames && (last < n - 1 || first > 0)) rangeMode = kStoredRange;
  else if (rangeMode == kToLastFrame && last < n - 1 && last != first) rangeMode = kStoredRange;
  else if (rangeMode == kCurrentFrame && first < last) rangeMode = kStoredRange;
  else if (rangeMode == kStoredRange && first == last) rangeMode = kCurrentFrame;
  TellRangeListeners(this);
  UpdateSelectionState();
}

void CHAPane::SetRangeMode(std::int32_t mode) {
  if (mode == rangeMode) return;
  rangeMode = mode;
  TellRangeListeners(this);
}

void CHAPane::GetGhostFrames(std::int16_t frame, std::int16_t* first, std::int16_t* count) const {
  GetGhostFramesOf(frame, first, count);
}

void CHAPane::GetGhostFramesOf(std::int16_t, std::int16_t* first, std::int16_t* count) {
  *first = 0;
  *count = 0;
}

// ---- Drawing ----

void CHAPane::DrawContent(DisplayPort& port, const Area&) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  const Rect bounds = group->GetBounds();
  List sprites(&CSprite::classInfo);
  Rect dim;
  if (IsEditingInPlace()) {
    if (selection.NumItems() != 0) sprites = selection;
    dim = editor->GetBounds();
  }
  {
    PortState clipped(port, bounds);
    GetShow()->DrawFrame(port, currentFrame, bounds, 0, &sprites, dim);
  }
  DrawFrameBox(port);
  DrawFrameLabel(port, -1);
  RedrawHandles();
}

void CHAPane::DrawFrameBox(DisplayPort& port) {
  if (!(flags & kFrameBox) || CPanePlay::IsPlaying()) return;
  const Rect b = GetBounds();
  port.DrawRect({b.left, b.top, b.left + 108, b.top + 33}, GetShow()->GetColour(), standardColors[13]);
}

void CHAPane::DrawHandles(DisplayPort& port, const Rect& rect) {
  for (const Rect& c : HandleRects(rect)) port.DrawRect(c, standardColors[1], standardColors[13]);
}

void CHAPane::RedrawHandles() {
  if (CPanePlay::IsPlaying() || IsEditingInPlace() || !IsActive()) return;
  DisplayPort port(~GetBufferOrDevice(), GetBounds());
  for (std::int32_t s = selection.NumItems(); s >= 1; --s) {
    const CSprite* sprite = SpriteOf(selection, s);
    if (sprite->IsVisibleInRange(currentFrame, 1)) DrawHandles(port, RectAt(*sprite, currentFrame));
  }
}

void CHAPane::DrawPage(DisplayPort& port, std::int16_t frame, const List* sprites, const Rect& dim) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  frame = std::clamp<std::int16_t>(frame, 0, static_cast<std::int16_t>(std::max(group->GetFrameCount() - 1, 0)));
  const Rect bounds = group->GetBounds();
  {
    PortState clipped(port, bounds);
    GetShow()->DrawFrame(port, frame, bounds, 0, sprites, dim);
  }
  if (auto* buffer = dynamic_cast<OffScreen*>(GetPlayer()->GetDevice())) {
    DisplayPort overlay(buffer, GetBounds());
    DrawFrameBox(overlay);
    DrawFrameLabel(overlay, frame);
  }
  DrawFrameBox(port);
  DrawFrameLabel(port, frame);
}

void CHAPane::DrawStage(DisplayPort& port, std::int16_t frame, const List* without) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  const Rect bounds = group->GetBounds();
  {
    PortState clipped(port, bounds);
    GetShow()->DrawFrame(port, frame, bounds, 0, without, Rect());
  }
  DrawFrameBox(port);
  DrawFrameLabel(port, frame);
}

void CHAPane::RepaintArea(const Area& area) {
  // A drag draws straight on the device of an unbuffered pane; a buffered one shows its buffer.
  if (IsBuffered()) RedrawFromBuffer(area);
}

// ---- Edits ----

void CHAPane::ContentChanged(Task* task) {
  if (task != nullptr) PostUndoable(task);
  if (gToolsDirectory) {
    const std::int32_t id = gToolsDirectory->GetCurrentToolId();
    if (id == 14 || id == 19 || id == 22) gToolsDirectory->SelectToolInPalettes();
  }
  if (!IsMember<ClipTask>(task))
    if (CMovieGroup* group = GetGroup()) group->RemoveEmptySprites();
  NotifyChanged();
}

void CHAPane::FinishGesture() {
  TellRangeListeners(this);
  UpdateSelectionState();
}

SmartRef<CTaskTool> CHAPane::InstallTaskTool(CMouseTask* task) {
  SmartRef<Tool> previous = gApplication ? gApplication->GetTool() : nullptr;
  const SmartRef<CTaskTool> tool = new CTaskTool(task, ~previous);
  AppCommand make(~tool);
  SendCommand(&make);
  return tool;
}

// ---- View ----

void CHAPane::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
  // The page is shown from the pane's corner: a page stored from elsewhere (the origin, as the example
  // pages and other versions store them) brings its sprites along rather than losing its top rows.
  if (CMovieGroup* group = GetGroup()) group->SetBoundsCarryingSprites(GetBounds());
  else GetShow()->GetMovieGroup()->SetBounds(GetBounds());
}

void CHAPane::Activate(bool active) {
  if (!active) {
    RedrawHandles();
    if (gCHAApp) gCHAApp->ClearActivePane(this);
    return;
  }
  const SmartRef<CTool> tool = gToolsDirectory ? gToolsDirectory->GetCurrentTool() : nullptr;
  if (tool && tool->IsToggled()) TellApplication(kToolPlayStopped, nullptr);
  else TellApplication(CPanePlay::IsPlaying() ? kPlayStarted : kPlayStopped, nullptr);
  if (gCHAApp) gCHAApp->SetActivePane(this);
  if (!IsEditingInPlace() && tool && tool->IsPaintTool()) SetEditMode(kEditsPicture, true);
  RedrawHandles();
}

// ---- Player and paint state ----

void CHAPane::FrameShown() {
  CPlayer* player = GetPlayer();
  if (CPanePlay::IsPlaying()) TellFrameListeners();
  else Invalidate(false);
  const std::int16_t shown = player->GetCurrentFrame();
  if (shown == currentFrame) return;
  FinishEditing(false);
  currentFrame = shown;
  if (ClampFrame(shown) == shown) TellRangeListeners(nullptr);
  else SetFrameRange(shown, shown);
  if (!CPanePlay::IsPlaying()) Invalidate(false);
}

void CHAPane::PlayStateChanged() {
  TellPaneListeners();
  if (CPanePlay::IsPlaying()) return;
  if (flags & kQuiet) {
    HandleNumberCommand(4, nullptr);
    return;
  }
  {
    DisplayPort port(~GetBufferOrDevice(), GetBounds());
    DrawFrameBox(port);
    RedrawHandles();
    DrawFrameLabel(port, -1);
    FinishDrawing(port);
  }
  TellFrameListeners();
  TellRangeListeners(this);
}

void CHAPane::SendViewCommand(Smart* object) {
  SmartRef<Area> area = CastSmart<Area>(object);
  if (!area) {
    if (auto* delta = CastSmart<CDelta>(object)) area = delta->GetChangedArea();
  }
  ViewCommand command(~area);
  SendCommand(&command);
}

void CHAPane::PaintStateChanged() {
  for (std::int32_t s = 1; s <= selection.NumItems(); ++s) {
    CSprite* sprite = SpriteOf(selection, s);
    auto* text = CastSmart<CMovieText>(sprite->GetMovie());
    if (text == nullptr) continue;
    auto* styled = CastSmart<StyledText>(CHECK_NOT_NULL(text->GetResource(0))->GetObject());
    if (styled == nullptr) continue;
    if (const SmartRef<TextStyle> style = styled->GetStyle()) {
      style->SetTextColor(gPaintForeground);
      styled->SetStyle(~style);
    }
    Rect bounds;
    text->GetFrameBounds(&bounds, -1);
    text->Changed(text, bounds, -1);
  }
  NotifyChanged();
  Invalidate(false);
}

SmartRef<TextStyle> CHAPane::GetTextStyle() {
  for (std::int32_t s = 1; s <= selection.NumItems(); ++s) {
    auto* text = CastSmart<CMovieText>(SpriteOf(selection, s)->GetMovie());
    if (text == nullptr) continue;
    CResource* resource = text->GetResource(0);
    auto* styled = resource ? CastSmart<StyledText>(resource->GetObject()) : nullptr;
    return styled ? styled->GetStyle() : nullptr;
  }
  return nullptr;
}

void CHAPane::ChooseColorCommand() {
  // The bottom-right corner of a 300 x 100 box centred on (320, 200).
  if (gPaintState) gPaintState->ChooseForeground(Point(470, 250));
}

int CHAPane::GetEditKind() const {
  if (!IsEditingInPlace()) return kEditsNothing;
  return IsMember<CMovieText>(~editedMovie) ? kEditsText : kEditsPicture;
}

SmartRef<CPanePlay> MakeCHAPane(View* container, CPlayer* player) {
  return new CHAPane(container, SmartRef<CPlayer>(player), false);
}
