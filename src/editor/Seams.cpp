#include "editor/Seams.h"

#include "editor/CBorderSize.h"
#include "engine/Seams.h"
#include "engine/kinds/FrameEditing.h"

void InstallEditorSeams() {
  InstallEngineSeams();
  // The pixel and text panes come with the editor's panes; the border is the editor's already.
  FrameEditHooks frameEdits = GetFrameEditHooks();
  frameEdits.makeBorderView = &MakeBorderView;
  SetFrameEditHooks(frameEdits);
}
