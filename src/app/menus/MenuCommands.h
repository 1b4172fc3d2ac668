// The command objects of the application's menus. Each one decides from the receiver that the command
// routing offers it (the application, the front window or one of its views) whether it is enabled,
// ticked or greyed, and calls one operation of that receiver when it is sent.
#pragma once

#include <cstdint>
#include <functional>

#include "core/String.h"
#include "ui/shell/App.h"
#include "ui/shell/Signal.h"

class DromelApp;

// A command of the application itself: one of its operations, enabled on the application only, and
// greyed while a modal dialog is up or without a front window when it says so.
class DromelAppCommand : public GenericSignal {
 public:
  enum : unsigned { kAnyTime = 0, kNotWhileModal = 1, kNeedsFrontWindow = 2 };
  // What the operation answers, if anything, is not the menu's concern.
  using Action = std::function<void(DromelApp&)>;

  DromelAppCommand(Action action, unsigned conditions) : action(std::move(action)), conditions(conditions) {}
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

// A file imported into the stage pane, on systems without the scanner's "Importer" sub-menu: greyed
// without a front window and while a modal dialog is up.
class CHAAppCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
};

// "Importer" > "Fichier...": a file goes onto the page only while the page window's palette stands on
// one of its pages' no-tool buttons (tool kinds 3, 8, 13, 18 and 23), never while a modal dialog is up.
class ImportFileCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
};

// One page size of "Résolution", for the page window: ticked for the window's size, greyed while the
// window may not change its size.
class DromelWindowCommand : public GenericSignal {
 public:
  DromelWindowCommand(std::int32_t width, std::int32_t height) : width(width), height(height) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  std::int32_t width;
  std::int32_t height;
};

// "Choisir une couleur ...": the stage pane's colour chooser over the paint state, while a text pane is
// being edited in the front window and no modal dialog is up. Any receiver will do.
class ColorChooserCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
};

// A numbered command of the editor application itself ("Son activé"). The views on the way are not
// asked: the stage pane knows no such number and would answer with a "Not implemented." notice every time
// the menus are updated.
class EditorAppNumberCommand : public NumberCommand {
 public:
  explicit EditorAppNumberCommand(std::int32_t number) : NumberCommand(number, nullptr) {}
  int GetSignalStatus(Smart* watcher) override;
};
