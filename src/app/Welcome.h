// The two dialogs at the door of the program: the welcome dialog, over the whole main window, with the
// projects in a pop-up, "Nouveau projet" and "OK"; and the new-project dialog, which asks a name. They only
// collect the child's choice; the application opens or makes the project.
#pragma once

#include "core/String.h"
#include "ui/dialogs/Dialog.h"
#include "ui/shell/Signal.h"

class Menu;
class PopupControl;
class TextView;

class WelcomeDialog : public Dialog {
  SMART_ABSTRACT(WelcomeDialog)
 public:
  // Lists the current folder (the projects folder) once.
  WelcomeDialog();
  ~WelcomeDialog() override;

  // Keeps the dialog above the floating windows before each batch of messages.
  bool Poll() override;
  // Opens the chosen project, or starts a new one when there is none to choose; a refused project keeps
  // the dialog open for another choice.
  void Accept() override;

  // The "Projets" menu of the current folder's sub-folders, each item named by the folder's name cut at
  // its last dot. For the dialog: only the projects; for the menu bar: "Nouveau projet" first.
  static SmartRef<Menu> FillProjectList(bool forDialog);

  PopupControl* GetProjectPopup() const { return ~projectPopup; }
  Menu* GetProjectMenu() const { return ~projectMenu; }

 private:
  SmartRef<Menu> projectMenu;
  SmartRef<PopupControl> projectPopup;
};

class ProjectNameDialog : public Dialog {
  SMART_ABSTRACT(ProjectNameDialog)
 public:
  // The field edits the name in place; the caller reads it afterwards.
  explicit ProjectNameDialog(String* name);
  ~ProjectNameDialog() override;

  TextView* GetNameField() const { return ~nameField; }

  // What the field lets through: at most 32 of the characters after the first.
  static const char kNameFilter[];

 private:
  void Layout();

  SmartRef<String> name;
  SmartRef<TextView> nameField;
};

// The dialog takes the size of what it holds, with the dialogs' margin.
void FitDialogToViews(Dialog& dialog);

// "Nouveau projet" in the welcome dialog: a new project, on the application.
class WelcomeCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
};
