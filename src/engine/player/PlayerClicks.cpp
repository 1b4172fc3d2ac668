// The player's answers to clicks, and the preparing of every frame ahead of playing.
#include "core/Progress.h"
#include "core/String.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/links/CLink.h"
#include "engine/memory/CMemory.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/player/CChoreCache.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/CPlayer.h"

namespace {

bool CarriesSomething(const CSprite& sprite, std::int16_t frame) {
  return sprite.GetSoundAtFrame(frame) != nullptr || sprite.GetLinkAtFrame(frame) != nullptr;
}

}  // namespace

bool CPlayer::ClickAt(std::int32_t x, std::int32_t y, bool activate) {
  if (activate && playback) playback->SetWaiting(false);
  if (auto* group = CastSmart<CMovieGroup>(show->GetMovieGroup())) {
    for (std::int16_t i = static_cast<std::int16_t>(group->GetSpriteCount() - 1); i >= 0; --i) {
      CSprite* sprite = group->GetSprite(i);
      if (!sprite->IsVisibleInRange(currentFrame, 1)) continue;
      if (!CarriesSomething(*sprite, currentFrame) && !(activate && IsMember<CMovieVideo>(sprite->GetMovie())))
        continue;
      Rect placed;
      sprite->GetFrameGeometry(currentFrame, &placed, nullptr);
      if (!placed.Contains(x, y)) continue;
      if (activate) ActivateSprite(sprite);
      return true;
    }
  }
  return ActivateFrameLink(activate);
}

void CPlayer::ActivateItem(std::int16_t n) {
  if (n > 0) {
    if (CSprite* sprite = GetActiveSprite(n)) ActivateSprite(sprite);
    return;
  }
  ActivateFrameLink(true);
}

CSprite* CPlayer::GetActiveSprite(std::int16_t n) const {
  auto* group = CastSmart<CMovieGroup>(show->GetMovieGroup());
  if (n <= 0 || group == nullptr) return nullptr;
  std::int16_t counted = 0;
  for (std::int16_t i = 0; i < group->GetSpriteCount(); ++i) {
    CSprite* sprite = group->GetSprite(i);
    if (!CarriesSomething(*sprite, currentFrame) || !sprite->IsVisibleInRange(currentFrame, 1)) continue;
    if (++counted == n) return sprite;
  }
  return nullptr;
}

bool CPlayer::ActivateSprite(CSprite* sprite) {
  const SmartRef<CSprite> held(sprite);
  const SmartRef<Sound> sound(sprite->GetSoundAtFrame(currentFrame));
  const SmartRef<CLink> link(sprite->GetLinkAtFrame(currentFrame));
  QueueText(kSpriteRequest, ~sprite->GetName());
  if (!sound && !link) return false;
  if (playback) {
    const SmartRef<CChorePlay> chore = playback;
    if (sound) chore->PlaySound(~sound);
    if (link) chore->FireLink(*this, ~link, true);
  }
  return true;
}

bool CPlayer::ActivateFrameLink(bool fire) {
  const SmartRef<CLink> link(show->GetMovieGroup()->GetLink(currentFrame));
  if (!link || link->GetValue() != -1) return false;
  if (fire && playback) {
    const SmartRef<CChorePlay> chore = playback;
    chore->FireLink(*this, ~link, true);
  }
  return true;
}

void CPlayer::MouseDown(std::int32_t x, std::int32_t y) {
  if (ClickAt(x, y, true) || !clickStops) return;
  const SmartRef<CLink> wait = new CLink();
  wait->SetKind(CLink::kWait);
  if (playback) {
    const SmartRef<CChorePlay> chore = playback;
    chore->FireLink(*this, ~wait, false);
  }
}

bool CPlayer::Accelerate(int) {
  if (!thinker) return true;
  const std::int16_t n = show->GetMovieGroup()->GetFrameCount();
  Progress progress(static_cast<std::uint32_t>(n), "Accelerate");
  CMemory& memory = CMemory::Get();
  memory.RefillReserve();
  std::int16_t i = thinker->SetTarget(currentFrame, n);
  while (i < n) {
    progress.Step();
    thinker->PrepareNext(*this);
    memory.RefillReserve();
    // A frame that could not be prepared cut the target short: the page cannot be prepared whole.
    if (thinker->GetTarget() < n) {
      thinker->SetTarget(-1, 0);
      return false;
    }
    if (i == n - 1) break;
    ++i;
  }
  thinker->SetTarget(-1, 0);
  return true;
}
