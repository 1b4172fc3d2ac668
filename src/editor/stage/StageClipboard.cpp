// The stage pane's side of cut, copy, paste and clear: what travels is a list of sprites, and whatever
// else the clipboard holds becomes sprites on the way in.
#include <algorithm>

#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Sound.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "editor/CToolsDir.h"
#include "editor/browser/CBrowser.h"
#include "editor/stage/CHAPane.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "graphics/formats/Picture.h"
#include "ui/shell/App.h"
#include "ui/shell/Tool.h"
#include "ui/shell/Clipboard.h"
#include "ui/text/StyledText.h"
#include "ui/views/Window.h"

bool gBackgroundImport = false;

namespace {

// An undo or redo of a background import: the page's background sprite, not the selection, is what
// the clipboard task pastes and clears.
bool UndoingBackgroundImport() { return gUndoing && gBackgroundImport; }

CSprite* FirstSelectedVisible(const List& selection, std::int16_t frame) {
  if (selection.NumItems() == 0) return nullptr;
  auto* sprite = CastSmart<CSprite>(selection.At(1));
  return sprite != nullptr && sprite->IsVisibleInRange(frame, 1) ? sprite : nullptr;
}

CMovieGroup* GroupOf(CShow* page) { return page ? CastSmart<CMovieGroup>(page->GetMovieGroup()) : nullptr; }

// Copies of the sprites with frames: a conversion that answers no object, or a sprite of nothing, adds
// nothing to the page. The clipboard's own sprites stay as they are, for the next paste and for the
// clipboard task's redo.
List PastableSprites(const List& made) {
  List kept(&CSprite::classInfo);
  for (std::int32_t i = 1; i <= made.NumItems(); ++i) {
    auto* sprite = CastSmart<CSprite>(made.At(i));
    if (sprite == nullptr || sprite->GetFrameCount() == 0) continue;
    const SmartRef<Smart> copy(sprite->Clone());
    kept.Append(~copy);
  }
  return kept;
}

}  // namespace

void CHAPane::Copy(Clipboard* clipboard) {
  List copies(&CSprite::classInfo);
  for (std::int32_t s = 1; s <= selection.NumItems(); ++s) {
    const SmartRef<Smart> copy(selection.At(s)->Clone());
    copies.Append(~copy);
  }
  clipboard->SetScrap(~copies.GetData());
}

void CHAPane::Paste(Clipboard* clipboard, std::int32_t mode, std::int32_t x, std::int32_t y) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  if (mode == 0) {
    const auto* list = CastSmart<ListData>(clipboard->GetScrap());
    if (list == nullptr || !CSprite::classInfo.IsKindOf(list->GetElementClass())) mode = 3;
  }
  Point point(x, y);
  if (mode == 3) {
    point = GetBounds().Center();
    mode = 2;
  }
  List made(&CSprite::classInfo);
  clipboard->AddScrapTo(made);
  const List sprites = PastableSprites(made);
  if (sprites.NumItems() == 0) {
    // Nothing is pasted, and nothing stays selected: undoing this paste clears the selection.
    if (selection.NumItems() != 0) {
      SetSpriteSelected(nullptr, false);
      TellRangeListeners(this);
    }
    NotifyChanged();
    UpdateSelectionState();
    return;
  }
  const std::int16_t cf = GetPlayer()->GetCurrentFrame();
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  SetSpriteSelected(nullptr, false);
  auto* lead = CastSmart<CSprite>(sprites.At(1));
  Rect r;
  lead->GetFrameGeometry(lead->GetStartFrame(), &r, nullptr);
  Point offset(0, 0);
  if (!UndoingBackgroundImport() && mode == 2) {
    if (point == Point(-1, -1)) offset = GetBounds().TopLeft();
    else offset = Point(point.x - r.left, point.y - r.top);
  }
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
    auto* sprite = CastSmart<CSprite>(sprites.At(i));
    sprite->OffsetPath(static_cast<std::int16_t>(offset.x), static_cast<std::int16_t>(offset.y));
    sprite->SetStartFrame(first);
    const auto end = static_cast<std::int16_t>(cf + sprite->GetFrameCount() - 1);
    const std::int16_t n = group->GetFrameCount();
    if (end > n - 1) group->InsertFrames(n, static_cast<std::int16_t>(end - (n - 1)), false, true);
    else last = static_cast<std::int16_t>(n - 1);
    if (last != first) sprite->SetFrameCount(static_cast<std::int16_t>(last - first + 1));
    const std::int16_t index = group->MergeSprite(sprite);
    selection.Append(group->GetSprite(index));
  }
  SetFrameRange(cf, cf);
  // The background pasted again goes back under the page's sprites at the page's size, as its import left it.
  if (UndoingBackgroundImport()) FitBackground(this);
  TellRangeListeners(this);
  NotifyChanged();
  UpdateSelectionState();
}

void CHAPane::Clear() {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  const auto hideFromFirst = [first](CSprite* sprite) {
    sprite->HideFrames(first, static_cast<std::int16_t>(sprite->GetFrameCount() - (first - sprite->GetStartFrame())));
  };
  if (UndoingBackgroundImport()) {
    if (CSprite* background = group->FindSpriteByName(String("__Background"))) hideFromFirst(background);
  } else {
    for (std::int32_t s = 1; s <= selection.NumItems(); ++s) hideFromFirst(CastSmart<CSprite>(selection.At(s)));
  }
  group->RemoveEmptySprites();
  SetSpriteSelected(nullptr, false);
  TellRangeListeners(this);
  NotifyChanged();
  UpdateSelectionState();
  Invalidate(false);
}

bool CHAPane::CanEdit(int operation) { return operation == kEditPaste || selection.NumItems() != 0; }

const ClassInfo* CHAPane::GetScrapClass() {
  NOT_IMPLEMENTED();
  if (IsEditingInPlace()) {
    if (IsMember<CMoviePic>(~editedMovie)) return &Picture::classInfo;
    if (IsMember<CMovieText>(~editedMovie)) return &StyledText::classInfo;
    return nullptr;
  }
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  const std::int32_t tool = gToolsDirectory ? gToolsDirectory->GetCurrentToolId() : 0;
  if (tool == 10) {
    for (std::int16_t f = first; f <= last; ++f)
      if (FrameSound(GetShow(), f, selection, false)) return &Sound::classInfo;
    return nullptr;
  }
  if (tool == 11) {
    for (std::int16_t f = first; f <= last; ++f)
      if (FrameLink(GetShow(), f, selection) != nullptr) return &CLink::classInfo;
    return nullptr;
  }
  if (last < first) return &CMovie::classInfo;
  if (GetGroup() == nullptr) return nullptr;
  return selection.NumItems() != 0 ? &CSprite::classInfo : &CMovie::classInfo;
}

bool CHAPane::FrameSound(CShow* page, std::int16_t frame, const List& chosen, bool play) {
  CMovieGroup* group = GroupOf(page);
  Sound* sound = nullptr;
  if (CSprite* sprite = FirstSelectedVisible(chosen, frame)) sound = sprite->GetSoundAtFrame(frame);
  else if (group != nullptr) sound = group->GetSound(frame);
  if (sound == nullptr) return false;
  if (play) PlaySound(sound);
  return true;
}

CLink* CHAPane::FrameLink(CShow* page, std::int16_t frame, const List& chosen) {
  if (CSprite* sprite = FirstSelectedVisible(chosen, frame)) return sprite->GetLinkAtFrame(frame);
  CMovieGroup* group = GroupOf(page);
  return group ? group->GetLink(frame) : nullptr;
}

void CHAPane::CopyPageLink(FileReference* page, Smart* picture, App* application) {
  if (page == nullptr || picture == nullptr || application == nullptr) return;
  const SmartRef<CLink> link = new CLink;
  link->SetJump(SmartRef<CJump>(new CJumpMovie(*page)));
  link->SetKind(CLink::kPageWithReturn);
  link->SetMode(GetPlayer()->GetFrameLinkMode());
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(picture));
  const SmartRef<CMovie> movie = new CMoviePic(~resource);
  // The link's picture is a button: it shows whole.
  if (movie->ToggleMode1(false)) movie->ToggleMode1(true);
  const SmartRef<CSprite> sprite = new CSprite(0, movie, CMoviePic::PictureBounds(~resource));
  sprite->SetLink(0, sprite->GetFrameCount(), ~link);
  List list(&CSprite::classInfo);
  list.Append(~sprite);
  application->GetClipboard()->SetScrap(~list.GetData());
}
