// The stage pane's numbered commands: frames, selection, stacking, playing and stepping.
#include <algorithm>

#include "core/Exception.h"
#include "core/Progress.h"
#include "core/String.h"
#include "editor/dialogs/SpeedDialog.h"
#include "editor/stage/CHAPane.h"
#include "editor/stage/ImportExport.h"
#include "engine/EngineNotices.h"
#include "engine/app/CHAApp.h"
#include "engine/kinds/CMovieText.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"

namespace {

// The number asked for keeps its value and is confirmed: the editor has no number field.
bool AskNumber(const char*, std::int16_t*) { return true; }

bool IsMarkCommand(std::int32_t number) { return number < 0 && ((-number) >> 16) == 21; }

}  // namespace

void CHAPane::TellApplication(std::int32_t number, void* argument) {
  // The application takes no action on the play-state numbers; without one there is no one to tell.
  if (gCHAApp) gCHAApp->HandleNumberCommand(number, argument);
}

void CHAPane::NoticePair() {
  DisplayPort port(~GetBufferOrDevice(), GetBounds());
  NOT_IMPLEMENTED();
  DrawFrameLabel(port, -1);
  FinishDrawing(port);
  NOT_IMPLEMENTED();
  DrawFrameLabel(port, -1);
  FinishDrawing(port);
}

int CHAPane::PlaceStatus(std::int32_t number) {
  CMovieGroup* group = GetGroup();
  const List chosen = GetSelectionList();
  if (chosen.NumItems() == 0 || group->GetSpriteCount() < 2) return 3;
  const Smart* first = chosen.At(1);
  if (number == 2026) return first == group->GetSprite(static_cast<std::int16_t>(group->GetSpriteCount() - 1)) ? 3 : 0;
  const bool background = group->FindSpriteByName(String("__Background")) != nullptr;
  return first == group->GetSprite(background ? 1 : 0) ? 3 : 0;
}

int CHAPane::GetNumberCommandStatus(std::int32_t number) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return CPanePlay::GetNumberCommandStatus(number);
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  const bool playing = CPanePlay::IsPlaying();
  if (IsMarkCommand(number)) return 3;
  switch (number) {
    case 7:
    case 16:
    case 18:
    case 19:
    case 20:
    case 21:
    case 2005:
    case 2006:
    case 2013:
      return 3;
    case 2001:
    case 2004:
    case 2010:
    case 2011:
    case 2032:
    case 2034:
    case 2046:
      return 0;
    case 2002:
    case 2073:
    case 2074:
      return last < first ? 3 : 0;
    case 2003:
      return gOverviewActive ? 3 : 0;
    case 2022: {
      const List chosen = GetSelectionList();
      return chosen.NumItems() != 0 && CastSmart<CSprite>(chosen.At(1))->GetMovie() != nullptr ? 0 : 3;
    }
    case 2024: {
      const List chosen = GetSelectionList();
      if (chosen.NumItems() == 0) return 3;
      return CastSmart<CSprite>(chosen.At(1))->GetMovie()->ToggleMode1(false) ? 1 : 0;
    }
    case 2026:
    case 2027:
      return PlaceStatus(number);
    case 2030:
      return playing ? 3 : 0;
    case 2031:
      return playing ? 0 : 3;
    case 2040:
      return IsFrameBoxShown() ? 1 : 0;
    case 2042:
      return GetShow()->ToggleFlag8(false) ? 1 : 0;
    case 2043:
      return 0;
    case 2044:
      return IsEditingInPlace() ? 3 : 0;
    case 3010:
    case 3011:
    case 3012:
    case 3013:
      return playing ? 3 : 0;
    default:
      return CPanePlay::GetNumberCommandStatus(number);
  }
}

void CHAPane::HandleNumberCommand(std::int32_t number, void* argument) {
  CMovieGroup* group = GetGroup();
  if (group == nullptr) {
    CPanePlay::HandleNumberCommand(number, argument);
    return;
  }
  // The command may replace the pane's page or end the pane's window: the pane lives to the end.
  const SmartRef<CHAPane> self(this);
  const std::int16_t n = group->GetFrameCount();
  CPlayer* player = GetPlayer();
  const List chosen = GetSelectionList();
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  if (number != 2034) player->Stop();

  if (IsMarkCommand(number)) {
    const std::int16_t frame = GetShow()->GetMarkFrame((-number) & 0xFFFF);
    if (frame != -1) SetFrameRange(frame, frame);
    return;
  }
  switch (number) {
    case 7:
      if (IsEditingInPlace()) FinishEditing(false);
      else CPanePlay::HandleNumberCommand(number, argument);
      return;
    case 16:
      return;
    case 18:
    case 19:
    case 20:
    case 21:
      NoticePair();
      return;
    case 2001: {
      std::int16_t count = 1;
      if (!AskNumber("Insert Frames", &count) || count < 1) return;
      group->InsertFrames(first, count, true, false);
      SetFrameRange(first, static_cast<std::int16_t>(first + count - 1));
      ContentChanged(nullptr);
      return;
    }
    case 2002:
      SetSpriteSelected(nullptr, true);
      NoticePair();
      return;
    case 2003:
      SetRangeMode(kStoredRange);
      SetFrameRange(0, static_cast<std::int16_t>(n - 1));
      return;
    case 2004:
      SetSpriteSelected(nullptr, true);
      return;
    case 2005:
      SetFrameRange(0, static_cast<std::int16_t>(n - 1));
      NoticePair();
      return;
    case 2006:
      SelectSpriteAt(-1);
      NoticePair();
      return;
    case 2010: {
      {
        DisplayPort port(~GetBufferOrDevice(), GetBounds());
        DrawFrameLabel(port, -1);
        FinishDrawing(port);
      }
      if (chosen.NumItems() != 0) first = 0, last = static_cast<std::int16_t>(n - 1);
      SetFrameRange(first, last);
      ExportFrames(this, &first, &last);
      SetFrameRange(first, last);
      DisplayPort port(~GetBufferOrDevice(), GetBounds());
      DrawFrameLabel(port, -1);
      FinishDrawing(port);
      return;
    }
    case 2011:
      ExportPlayer(player);
      return;
    case 2013:
      if (!gOverviewActive && chosen.NumItems() == 0) SelectSprite(group->FindTopSpriteAtFrame(currentFrame));
      NoticePair();
      return;
    case 2024:
      for (std::int32_t s = 1; s <= chosen.NumItems(); ++s)
        CastSmart<CSprite>(chosen.At(s))->GetMovie()->ToggleMode1(true);
      return;
    case 2026:
    case 2027:
      PerformPlace(number, argument);
      return;
    case 2030:
      PerformPlay(argument);
      return;
    case 2031:
      if (!CPanePlay::IsPlaying()) TellApplication(kPlayStopped, nullptr);
      return;
    case 2032:
      if (!(flags & kQuiet)) TellApplication(kToolPlayStopped, nullptr);
      return;
    case 2034:
      player->GoBack();
      return;
    case 2040:
      SetFlag(kFrameBox, !IsFrameBoxShown());
      InvalidateArea(Area(Rect(GetBounds().left, GetBounds().top, GetBounds().left + 108, GetBounds().top + 33)),
                     Area());
      return;
    case 2042:
      GetShow()->ToggleFlag8(true);
      ContentChanged(nullptr);
      return;
    case 2043:
      SpeedDialog::Run(GetShow(), 1, 60);
      return;
    case 2044:
      GetShow()->NotImplementedCommand();
      Invalidate(false);
      ContentChanged(nullptr);
      return;
    case 2046:
      player->Accelerate(true);
      return;
    case 2073:
      if (last < first) return;
      ReverseFrames(first, last);
      return;
    case 2074: {
      if (last < first) return;
      CanEditRange(first, last);
      const auto length = static_cast<std::int16_t>(last - first + 1);
      std::int16_t wanted = length;
      if (!AskNumber("Stretch Motion", &wanted) || wanted == length) return;
      StretchMotion(first, length, wanted);
      return;
    }
    case 3010:
    case 3011:
      HandleNumberCommand(kPlayStopped, nullptr);
      player->ShowFrame(number == 3010 ? 0 : static_cast<std::int16_t>(n - 1));
      return;
    case 3012:
      StepFrame(-1);
      return;
    case 3013:
      StepFrame(1);
      return;
    default:
      CPanePlay::HandleNumberCommand(number, argument);
      return;
  }
}

void CHAPane::PerformPlace(std::int32_t number, void* argument) {
  CMovieGroup* group = GetGroup();
  const List chosen = GetSelectionList();
  const bool everywhere = (reinterpret_cast<std::uintptr_t>(argument) & 2) != 0;
  const std::int16_t frame = everywhere ? -1 : static_cast<std::int16_t>(currentFrame);
  if (number == 2026) {
    for (std::int32_t s = chosen.NumItems(); s >= 1; --s) group->BringForward(CastSmart<CSprite>(chosen.At(s)), frame);
  } else {
    for (std::int32_t s = 1; s <= chosen.NumItems(); ++s) group->SendBackward(CastSmart<CSprite>(chosen.At(s)), frame);
  }
  TellRangeListeners(this);
  ContentChanged(nullptr);
}

void CHAPane::PerformPlay(void* argument) {
  CPlayer* player = GetPlayer();
  if (player->GetCurrentFrame() >= GetGroup()->GetFrameCount() - 1) player->ShowFrame(0);
  SelectSpriteAt(-1);
  if (player->Play(true)) {
    TellApplication(kPlayStarted, argument);
    TellRangeListeners(this);
  } else {
    TellApplication(kPlayStopped, nullptr);
  }
}

void CHAPane::ReverseFrames(std::int16_t first, std::int16_t last) {
  CanEditRange(first, last);
  CMovieGroup* group = GetGroup();
  const SmartRef<String> caption = PlaceholderString();
  char text[64];
  caption->CopyTo(text, sizeof text);
  Progress progress(static_cast<std::uint32_t>(last - first), text);
  for (std::int16_t f = first; f < last; ++f) {
    progress.Step();
    const SmartRef<CMovie> frame = group->ExtractFrames(last, 1, true);
    group->PasteFrames(f, *frame);
  }
  ContentChanged(nullptr);
}

void CHAPane::StepFrame(std::int16_t delta) {
  HandleNumberCommand(kPlayStopped, nullptr);
  CMovieGroup* group = GetGroup();
  const bool editing = IsEditingInPlace();
  const bool typing = editing && IsMember<CMovieText>(~editedMovie);
  const auto frame = static_cast<std::int16_t>(currentFrame + delta);
  if (frame < 0 || (frame >= group->GetFrameCount() && !editing)) return;
  // The picture or text being made goes on in the next frame: the sprite it is stored in (the new one
  // when it was new) is shown there where it is now, and edited there again.
  CSprite* carried = nullptr;
  if (editing) {
    FinishEditing(true);
    if (selection.NumItems() != 0) carried = CastSmart<CSprite>(selection.At(1));
    if (carried == nullptr) {
      TellFrameListeners();
    } else if (!carried->IsVisibleInRange(frame, 1)) {
      Rect here;
      carried->GetFrameGeometry(currentFrame, &here, nullptr);
      carried->FitFrameToRect(frame, &here, nullptr);
    }
  }
  const SmartRef<CSprite> kept(carried);
  GetPlayer()->ShowFrame(frame);
  Invalidate(false);
  if (kept) EditResourceMovie(~kept, Rect(), false, typing, true);
}
