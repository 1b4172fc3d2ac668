#include "engine/player/PlayerHooks.h"

#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"

namespace {

LeaveDocumentHook gLeaveDocument = nullptr;
StagePaneMaker gStagePaneMaker = nullptr;

}  // namespace

void SetLeaveDocumentHook(LeaveDocumentHook hook) { gLeaveDocument = hook; }

bool ConfirmLeaveDocument() { return gLeaveDocument == nullptr || gLeaveDocument(); }

void SetStagePaneMaker(StagePaneMaker maker) { gStagePaneMaker = maker; }

SmartRef<CPanePlay> MakeStagePane(View* container, CPlayer* player) {
  if (gStagePaneMaker != nullptr) return gStagePaneMaker(container, player);
  return new CPanePlay(container, SmartRef<CPlayer>(player));
}
