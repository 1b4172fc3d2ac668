// The web-page application: the authoring application with a desk carrying the start panel, the
// projects folder and the lock of the open project, the splash and the welcome dialog at start-up, and one
// page window reused for every page.
#pragma once

#include <cstdint>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "editor/app/CTumbletApp.h"

class DromelUserInfo;
class DromelWindow;
class Menu;
class MenuBar;
class StartButton;
class Window;

class DromelApp : public CTumbletApp {
  SMART_ABSTRACT(DromelApp)
 public:
  // Builds the tools window, the menu bar, the desk with its start panel, and places later windows to
  // the right of the desk.
  DromelApp();
  ~DromelApp() override;
  SMART_NOT_COPYABLE

  // ---- The application table ----
  // None when the front page window already writes that file; otherwise the engine's scribe, wrapped in
  // a page scribe when it can write.
  SmartRef<Scribe> MakeScribe(FileReference& file, int mode) override;
  // The first call runs the start-up and then shows the desk; later calls make a new empty page.
  void NewDocument() override;
  // One page window shows every page: the page goes into the front page window once it agrees to leave
  // its page.
  void OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe) override;
  // The front page window is asked about its unsaved page first.
  void DoOpen(int mode) override;
  bool CanOpen() override { return true; }
  // "Projets".
  SmartRef<String> GetDocumentFolderName() override;
  // Pages never advance their frames by themselves.
  SmartRef<CShow> MakeShow(SmartRef<Smart> object) override;
  // A page window with the desk's start column.
  SmartRef<DocWindow> MakeDocWindow(CShow* page, Scribe* scribe) override;

  // Cut, copy, paste and clear only for a page window's stage pane, and not while its page plays.
  bool CanDoClipCommand(int operation) override;
  // The whole menu bar, built once for the application's constructor.
  static SmartRef<MenuBar> BuildMenuBar();

  // The start panel's top button: a new page when no window is in front.
  void StartButtonPressed();

  // ---- Projects ----
  // The projects folder, found or made at the first call, becomes the current folder.
  void EnterProjectsFolder();
  // The "Projets" sub-menu of "Fichier" lists the projects folder again.
  void RefreshProjectsMenu();
  // Opens the project of that name under its lock, making it when it does not exist. A project whose lock
  // is held is refused with an alert (and a UserCancelException while the welcome dialog is up).
  void OpenProject(const String& name);
  // Asks a name and opens (or makes) that project; the dialog comes back until the name is usable.
  void NewProject();
  // The folder's "index.zod", made empty when missing; none when asked only for a new one and it exists.
  SmartRef<FileReference> IndexPageFile(FileReference& folder, bool onlyIfNew);
  // Writes an empty index page when the folder has none.
  void CreateIndexPage(FileReference& folder);
  // The index page, made when missing, read into the page window.
  void GoToIndexPage(FileReference& folder, DromelWindow& window);

  // ---- The whole project ----
  // Brings the web files of every page of the current folder up to date in its "HTML" folder; false
  // after a failure already shown to the child.
  bool CompileHtml();
  // Reads and writes every page of the current folder again, then shows the page that was in front.
  bool Synchronize();
  // Compiles the project, warns that the site will be public, asks where it goes and sends its "HTML"
  // folder there by FTP; every outcome is shown to the child.
  void Publish();
  // Fills an empty account and password (and, with no host, the destination) from the defaults, then
  // runs the publish dialog over the record; false when the child cancelled it.
  bool ParseDestination(DromelUserInfo* record);
  // Sends every file of the folder, last name first, into a folder named after the project under the
  // record's server path. Failures leave by exception; one to connect has been shown already.
  void PublishByFTP(FileReference& output, DromelUserInfo& record);

  // ---- The delete-page and information windows ----
  // The project's pages in a browser whose click deletes; once the window has closed, a project that
  // lost a page is synchronised, once however many went.
  void DeletePageMode();
  // The information picture until it is clicked or Esc; a second request while it is up does nothing.
  // Closed with Ctrl and Shift held, it opens the debug parameters.
  void ShowAbout() override;

  // ---- The user-information file (pers.usr), which keeps the publishing settings between runs ----
  SmartRef<Scribe> OpenUsersFile();
  // Never null: a file that cannot be read gives a fresh record, and stays on disk until a real save.
  SmartRef<DromelUserInfo> GetUserInfo();
  void SaveUserInfo(DromelUserInfo* record);

  // Null until a project has been opened.
  String* GetProjectName() const { return ~projectName; }
  StartButton* GetStartPanel() const { return ~startPanel; }
  Menu* GetProjectsMenu() const { return ~projectsMenu; }

 private:
  // The first-run sequence: the projects folder and menu, the splash, the welcome dialog. Raises
  // UserCancelException when the child leaves the welcome dialog without a project.
  void Startup();
  void ShowSplash();
  void RunWelcome();
  // The page shown when a project opens: its index page, else the one modified last.
  SmartRef<FileReference> ChooseFirstPage(FileReference& folder);
  // The chosen page replaces the empty one; a damaged page is reported and what could be read is shown.
  void OpenFirstPage(FileReference& folder);

  SmartRef<StartButton> startPanel;
  SmartRef<String> projectName;
  SmartRef<Menu> projectsMenu;
  SmartRef<Menu> projectsMenuHolder;
};

// The item of that name in the program's folder; with the create flag a missing folder is made.
SmartRef<FileReference> ProgramFolderItem(const String& name, bool create);

// Once the framework has destroyed the application: the last references to it, and the open project's
// lock, go before the program's statics do (whose order of destruction is not the program's to choose).
void ReleaseDromelApp();

// Every picture, sound and text file of the program is in "Data" beside it: without that folder the
// child would meet one failure after another, so the program says once which folder is missing (and
// answers false) before it starts.
bool CheckProgramFolder();

// The application factory handed to the framework's start-up.
SmartRef<App> CreateDromelApp();

extern const AppInfo gDromelAppInfo;
// The creator of the application's documents.
extern const FileCreatorType gPageFileType;
// "Lock file": lockinfo.lok in every open project.
extern const FileType gLockFileType;

extern SmartRef<DromelApp> gDromelApp;
extern SmartRef<Window> gDeskWindow;
// Set once, when the start-up begins (or a document was opened before it), never cleared.
extern std::uint8_t gStartupDone;
// Set while the start-up's welcome dialog may be up.
extern std::uint8_t gStartupInProgress;

extern SmartRef<FileReference> gProjectsFolder;
// The open project's lock file, held open for writing with read sharing only; null with no project.
extern SmartRef<File> gProjectLockFile;
extern std::uint16_t gMaxProjectNameLength;

namespace dromelapp_testing {
// After a run of the program: the application, its windows and every global it set are let go (the lock,
// the projects folder and the start-up flags too), so that the next run starts as a new program would.
void Reset();
}  // namespace dromelapp_testing
