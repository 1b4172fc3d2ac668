#include "editor/Seams.h"

#include "editor/CBorderSize.h"
#include "editor/CToolsDir.h"
#include "engine/Seams.h"

namespace {

SmartRef<Tool> FirstTool() {
  if (!gBorderSizeTool) gBorderSizeTool = new CBorderSizeTool;
  return SmartRef<Tool>(~gBorderSizeTool);
}

// The application's tool is the tools window's current one once the window exists.
SmartRef<Tool> CurrentTool() { return gToolsDirectory ? gToolsDirectory->GetCurrentToolRef() : nullptr; }

void MakeCurrent(Tool* tool) {
  if (gToolsDirectory) gToolsDirectory->SetCurrentTool(tool);
}

}  // namespace

void InstallEditorSeams() {
  InstallEngineSeams();
  // The pixel and text panes come with the editor's panes; the border is the editor's already.
  FrameEditHooks frameEdits = GetFrameEditHooks();
  frameEdits.makeBorderView = &MakeBorderView;
  SetFrameEditHooks(frameEdits);
  SetToolHooks({&FirstTool, &CurrentTool, &MakeCurrent});
}
