#include "engine/player/CPanePlay.h"

#include "core/Exception.h"
#include "engine/page/CShow.h"
#include "engine/player/CPlayer.h"
#include "graphics/Area.h"

SMART_DEFINE_ABSTRACT(CPanePlay, "CPanePlay", View, NumberCommandHandler)

CPanePlay::CPanePlay(View* parent, SmartRef<CPlayer> player)
    : View(parent, parent->GetBounds(), kAnchorAll, true, false), player(std::move(player)) {
  group = GetShow()->GetMovieGroup();
  group->ToggleDependant(this);
}

CPanePlay::~CPanePlay() { group->ToggleDependant(this); }

bool CPanePlay::IsPlaying() const { return player->GetPlaybackChore() != nullptr; }

CShow* CPanePlay::GetShow() const { return CHECK_NOT_NULL(~player)->GetShow(); }

void CPanePlay::DrawContent(DisplayPort& port, const Area& area) { player->Draw(port, area); }

void CPanePlay::GetSizeRange(Rect* range) {
  const CShow* show = player ? player->GetShow() : nullptr;
  const CMovie* stage = show ? show->GetMovieGroup() : nullptr;
  if (stage == nullptr) {
    View::GetSizeRange(range);
    return;
  }
  const Rect bounds = stage->GetBounds();
  *range = Rect(0, 0, bounds.Width(), bounds.Height());
}

bool CPanePlay::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks,
                          View* window) {
  if (View::MouseDown(x, y, modifiers, clicks, window)) return true;
  if (!IsPlaying()) return false;
  // The click may stop the page, and a link may replace this pane's page: both stay alive meanwhile.
  const SmartRef<CPanePlay> self(this);
  const SmartRef<CPlayer> clicked = player;
  clicked->MouseDown(x, y);
  return true;
}

void CPanePlay::HandleNumberCommand(std::int32_t, void*) { NOT_IMPLEMENTED(); }

int CPanePlay::GetNumberCommandStatus(std::int32_t) {
  NOT_IMPLEMENTED();
  return 3;
}

void CPanePlay::FrameChanged(CMovie*, const Rect& rect, std::int16_t frame) {
  if (frame >= 0 && frame != player->GetCurrentFrame()) return;
  if (rect.IsEmpty()) {
    Invalidate(false);
    return;
  }
  InvalidateArea(Area(rect), Area());
}

bool CPanePlay::FindsLinkAt(std::int32_t x, std::int32_t y) { return player->ClickAt(x, y, false); }
