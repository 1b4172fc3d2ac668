// What the player needs of the parts of the program built over the page: whether the front page may be
// left before a link opens another one (the engine application asks its document window), and the stage
// pane that the editor shows in place of a plain play pane. Each has a plain default until installed.
#pragma once

#include "core/Smart.h"

class CPanePlay;
class CPlayer;
class View;

// Answers whether the front page may be left (the save question). Without one, there is no document
// window to ask and the page may always be left.
using LeaveDocumentHook = bool (*)();
void SetLeaveDocumentHook(LeaveDocumentHook hook);
bool ConfirmLeaveDocument();

// Makes the pane that edits and plays a page in the container, over the page's player.
using StagePaneMaker = SmartRef<CPanePlay> (*)(View* container, CPlayer* player);
void SetStagePaneMaker(StagePaneMaker maker);
// The installed maker's pane, or a plain play pane without one.
SmartRef<CPanePlay> MakeStagePane(View* container, CPlayer* player);
