// What a press and a key do on the stage: a click for the playing page, a colour pick, a tool's action on
// a sprite, a marquee, or a drag that moves or scales the selection.
#include "core/Exception.h"
#include "core/Sound.h"
#include "core/Utilities.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/CurrentStagePane.h"
#include "editor/Seams.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/stage/CHAPane.h"
#include "editor/stage/CScaleTask.h"
#include "editor/stage/ImportExport.h"
#include "engine/kinds/CMovieText.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "platform/kernel/System.h"
#include "ui/shell/App.h"
#include "ui/shell/Clipboard.h"

namespace {

SmartRef<CTool> CurrentTool() { return gToolsDirectory ? gToolsDirectory->GetCurrentTool() : nullptr; }

std::int32_t IdOf(const SmartRef<CTool>& tool) { return tool ? tool->GetId() : 0; }

bool StartsDrag(std::int32_t id) {
  switch (id) {
    case 3: case 10: case 14: case 15: case 17: case 19: case 20: case 21: case 22:
      return true;
    default:
      return false;
  }
}

Rect RectAt(const CSprite& sprite, std::int16_t frame) {
  Rect r;
  sprite.GetFrameGeometry(frame, &r, nullptr);
  return r;
}

}  // namespace

bool CHAPane::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  // A press the window made of an opening editor's focus belongs to that editor.
  if (openingEditor) return true;
  gCurrentStagePane = this;
  if (CPanePlay::MouseDown(x, y, modifiers, clicks, window)) return true;
  // The in-place editor, a subview, had its chance above.
  if (editor && editor->GetBounds().Contains(x, y)) return true;
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return true;
  const SmartRef<CHAPane> self(this);
  std::int32_t position, found;
  HitTest(x, y, &position, &found);
  const auto index = static_cast<std::int16_t>(found);
  CSprite* sprite = index >= 0 ? group->GetSprite(index) : nullptr;
  const SmartRef<CTool> tool = CurrentTool();
  const std::int32_t id = IdOf(tool);
  if (id == 110) {
    // Picking a colour off the stage comes with the dropper's stage pick.
    NOT_IMPLEMENTED();
    return true;
  }
  if (ToolClick(x, y, index, sprite)) return true;
  FinishEditing(false);
  if (sprite == nullptr) {
    SelectMarquee(x, y, ~tool);
    return true;
  }
  if (clicks > 1 && selection->IndexOf(sprite) != 0 && IsMember<CMovieText>(sprite->GetMovie()))
    OpenTextTools();
  if (selection->IndexOf(sprite) == 0) {
    SelectSpriteAt(index, false);
    TellRangeListeners(this);
  }
  RedrawHandles();
  if (!StartsDrag(id)) return true;
  StartDrag(x, y, modifiers, clicks, window, index, sprite, ~tool);
  return true;
}

void CHAPane::OpenTextTools() {
  // The page window's palette shows the page of the text tools, and the tools window its text layout.
  const auto makePageTool = GetPageWindowHooks().makePageTool;
  if (makePageTool && makePageTool(kTextToolsPage)) makePageTool(kTextToolsLayout);
}

void CHAPane::SelectMarquee(std::int32_t x, std::int32_t y, CTool* tool) {
  SelectSpriteAt(-1);
  if (IdOf(SmartRef<CTool>(tool)) == 6) return;
  Rect marquee(x, y, x, y);
  TrackMarquee(&marquee, x, y);
  CMovieGroup* group = GetGroup();
  const std::int16_t cf = GetPlayer()->GetCurrentFrame();
  for (std::int16_t i = static_cast<std::int16_t>(group->GetSpriteCount() - 1); i >= 0; --i) {
    CSprite* candidate = group->GetSprite(i);
    if (!candidate->ToggleBackgroundFlag(false) && RectAt(*candidate, cf).Overlaps(marquee))
      SetSpriteSelected(candidate, true);
  }
  if (selection.NumItems() == 0 && group->GetSpriteCount() > 0) {
    if (tool) tool->ClearActive();
  } else {
    TellRangeListeners(this);
  }
}

void CHAPane::StartDrag(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window,
                        std::int16_t index, CSprite* sprite, CTool* tool) {
  const std::int16_t cf = GetPlayer()->GetCurrentFrame();
  const Rect r = RectAt(*sprite, cf);
  const bool record = tool && tool->IsToggled() && IsMouseButtonDown();
  SmartRef<CMoveTask> task;
  if ((tool && tool->GetId() == 15) || IsOnHandle(Point(x, y), r)) {
    task = new CScaleTask(this, ~GetBufferOrDevice(), index, record);
  } else {
    // The sprite's origin goes under the pointer, so that the sprite follows the pointer from where it
    // was taken, in this frame and in every frame a recording enters.
    const Point grabbed(x, y);
    sprite->FitFrameToRect(cf, &r, &grabbed);
    task = new CMoveTask(this, ~GetBufferOrDevice(), index, record);
  }
  task->SetSprites(GetSelectionList());
  if (!IsMouseButtonDown()) return;
  if (tool && tool->IsToggled()) tool->Deactivate(true);
  const SmartRef<CTaskTool> taskTool = InstallTaskTool(~task);
  taskTool->MouseDown(x, y, modifiers, clicks, window);
  if (GetPlayer()->GetCurrentFrame() == cf) RedrawHandles();
}

bool CHAPane::ToolClick(std::int32_t x, std::int32_t y, std::int16_t index, CSprite* sprite) {
  const SmartRef<CTool> tool = CurrentTool();
  std::int32_t id = IdOf(tool);
  if (!IsEditingInPlace() && tool && tool->IsPaintTool()) id = 101;
  switch (id) {
    case 2:
    case 101:
    case 4: {
      if (id == 4 && IsEditingInPlace()) return false;
      Rect target = GetBounds();
      if (id == 4) target = Rect(x, y, GetBounds().right - 9, y + 70);
      if (TrackMarquee(&target, x, y)) index = -1;
      SelectSpriteAt(index, false);
      if (id == 4 && target.right < target.left + 2 * 20) target.left = GetBounds().left + 9;
      EditResourceMovie(index >= 0 ? sprite : nullptr, target, id != 4, id == 4, true);
      return true;
    }
    case 9:
    case 11:
      FinishEditing(false);
      SelectSpriteAt(index, false);
      ReleaseArgument(sprite);
      return true;
    case 10:
    case 14:
    case 19:
    case 22:
      ClipAction(x, y, index, sprite, ~tool);
      return true;
    case 16:
      SelectSpriteAt(index, false);
      tool->Deactivate(true);
      SetRangeMode(kStoredRange);
      HandleNumberCommand(21, nullptr);
      SetRangeMode(kToLastFrame);
      return true;
    default:
      return false;
  }
}

void CHAPane::ClipAction(std::int32_t x, std::int32_t y, std::int16_t index, CSprite* sprite, CTool* tool) {
  FinishEditing(false);
  SelectSpriteAt(index, false);
  tool->Deactivate(true);
  {
    DisplayPort port(~GetBufferOrDevice(), GetBounds());
    DrawFrameLabel(port, -1);
    FinishDrawing(port);
  }
  if (sprite == nullptr || tool->GetId() == 19) {
    ImportClipTask(gApplication ? ~gApplication->GetClipboard() : nullptr, this, Point(x, y));
  } else {
    const DWORD start = GetTickCount();
    HighlightSprite(RectAt(*sprite, GetPlayer()->GetCurrentFrame()));
    const SmartRef<Clipboard> clipboard = gApplication ? gApplication->GetClipboard() : nullptr;
    ApplyClipToSprite(~clipboard, GetRangeStart(), static_cast<std::int16_t>(GetRangeEnd() - GetRangeStart() + 1),
                      sprite);
    ContentChanged(nullptr);
    WaitUntilTick(start + 350);
  }
  {
    DisplayPort port(~GetBufferOrDevice(), GetBounds());
    DrawFrameLabel(port, -1);
    FinishDrawing(port);
  }
  if (gToolsDirectory) gToolsDirectory->SelectToolInPalettes();
  if (tool->IsToggled()) tool->SetActive(true);
}

void CHAPane::HighlightSprite(const Rect& rect) {
  static const SmartRef<Paint> alternate = new ColorPaint(standardColors[9]);
  Rect grown = rect;
  grown.Inset(-7);
  {
    DisplayPort port(~GetBufferOrDevice(), GetBounds());
    ColorPaint clear(standardColors[13]);
    port.DrawRect(grown, clear, *alternate, 5);
  }
  InvalidateArea(Area(grown), Area());
}

void CHAPane::ApplyClipToSprite(Clipboard* clipboard, std::int16_t first, std::int16_t count, CSprite* sprite) {
  if (sprite == nullptr || clipboard == nullptr) return;
  if (count < 1) count = 1;
  Smart* content = clipboard->GetScrap();
  SmartRef<Sound> sound = CastSmart<Sound>(content);
  SmartRef<CLink> link = CastSmart<CLink>(content);
  // A clip carries what it carries: a sound leaves the sprite's link, a link its sound.
  const bool keepLink = sound != nullptr;
  const bool keepSound = link != nullptr;
  if (!sound && !link) {
    List made(&CSprite::classInfo);
    clipboard->AddScrapTo(made);
    if (made.NumItems() == 0) return;
    auto* from = CastSmart<CSprite>(made.At(1));
    if (from == nullptr) return;
    sound = from->GetSoundAtFrame(0);
    link = from->GetLinkAtFrame(0);
  }
  if (!keepSound) sprite->SetSound(first, count, ~sound);
  if (!keepLink) sprite->SetLink(first, count, ~link);
}

bool CHAPane::KeyDown(std::int32_t key, std::int32_t modifiers) {
  if (View::KeyDown(key, modifiers)) return true;
  CPlayer* player = GetPlayer();
  switch (key) {
    case 3:
    case 13:
      // A playing page has no frame -1 to go to: the key only ends an edit in place.
      if (!CPanePlay::IsPlaying()) FinishEditing(false);
      return true;
    case 9: {
      CMovieGroup* group = GetGroup();
      if (group == nullptr) return true;
      const std::int16_t c = group->GetSpriteCount();
      std::int16_t start = static_cast<std::int16_t>(c - 1);
      if (selection.NumItems() != 0) start = static_cast<std::int16_t>(group->IndexOfSprite(CastSmart<CSprite>(selection.At(1))) - 1);
      std::int16_t chosen = -1;
      for (std::int16_t i = start; i >= 0; --i)
        if (group->GetSprite(i)->IsVisibleInRange(player->GetCurrentFrame(), 1)) {
          chosen = i;
          break;
        }
      SelectSpriteAt(chosen, false);
      return true;
    }
    default:
      if (key >= '0' && key <= '9') {
        player->ShowFrame(static_cast<std::int16_t>(key - '0'));
        return true;
      }
      return View::KeyDown(key, modifiers);
  }
}
