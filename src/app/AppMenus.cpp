#include "app/AppMenus.h"

#include "app/DromelApp.h"
#include "core/SourcePlace.h"
#include "core/Text1252.h"
#include "ui/menus/Menu.h"
#include "ui/shell/App.h"
#include "ui/views/DocWindow.h"

SmartRef<Menu> gFileMenu;

namespace {

constexpr SourceName kSource("DROMEL/DromelApp");

bool ModalUp(App& app) { return app.IsFrontModal(); }

class NewPageCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return ModalUp(app) ? kCommandDisabled : kCommandEnabled; }
  void Perform(App& app) override {
    if (app.CanOpen()) app.NewDocument();
  }
};

class OpenCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return ModalUp(app) ? kCommandDisabled : kCommandEnabled; }
  void Perform(App& app) override { app.DoOpen(0); }
};

class CloseCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override {
    return ModalUp(app) || !app.FrontWindow() ? kCommandDisabled : kCommandEnabled;
  }
  void Perform(App& app) override { app.CloseWindow(nullptr, kCloseAsking); }
};

class QuitCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return ModalUp(app) ? kCommandDisabled : kCommandEnabled; }
  void Perform(App& app) override { app.Quit(kCloseAsking); }
};

SmartRef<Menu> BuildFileMenu() {
  SmartRef<Menu> menu(new Menu(String("Fichier"), 0));
  menu->AppendItem(String("Nouvelle page"), 'N', new NewPageCommand);
  menu->AppendItem(String("Ouvrir\xC9"), 'O', new OpenCommand);
  menu->AppendItem(String("Fermer"), 'W', new CloseCommand);
  menu->AppendSeparator();
  menu->AppendItem(String("Enregistrer"), 'S', new DocWindowCommand(kSaveDocument));
  menu->AppendItem(String("Enregistrer sous\xC9"), 0, new DocWindowCommand(kSaveDocumentAs));
  menu->AppendSeparator();
  // Filled from the projects folder once the start-up has found it.
  SmartRef<Menu> projects(new Menu(String("Projets"), 0));
  projects->AppendItem(String("Nouveau projet"), 0, MakeNewProjectCommand());
  menu->AppendSubMenu(~projects);
  menu->AppendSeparator();
  menu->AppendItem(String("Quitter"), 'Q', new QuitCommand);
  return menu;
}

}  // namespace

SmartRef<MenuBar> BuildDromelMenuBar() {
  SmartRef<MenuBar> bar(new MenuBar());
  gFileMenu = BuildFileMenu();
  bar->AddMenu(~gFileMenu);
  return bar;
}

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
  (CastSmart<DromelApp>(watcher)->*action)();
}

int ProjectCommand::GetSignalStatus(Smart* watcher) {
  DromelApp* app = CastSmart<DromelApp>(watcher);
  return app == nullptr || app->IsFrontModal() ? kCommandDisabled : kCommandEnabled;
}

void ProjectCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(190));
  if (name) CastSmart<DromelApp>(watcher)->OpenProject(*name);
}
