// Projects: the projects folder, its menu, opening a project under its lock, making a new one, and its
// index page.
#include <cstring>

#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/Welcome.h"
#include "app/page/DromelWindow.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Format.h"
#include "core/Text1252.h"
#include "core/Time.h"
#include "editor/browser/BrowserPanes.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "ui/menus/Menu.h"
#include "ui/text/TextView.h"
#include "ui/views/Window.h"

const FileType gLockFileType("Lock file", FourCharCode("LOCK"), FourCharCode("lok "));
SmartRef<FileReference> gProjectsFolder;
SmartRef<File> gProjectLockFile;
std::uint16_t gMaxProjectNameLength = FileReference::MaxNameLength();

namespace {

constexpr int kProjectsFolderText = 0;
constexpr int kIndexText = 11;
constexpr int kDefaultProjectText = 12;
constexpr int kTooLongText = 59;
constexpr int kEmptyText = 60;
constexpr int kInvalidText = 61;
const char* const kProjectInUse = "Ce nom de projet est déjà utilisé.\nChoisis-en un autre."_cp;

// The current folder again when the scope ends, whatever happened in it.
class KeepCurrentFolder {
 public:
  KeepCurrentFolder() : folder(FileReference::CurrentFolder()) {}
  ~KeepCurrentFolder() {
    if (folder) FileReference::SetCurrentFolder(*folder);
  }
  KeepCurrentFolder(const KeepCurrentFolder&) = delete;
  KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;
  // The scope's own change of folder stays.
  void Release() { folder = nullptr; }

 private:
  SmartRef<FileReference> folder;
};

void AppAlert(int icon, int text) {
  String message;
  GetResourceText(message, text);
  message.Alert(icon, kButtonsOK);
}

// What the name field lets through, checked again on the name itself: a pasted name bypasses the
// field's filter, and a name with a path separator or dots would make a folder outside "Projets".
bool IsAcceptedName(const String& name) {
  const TextLock chars(name);
  for (std::int32_t i = 0; i < chars.Length(); ++i) {
    const char c = chars.Chars()[i];
    const char* found = c == 0 ? nullptr : std::strchr(ProjectNameDialog::kNameFilter, c);
    if (found == nullptr || found == ProjectNameDialog::kNameFilter) return false;
  }
  return true;
}

bool RunNameDialog(DromelApp& app, String& name) {
  SmartRef<ProjectNameDialog> dialog(new ProjectNameDialog(&name));
  app.AddWindow(~dialog, true);
  while (dialog->Poll()) {
  }
  if (TextView* field = dialog->GetNameField()) field->UpdateFromControl();
  return !dialog->WasCancelled();
}

}  // namespace

SmartRef<FileReference> ProgramFolderItem(const String& name, bool create) {
  SmartRef<FileReference> program(FileReference::ApplicationFolder());
  return SmartRef<FileReference>(new FileReference(*program, name, create));
}

void DromelApp::EnterProjectsFolder() {
  if (!gProjectsFolder) {
    String name;
    GetResourceText(name, kProjectsFolderText);
    for (int attempt = 1; attempt <= 3 && !gProjectsFolder; ++attempt) {
      try {
        SmartRef<FileReference> folder =
            attempt == 1 ? FindOrCreateFolder(TextOf(name).c_str()) : ProgramFolderItem(name, true);
        if (folder->IsFolder()) gProjectsFolder = folder;
      } catch (Exception* failure) {
        SmartRef<Exception> caught(failure);
        if (attempt == 3) caught->Report(kAlertExclamation);
      }
    }
  }
  if (gProjectsFolder) FileReference::SetCurrentFolder(*gProjectsFolder);
}

void DromelApp::RefreshProjectsMenu() {
  KeepCurrentFolder keep;
  EnterProjectsFolder();
  projectsMenu = WelcomeDialog::FillProjectList(false);
  if (projectsMenuHolder) projectsMenuHolder->ReplaceSubMenu(String("Projets"), ~projectsMenu);
}

void DromelApp::OpenProject(const String& name) {
  KeepCurrentFolder keep;
  EnterProjectsFolder();
  // A folder or lock file the system refuses to make leaves with its error, the folder as it was.
  SmartRef<FileReference> projects(FileReference::CurrentFolder());
  SmartRef<FileReference> projectFolder(new FileReference(*projects, name, true));
  SmartRef<FileReference> lockReference(
      new FileReference(gLockFileType, gPageFileType, *projectFolder, String("lockinfo"), true));

  SmartRef<File> lock;
  gFileShareMode = kFileShareReadOnly;
  try {
    lock = new File(~lockReference, kFileModeRead | kFileModeWrite);
    if (!lock->IsOpen()) lock = nullptr;
  } catch (Exception* refused) {
    SmartRef<Exception> dropped(refused);
    lock = nullptr;
  }
  gFileShareMode = kFileShareReadWrite;

  if (!lock) {
    Alert(kAlertStop, kButtonsOK, kProjectInUse);
    if (gStartupInProgress) Exception::Raise(SmartRef<Exception>(new UserCancelException));
    return;
  }
  if (IsFrontModal()) {
    // The welcome dialog (or another modal window) in front closes: the project takes its place.
    SmartRef<GenericSignal> close(new WindowCommand);
    if (SmartRef<Smart> handler = FindCommandHandler(~close)) close->Send(~handler);
  }
  try {
    CloseWindow(nullptr, kCloseAsking);
  } catch (Exception* failure) {
    // "Stop" while the page was saved: the opening ends, and the lock just taken goes with it.
    if (!IsUserCancel(failure)) throw;
    return;
  }
  // The child kept the page that was open: the old project stays open and locked.
  if (FrontWindow()) return;

  gProjectLockFile = lock;
  projectName = new String(name);
  keep.Release();
  FileReference::SetCurrentFolder(*projectFolder);
  NewDocument();
  OpenFirstPage(*projectFolder);
}

SmartRef<FileReference> DromelApp::ChooseFirstPage(FileReference& folder) {
  FileTypeList types;
  types.Append(const_cast<FileType*>(&MakeDocumentFileType()));
  const List pages = folder.ListFiles(types, false);
  SmartRef<FileReference> chosen;
  SmartRef<Time> chosenDate;
  for (std::int32_t i = 1; i <= pages.NumItems(); ++i) {
    SmartRef<FileReference> page(CastSmart<FileReference>(pages.At(i)));
    if (!page || page->IsFolder()) continue;
    String pageName;
    page->GetName(pageName);
    if (pageName == String("index.zod")) return page;
    SmartRef<Time> date(page->GetModificationDate());
    if (!chosen || *chosenDate < *date) {
      chosen = page;
      chosenDate = date;
    }
  }
  return chosen;
}

void DromelApp::OpenFirstPage(FileReference& folder) {
  SmartRef<FileReference> page;
  try {
    page = ChooseFirstPage(folder);
    if (page) OpenFile(page, false, false);
  } catch (Exception* failure) {
    // A page that cannot be read is reported (a cancel silently); the project stays open on the empty
    // page, and nothing is written over the damaged file unless the child saves.
    SmartRef<Exception> reported(failure);
    reported->Report(kAlertStop);
  }
}

void DromelApp::NewProject() {
  SmartRef<String> name(new String);
  GetResourceText(*name, kDefaultProjectText);
  for (;;) {
    if (!RunNameDialog(*this, *name)) return;
    if (name->Length() > gMaxProjectNameLength) {
      AppAlert(kAlertExclamation, kTooLongText);
      *name = String(*name, 1, gMaxProjectNameLength);
      continue;
    }
    if (name->Length() == 0) {
      AppAlert(kAlertExclamation, kEmptyText);
      GetResourceText(*name, kDefaultProjectText);
      continue;
    }
    if (!IsAcceptedName(*name)) {
      AppAlert(kAlertExclamation, kInvalidText);
      continue;
    }
    try {
      OpenProject(*name);
      RefreshProjectsMenu();
      return;
    } catch (Exception* failure) {
      // A cancel: the name was in use during the start-up, and the alert has been shown. Anything else:
      // the folder or its lock could not be made from that name.
      SmartRef<Exception> dropped(failure);
      if (!IsUserCancel(failure)) AppAlert(kAlertExclamation, kInvalidText);
    }
  }
}

SmartRef<FileReference> DromelApp::IndexPageFile(FileReference& folder, bool onlyIfNew) {
  String name;
  GetResourceText(name, kIndexText);
  if (onlyIfNew && folder.ChildExists(name, MakeDocumentFileType())) return nullptr;
  return SmartRef<FileReference>(new FileReference(MakeDocumentFileType(), GetCreator(), folder, name, true));
}

void DromelApp::CreateIndexPage(FileReference& folder) {
  SmartRef<FileReference> file = IndexPageFile(folder, true);
  if (!file) return;
  SmartRef<CMovieGroup> group(new CMovieGroup(defaultMovieBounds));
  SmartRef<Smart> page(new CShow(~group, false));
  if (SmartRef<Scribe> scribe = MakeScribe(*file, kFileModeRead | kFileModeWrite)) scribe->Write(page);
}

void DromelApp::GoToIndexPage(FileReference& folder, DromelWindow& window) {
  CreateIndexPage(folder);
  SmartRef<FileReference> file = IndexPageFile(folder, false);
  window.ReadFile(*file);
}
