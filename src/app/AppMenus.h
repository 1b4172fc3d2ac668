// The application's menu bar and the command objects of its menus.
#pragma once

#include "core/String.h"
#include "ui/shell/Signal.h"

class App;
class DromelApp;
class Menu;
class MenuBar;

// The bar with "Fichier" (kept in gFileMenu) and the text views' "Texte" menu.
SmartRef<MenuBar> BuildDromelMenuBar();

extern SmartRef<Menu> gFileMenu;

// A command of the application itself: one of its operations, enabled on the application only, and
// greyed while a modal dialog is up or without a front window when it says so.
class DromelAppCommand : public GenericSignal {
 public:
  enum : unsigned { kAnyTime = 0, kNotWhileModal = 1, kNeedsFrontWindow = 2 };
  using Action = void (DromelApp::*)();

  DromelAppCommand(Action action, unsigned conditions) : action(action), conditions(conditions) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  Action action;
  unsigned conditions;
};

// Opens the project it names (none: the welcome dialog reads the item's text instead); greyed while a
// modal dialog is up.
class ProjectCommand : public GenericSignal {
 public:
  explicit ProjectCommand(const String* name) : name(name ? new String(*name) : nullptr) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
  String* GetName() const { return ~name; }

 private:
  SmartRef<String> name;
};

// "Nouveau projet" of the "Projets" menu.
GenericSignal* MakeNewProjectCommand();
