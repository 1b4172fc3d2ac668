#include "editor/Seams.h"

#include "editor/CBorderSize.h"
#include "editor/CToolsDir.h"
#include "editor/FloatingWindow.h"
#include "editor/pixels/CPixPane.h"
#include "editor/stage/CHAPane.h"
#include "editor/stage/ImportExport.h"
#include "editor/text/CTextView.h"
#include "engine/Seams.h"
#include "engine/player/PlayerHooks.h"

namespace {

PageWindowHooks gPageWindowHooks;

SmartRef<Tool> FirstTool() {
  if (!gBorderSizeTool) gBorderSizeTool = new CBorderSizeTool;
  return SmartRef<Tool>(~gBorderSizeTool);
}

// The application's tool is the tools window's current one once the window exists.
SmartRef<Tool> CurrentTool() { return gToolsDirectory ? gToolsDirectory->GetCurrentToolRef() : nullptr; }

void MakeCurrent(Tool* tool) {
  if (gToolsDirectory) gToolsDirectory->SetCurrentTool(tool);
}

bool IsStagePane(View* pane) { return dynamic_cast<CHAPane*>(pane) != nullptr; }

bool ToggleFloating(Window* window, bool flag) {
  if (auto* floating = dynamic_cast<FloatingWindow*>(window)) return floating->Toggle(flag);
  if (flag) window->Show(!window->IsVisible());
  return window->IsVisible();
}

SmartRef<View> MakePixelPane(View* parent, const Rect& area, const Rect& frame, CStamp* image) {
  SmartRef<View> pane(new CPixPane(parent, area, frame, image));
  if (parent) parent->AddSubview(~pane);
  return pane;
}

SmartRef<View> MakeTextPane(View* parent, const Rect& frame, StyledText* text) {
  SmartRef<View> pane(new CTextView(parent, frame, text));
  if (parent) parent->AddSubview(~pane);
  return pane;
}

}  // namespace

void InstallEditorSeams() {
  InstallEngineSeams();
  FrameEditHooks frameEdits = GetFrameEditHooks();
  frameEdits.makeBorderView = &MakeBorderView;
  frameEdits.makePixelPane = &MakePixelPane;
  frameEdits.makeTextPane = &MakeTextPane;
  SetFrameEditHooks(frameEdits);
  SetStagePaneMaker(&MakeCHAPane);
  SetToolHooks({&FirstTool, &CurrentTool, &MakeCurrent});
  AppEditorHooks app = GetAppEditorHooks();
  app.toggleWindow = &ToggleFloating;
  app.isStagePane = &IsStagePane;
  app.importInto = &ImportIntoStagePane;
  SetAppEditorHooks(app);
}

void SetPageWindowHooks(const PageWindowHooks& hooks) { gPageWindowHooks = hooks; }

const PageWindowHooks& GetPageWindowHooks() { return gPageWindowHooks; }
