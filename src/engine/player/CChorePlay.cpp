#include "engine/player/CChorePlay.h"

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Sound.h"
#include "core/Text1252.h"
#include "engine/links/CLink.h"
#include "engine/links/WebAddress.h"
#include "engine/page/CShow.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerHooks.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"
#include "sound/SoundChannel.h"

namespace {

// Clears a flag however the scope ends.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag(flag) { flag = true; }
  ~FlagScope() { flag = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag;
};

}  // namespace

CChorePlay::CChorePlay(CPlayer& player, SmartRef<CChoreCache> cache) : Chore(kHoldPeriod, true, 0) {
  Init(player, std::move(cache));
}

CChorePlay::CChorePlay(CPlayer& player, SmartRef<CChoreCache> cache, SmartRef<CChorePlay> previous)
    : Chore(kHoldPeriod, true, 0) {
  Init(player, std::move(cache));
  if (!previous) return;
  if (previous->pendingFrame >= 0) {
    const std::int16_t frame = previous->pendingFrame;
    ShowFrameOnScreen(player, frame, previous->pendingMode, false);
    playList->CollectTracks(*group, frame);
  }
  previous->pendingMode = previous->pendingFrame = -1;
  history.AppendList(previous->history);
  previous->history->RemoveAll();
}

CChorePlay::~CChorePlay() = default;

void CChorePlay::Init(CPlayer& player, SmartRef<CChoreCache> newCache) {
  show = player.GetShow();
  group = show->GetMovieGroup();
  pendingMode = pendingFrame = -1;
  playList = new CPlayList();
  cache = std::move(newCache);
  lastTick = GetTickCount();
  waiting = false;
}

void CChorePlay::Do() {
  if (IsRunning()) clients.NotifyAll(this);
}

bool CChorePlay::CacheCaughtUp(CPlayer& player, std::int16_t frame) {
  const std::int16_t n = group->GetFrameCount();
  std::int16_t linked = frame;
  for (std::int32_t k = 1; k < n; ++k) {
    const auto next = static_cast<std::int16_t>((frame + k) % n);
    if (group->GetLink(next) != nullptr) {
      linked = next;
      break;
    }
  }
  if (linked == frame + 1) return true;
  std::int32_t end = linked - 1;
  if (end < frame) end += n;
  cache->SetTarget(static_cast<std::int16_t>(frame + 1), static_cast<std::int16_t>(end - frame));
  cache->PrepareNext(player);
  return cache->IsDone();
}

void CChorePlay::Step(CPlayer& player) {
  if (!IsRunning() || waiting || alertOpen) return;
  const std::uint16_t flags = playList->Prune();
  const std::int16_t frame = player.GetCurrentFrame();
  CLink* link = group->GetLink(frame);
  std::int16_t value = link != nullptr ? link->GetValue() : kHoldForRate;
  // A code this program does not know holds as the rate does.
  if (value < kHoldWhileSounds) value = kHoldForRate;
  SetPeriod(kHoldPeriod);

  switch (value) {
    case kHoldForClick:
    case kHoldForGood: return;
    case kHoldWhileTracks:
      if (flags != 0) return;
      break;
    case kHoldWhileOtherTracks:
      if (flags & CTrackList::kTrackPlaying) return;
      break;
    case kHoldWhileSounds:
      if (flags & CTrackList::kSoundPlaying) return;
      break;
    case kHoldForCache:
      if (!CacheCaughtUp(player, frame)) return;
      break;
    default: break;
  }

  // A page of a damaged file may hold a negative rate: it does not move on by itself, as rate 0.
  const std::int16_t rate = show->GetFrameRate() > 0 ? show->GetFrameRate() : std::int16_t{0};
  const DWORD now = GetTickCount();
  DWORD due = now;
  if (value > 0)
    due = now - 1000u * static_cast<DWORD>(value);
  else if (rate > 0)
    due = now - static_cast<DWORD>(1000 / rate);
  const auto late = static_cast<std::int32_t>(due - lastTick);

  if (late >= 0 && rate != 0) {
    SetPeriod(kFirePeriod);
    try {
      FireLink(player, link, false);
    } catch (Exception*) {
      // A link that cannot be followed would fail again at every tick: the page stops on its frame, and
      // the error is reported once.
      player.Stop();
      throw;
    }
    return;
  }
  if (rate == 0) return;
  if (value > 0 && flags == 0) {
    // A long hold with nothing playing is time to prepare the frames ahead.
    cache->SetTarget(static_cast<std::int16_t>(frame + 1), 0);
    cache->PrepareNext(player);
  }
  SetPeriod(static_cast<std::uint32_t>(-late - 1));
}

std::int16_t CChorePlay::ReturnFrame(std::int16_t frame, bool fromClick) const {
  if (fromClick) return frame;
  return static_cast<std::int16_t>((frame + 1) % group->GetFrameCount());
}

void CChorePlay::ShowWebAddress(CLink& link) {
  String text("Ceci est un lien vers :  ");
  String address;
  GetAddressText(link.GetStoredHref(), address);
  text.Append(address);
  const FlagScope open(alertOpen);
  text.Alert(kAlertInformation, 0);
}

bool CChorePlay::FireLink(CPlayer& player, CLink* link, bool fromClick) {
  const SmartRef<CLink> held(link);
  lastTick = GetTickCount();
  waiting = false;
  const std::int16_t frame = player.GetCurrentFrame();
  const std::int16_t n = group->GetFrameCount();

  std::int32_t kind = CLink::kNext;
  std::int32_t mode = 0;
  if (link != nullptr) {
    mode = link->GetMode();
    if (CJumpMovie* second = link->GetMovieJump()) {
      OpenLinkedFile(player, second, 0, 0, true);
      if (fromClick) return true;
    } else {
      kind = link->GetKind();
    }
  }

  std::int32_t target = frame + 1;
  bool wait = false;
  bool step = false;
  switch (kind) {
    case CLink::kFrameWithReturn:
    case CLink::kFrame:
      if (kind == CLink::kFrameWithReturn) {
        SmartRef<CJumpFrame> back = new CJumpFrame();
        back->SetFrame(ReturnFrame(frame, fromClick));
        history.AppendRef(back);
      }
      target = link->ResolveFrame(*group->GetFrameIndex());
      if (target < 0) {
        player.Stop();
        return false;
      }
      break;
    case CLink::kPageWithReturn: {
      if (!ConfirmLeaveDocument()) {
        player.Stop();
        return false;
      }
      FileReference pageFile;
      if (player.GetPageFile(pageFile)) {
        CJumpMovie* jump = link->GetJumpAsMovie();
        if (jump != nullptr && jump->GetFile() != nullptr && *jump->GetFile() == pageFile) return false;
        SmartRef<CJumpFrame> back = new CJumpFrame();
        back->SetFrame(ReturnFrame(frame, fromClick));
        history.AppendRef(back);
        history.AppendRef(SmartRef<CJumpMovie>(new CJumpMovie(pageFile)));
      }
      OpenLinkedFile(player, link->GetJumpAsMovie(), 0, mode, false);
      return false;
    }
    case CLink::kPage: OpenLinkedFile(player, link->GetJumpAsMovie(), 0, mode, false); return false;
    case CLink::kStop: player.Stop(); return false;
    case CLink::kPrevious: target = frame - 1; break;
    case CLink::kWait:
      target = frame;
      wait = true;
      break;
    case CLink::kWebAddress: ShowWebAddress(*link); return true;
    default: step = true; break;
  }

  if (target < n) {
    if (target < 0) target = n - 1;
  } else if (show->ToggleFlag8(false)) {
    target = 0;
  } else if (playList->Prune() != 0 || player.GetActiveSprite(1) != nullptr) {
    // The last frame stays while something can still happen on it.
    return true;
  } else {
    player.Stop();
    return false;
  }
  const auto shown = static_cast<std::int16_t>(target);
  ShowFrameOnScreen(player, shown, mode, step);
  if (wait)
    player.Stop();
  else
    playList->CollectTracks(*group, shown);
  return true;
}

bool CChorePlay::GoBack(CPlayer& player) {
  const std::int32_t last = history.NumItems();
  if (last == 0) return false;
  const SmartRef<CJumpMovie> page(CastSmart<CJumpMovie>(history.At(last)));
  if (!page) return false;
  std::int16_t frame = 0;
  std::int32_t first = last;
  if (last > 1) {
    if (auto* back = CastSmart<CJumpFrame>(history.At(last - 1))) {
      frame = back->GetFrame();
      first = last - 1;
    }
  }
  history->Remove(first, last - first + 1);
  OpenLinkedFile(player, ~page, frame, 0, false);
  return true;
}

void CChorePlay::Halt() {
  waiting = true;
  cache->SetTarget(-1, 0);
  playList->RemoveKey(1, true);
  Stop();
}

void CChorePlay::StartFrameTracks(CPlayer& player) { playList->CollectTracks(*group, player.GetCurrentFrame()); }

void CChorePlay::PlaySound(Sound* sound) { playList->Add(1, SmartRef<Track>(new SoundChannel(sound))); }

void CChorePlay::OpenLinkedFile(CPlayer& player, CJumpMovie* jump, std::int16_t frame, std::int32_t mode,
                                bool checkOnly) {
  if (jump == nullptr) {
    if (!checkOnly) player.Stop();
    return;
  }
  FileReference* file = jump->GetFile();
  // A page whose file the user declined to choose leads nowhere, as a page that is gone.
  bool exists = file != nullptr && file->HasPath();
  if (exists) {
    String baseName;
    file->GetBaseNameAndType(baseName);
    const SmartRef<FileReference> folder(file->GetParent());
    exists = folder && folder->ChildExists(baseName, MakeDocumentFileType());
  }
  if (!exists) THROW_ERROR("Le fichier lié n'existe plus !"_cp);
  const SmartRef<FileReference> copy = new FileReference(*file);
  if (checkOnly) {
    player.PreloadFile(~copy);
    return;
  }
  pendingMode = static_cast<std::int16_t>(mode);
  pendingFrame = frame;
  player.QueueOpenFile(*copy);
  waiting = true;
}

void CChorePlay::ShowFrameOnScreen(CPlayer& player, std::int16_t frame, std::int32_t mode, bool step) {
  const Rect bounds = group->GetBounds();
  if (step && mode == 0) {
    {
      DisplayPort port(player.GetView(), bounds);
      show->PlayFrame(port, frame, bounds, false);
    }
    if (player.IsReportingAreas()) player.ReportDrawn(~show->GetDelta(frame, false));
  } else {
    {
      DisplayPort port(player.GetView(), bounds);
      const PortState state(port, bounds);
      show->PlayFrame(port, frame, bounds, true);
    }
    if (player.IsReportingAreas()) {
      const SmartRef<Area> drawn = new Area(bounds);
      player.ReportDrawn(~drawn);
    }
  }
  player.ShowFrame(frame);
}
