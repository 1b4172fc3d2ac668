#include "app/menus/AppMenus.h"

#include "app/DromelApp.h"
#include "app/links/WebLinkDialog.h"
#include "app/menus/MenuCommands.h"
#include "app/page/DromelWindow.h"
#include "core/Text1252.h"
#include "engine/app/CHAApp.h"
#include "engine/player/CPanePlay.h"
#include "ui/menus/Menu.h"
#include "ui/shell/App.h"
#include "ui/shell/TwainSupport.h"
#include "ui/text/TextView.h"
#include "ui/views/DocWindow.h"
#include "ui/views/Window.h"

SmartRef<Menu> gFileMenu;
SmartRef<Menu> gCategoryMenu;

namespace {

// The stage pane's numbered commands.
enum : std::int32_t { kCommandTransparent = 2024, kCommandBringToFront = 2026, kCommandSendToBack = 2027 };

int EnabledUnlessModal(App& app) { return app.IsFrontModal() ? kCommandDisabled : kCommandEnabled; }

class NewPageCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return EnabledUnlessModal(app); }
  void Perform(App& app) override {
    if (app.CanOpen()) app.NewDocument();
  }
};

class OpenCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return EnabledUnlessModal(app); }
  void Perform(App& app) override { app.DoOpen(0); }
};

class CloseCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return app.FrontWindow() ? EnabledUnlessModal(app) : kCommandDisabled; }
  void Perform(App& app) override { app.CloseWindow(nullptr, kCloseAsking); }
};

class QuitCommand : public AppMenuCommand {
 protected:
  int GetStatus(App& app) override { return EnabledUnlessModal(app); }
  void Perform(App& app) override { app.Quit(kCloseAsking); }
};

constexpr unsigned kProjectWide = DromelAppCommand::kNotWhileModal | DromelAppCommand::kNeedsFrontWindow;

// Item texts that end in an ellipsis hold the byte 0xC9 there; the menu shows it as "...".
SmartRef<Menu> BuildFileMenu() {
  SmartRef<Menu> menu(new Menu(String("Fichier"), 0));
  menu->AppendItem(String("Nouvelle page"), 'N', new NewPageCommand);
  menu->AppendItem(String("Ouvrir\xC9"), 'O', new OpenCommand);
  if (TwainAvailable()) {
    SmartRef<Menu> import(new Menu(String("Importer"), 0));
    import->AppendItem(String("Fichier\xC9"), 'M', new ImportFileCommand);
    menu->AppendSubMenu(~import);
  } else {
    menu->AppendItem(String("Importer\xC9"), 'M', new CHAAppCommand);
  }
  menu->AppendItem(String("Fermer"), 'W', new CloseCommand);
  menu->AppendSeparator();
  menu->AppendItem(String("Enregistrer"), 'S', new DocWindowCommand(kSaveDocument));
  menu->AppendItem(String("Enregistrer sous\xC9"), 0, new DocWindowCommand(kSaveDocumentAs));
  menu->AppendSeparator();
  menu->AppendItem(String("Créer une source HTML"_cp), 'H', new DromelAppCommand(&DromelApp::CompileHtml, kProjectWide));
  menu->AppendItem(String("Publier\xC9"), 'P', new DromelAppCommand(&DromelApp::Publish, kProjectWide));
  menu->AppendSeparator();
  // Filled from the projects folder once the start-up has found it.
  SmartRef<Menu> projects(new Menu(String("Projets"), 0));
  projects->AppendItem(String("Nouveau projet"), 0, MakeNewProjectCommand());
  menu->AppendSubMenu(~projects);
  menu->AppendSeparator();
  menu->AppendItem(String("Quitter"), 'Q', new QuitCommand);
  return menu;
}

SmartRef<Menu> BuildEditMenu() {
  SmartRef<Menu> menu(new Menu(String("Édition"_cp), 0));
  menu->AppendItem(String("Annuler"), 'Z', new WindowUndoCommand);
  menu->AppendSeparator();
  menu->AppendItem(String("Couper"), 'X', new AppClipCommand(kClipCut));
  menu->AppendItem(String("Copier"), 'C', new AppClipCommand(kClipCopy));
  menu->AppendItem(String("Coller"), 'V', new AppClipCommand(kClipPaste));
  menu->AppendItem(String("Supprimer"), 0, new AppClipCommand(kClipClear));
  menu->AppendSeparator();
  menu->AppendItem(String("Placer dessus"), ']', new NumberCommand(kCommandBringToFront, nullptr));
  menu->AppendItem(String("Placer dessous"), '[', new NumberCommand(kCommandSendToBack, nullptr));
  menu->AppendItem(String("Transparent"), 0, new NumberCommand(kCommandTransparent, nullptr));
  menu->AppendSeparator();
  menu->AppendItem(String("Supprimer une page\xC9"), 0,
                   new DromelAppCommand(&DromelApp::DeletePageMode, DromelAppCommand::kNotWhileModal));
  menu->AppendItem(String("Son activé"_cp), '1', new EditorAppNumberCommand(cmdSoundOn));
  return menu;
}

SmartRef<Menu> BuildPageSizeMenu() {
  SmartRef<Menu> menu(new Menu(String("Résolution"_cp), 0));
  menu->AppendItem(String("480x360"), '4', new DromelWindowCommand(480, 360));
  menu->AppendItem(String("600x450"), '6', new DromelWindowCommand(600, 450));
  menu->AppendItem(String("760x570"), '8', new DromelWindowCommand(760, 570));
  return menu;
}

SmartRef<Menu> BuildLinkMenu() {
  SmartRef<Menu> menu(new Menu(String("Lien"), 0));
  menu->AppendItem(String("URL\xC9"), 'L', new WebLinkCommand(0, nullptr));
  menu->AppendItem(String("Email\xC9"), 'E', new WebLinkCommand(1, nullptr));
  return menu;
}

SmartRef<Menu> BuildTextMenu() {
  SmartRef<Menu> menu = TextView::MakeTextMenu();
  menu->AppendSeparator();
  menu->AppendItem(String("Choisir une couleur \xC9"), 0, new ColorChooserCommand);
  menu->SetHidden(false);
  TextView::SetTextMenu(~menu);
  return menu;
}

}  // namespace

SmartRef<MenuBar> DromelApp::BuildMenuBar() {
  SmartRef<MenuBar> bar(new MenuBar());
  gFileMenu = BuildFileMenu();
  bar->AddMenu(~gFileMenu);
  SmartRef<Menu> edit = BuildEditMenu();
  bar->AddMenu(~edit);
  // Its 'Z' item says "Annuler" or "Refaire", whichever the front window would do.
  Window::SetUndoMenu(~edit);
  bar->AddMenu(~BuildPageSizeMenu());
  bar->AddMenu(~BuildLinkMenu());
  gCategoryMenu = new Menu(String("Catégorie"_cp), 0);
  gCategoryMenu->SetHidden(true);
  bar->AddMenu(~gCategoryMenu);
  bar->AddMenu(~BuildTextMenu());
  return bar;
}

bool DromelApp::CanDoClipCommand(int operation) {
  if (!CTumbletApp::CanDoClipCommand(operation)) return false;
  DromelWindow* window = CastSmart<DromelWindow>(~FrontWindow());
  if (window == nullptr) return false;
  SmartRef<View> view(window);
  while (view && CastSmart<CPanePlay>(~view) == nullptr) view = view->GetTarget();
  // Nothing on a page is cut, copied or pasted while it plays.
  return view && !CastSmart<CPanePlay>(~view)->IsPlaying();
}
