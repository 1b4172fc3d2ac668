// A page's editor is the pane its player plays in: it lives with the player, not with the page.
#include "engine/page/CShow.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerHooks.h"
#include "ui/views/View.h"

void CShow::MakeEditor(Rect* bounds, View* container, const Rect& frame) {
  const SmartRef<CPlayer> player = new CPlayer(SmartRef<CShow>(this), *container, false);
  const SmartRef<CPanePlay> pane = MakeStagePane(container, ~player);
  container->AddSubview(~pane);
  *bounds = frame;
}
