#include "engine/player/CChoreCache.h"

#include <limits>

#include "engine/memory/CMemory.h"
#include "engine/page/CShow.h"
#include "engine/player/CPlayer.h"
#include "graphics/DisplayPort.h"

SMART_DEFINE_ABSTRACT(CChoreCache, "CChoreCache", Chore)

CChoreCache::CChoreCache(CPlayer& player)
    : Chore(kStartPeriod, true, 0), show(player.GetShow()), group(show->GetMovieGroup()) {
  group->ToggleDependant(this);
  RegisterPurgeable(this);
}

CChoreCache::~CChoreCache() {
  group->ToggleDependant(this);
  UnregisterPurgeable(this);
}

std::int16_t CChoreCache::FrameCount() const { return show->GetMovieGroup()->GetFrameCount(); }

void CChoreCache::Do() {
  if (IsRunning()) clients.NotifyAll(this);
}

void CChoreCache::Step(CPlayer&) {
  if (!IsRunning()) return;
  purgeLevel = kNoPurgeDone;
  SetPeriod(kIdlePeriod);
}

std::int16_t CChoreCache::SetTarget(std::int16_t start, std::int16_t count) {
  target = count;
  if (start < 0) return prepared;
  const std::int16_t n = FrameCount();
  if (start >= n) start = static_cast<std::int16_t>(start - n);
  std::int32_t d = start - base;
  if (d == 0) return prepared;
  if (d < 0) d += n;
  prepared = d < prepared ? static_cast<std::int16_t>(prepared - d) : std::int16_t{0};
  base = start;
  return prepared;
}

void CChoreCache::PrepareNext(CPlayer& player) {
  purgeLevel = kNoPurgeDone;
  const std::int16_t level = target <= prepared ? 2 : 1;
  const std::int16_t n = FrameCount();
  if (prepared >= n) return;
  const auto frame = static_cast<std::int16_t>((base + prepared) % n);
  const Rect bounds = show->GetMovieGroup()->GetBounds();
  bool ready;
  {
    DisplayPort port(player.GetView(), bounds);
    ready = show->PrepareDelta(port, frame, bounds, level);
  }
  if (!ready) {
    // Short of memory: whoever waits for the target must stop waiting.
    if (target > prepared) target = prepared;
    return;
  }
  ++prepared;
  SetPeriod(prepared < target ? kPreparingPeriod : kStartPeriod);
}

void CChoreCache::FrameChanged(CMovie*, const Rect&, std::int16_t) { prepared = 0; }

void CChoreCache::Purge() { PurgeCallback(std::numeric_limits<std::size_t>::max()); }

bool CChoreCache::PurgeCallback(std::size_t bytesNeeded) { return Purge(bytesNeeded, CMemory::Get().GetLevel()); }

bool CChoreCache::Purge(std::size_t bytesNeeded, std::int16_t level) {
  if (level >= purgeLevel) return false;
  const std::int16_t n = FrameCount();
  std::int32_t first = 0, last = -1;
  switch (level) {
    case 0: first = base, last = base + prepared - 1; break;
    case 1: first = base + target, last = base + prepared - 1; break;
    case 2: first = base + prepared + 1, last = base + n - 1; break;
    default: break;
  }
  for (std::int32_t i = last; i >= first; --i) {
    show->PurgeFrameCaches(static_cast<std::int16_t>(i % n));
    if (level <= 1) {
      --prepared;
      if (target > prepared) target = prepared;
    }
    if (bytesNeeded <= AvailableMemory()) return true;
  }
  if (level == 0) {
    show->PurgeFrameCaches(CMovie::kNoFrames);
    show->ForgetFrame(-1);
  }
  purgeLevel = level == 0 ? std::int16_t{1} : level;
  return true;
}
