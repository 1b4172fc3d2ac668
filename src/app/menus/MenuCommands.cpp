#include "app/menus/MenuCommands.h"

#include "app/DromelApp.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/SourcePlace.h"
#include "editor/stage/CHAPane.h"
#include "engine/app/CHAApp.h"
#include "ui/text/TextCommands.h"

namespace {

constexpr SourceName kSource("DROMEL/DromelApp");

// The page window in front of the application, if that is what is in front.
DromelWindow* FrontPageWindow(App& app) { return CastSmart<DromelWindow>(~app.FrontWindow()); }

// Where the colour chooser opens: the stage pane of the page in front, else the pane the editor works in.
CHAPane* ColorChooserPane() {
  if (gApplication) {
    if (DromelWindow* window = FrontPageWindow(*gApplication)) {
      if (CHAPane* pane = window->GetStagePane()) return pane;
    }
  }
  return gCHAApp ? CastSmart<CHAPane>(gCHAApp->GetActivePane()) : nullptr;
}

}  // namespace

GenericSignal* MakeNewProjectCommand() {
  return new DromelAppCommand(&DromelApp::NewProject, DromelAppCommand::kNotWhileModal);
}

int DromelAppCommand::GetSignalStatus(Smart* watcher) {
  DromelApp* app = CastSmart<DromelApp>(watcher);
  if (app == nullptr) return kCommandDisabled;
  if ((conditions & kNotWhileModal) && app->IsFrontModal()) return kCommandDisabled;
  if ((conditions & kNeedsFrontWindow) && !app->FrontWindow()) return kCommandDisabled;
  return kCommandEnabled;
}

void DromelAppCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(179));
  action(*CastSmart<DromelApp>(watcher));
}

int ProjectCommand::GetSignalStatus(Smart* watcher) {
  DromelApp* app = CastSmart<DromelApp>(watcher);
  return app == nullptr || app->IsFrontModal() ? kCommandDisabled : kCommandEnabled;
}

void ProjectCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(190));
  if (name) CastSmart<DromelApp>(watcher)->OpenProject(*name);
}

int CHAAppCommand::GetSignalStatus(Smart* watcher) {
  CHAApp* app = CastSmart<CHAApp>(watcher);
  if (app == nullptr || app->IsFrontModal() || !app->FrontWindow()) return kCommandDisabled;
  return kCommandEnabled;
}

void CHAAppCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(206));
  CastSmart<CHAApp>(watcher)->ImportFile();
}

int ImportFileCommand::GetSignalStatus(Smart* watcher) {
  DromelApp* app = CastSmart<DromelApp>(watcher);
  if (app == nullptr || app->IsFrontModal()) return kCommandDisabled;
  DromelWindow* window = FrontPageWindow(*app);
  if (window == nullptr || window->GetToolPalette() == nullptr) return kCommandDisabled;
  // The no-tool button of each palette page: 3, 8, 13, 18 or 23.
  return window->GetToolPalette()->GetToolKind() % 5 == 3 ? kCommandEnabled : kCommandDisabled;
}

void ImportFileCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(221));
  CastSmart<DromelApp>(watcher)->ImportFile();
}

int DromelWindowCommand::GetSignalStatus(Smart* watcher) {
  DromelWindow* window = CastSmart<DromelWindow>(watcher);
  if (window == nullptr || !window->CanChangePageSize()) return kCommandDisabled;
  const Rect bounds = window->GetBounds();
  if (bounds.Width() == width && bounds.Height() - gToolPaletteHeight == height) return kCommandChecked;
  return kCommandEnabled;
}

void DromelWindowCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(236));
  CastSmart<DromelWindow>(watcher)->SetPageSize(width, height + gToolPaletteHeight);
}

int ColorChooserCommand::GetSignalStatus(Smart*) {
  if (!gApplication || gApplication->IsFrontModal() || !gApplication->FrontWindow()) return kCommandDisabled;
  return TextPaneOpen ? kCommandEnabled : kCommandDisabled;
}

void ColorChooserCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(249));
  if (CHAPane* pane = ColorChooserPane()) pane->ChooseColorCommand();
}

int EditorAppNumberCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<CHAApp>(watcher) ? NumberCommand::GetSignalStatus(watcher) : kCommandDisabled;
}
