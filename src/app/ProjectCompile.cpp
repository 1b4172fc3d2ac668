// The whole project at once: every page handed to its page scribe, either to bring the "HTML" folder up
// to date or to rewrite the pages so that they agree again after pages were deleted.
#include <map>
#include <string>
#include <vector>

#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Resources.h"
#include "core/Text1252.h"
#include "graphics/formats/JPEGFile.h"
#include "ui/views/DocWindow.h"
#include "web/html/PageCompiler.h"
#include "web/html/htmlElement.h"

namespace {

enum : int { kOutputFolderText = 5 };

constexpr const char* kCompileCaption = "Compilation des fichiers HTML"_cp;
constexpr const char* kSynchronizeCaption = "Synchronisation des fichiers Internet"_cp;
constexpr const char* kPageCaption = "Synchronisation : "_cp;
constexpr const char* kNothingToPublish = "Aucun fichier à publier."_cp;
constexpr const char* kCompileFailed =
    "La compilation des fichiers HTML a échoué ! Réenregistrer toutes les pages de ce projet."_cp;
constexpr const char* kSynchronizeFailed = "La synchronisation a échoué ! Réenregistrer les pages du projet."_cp;

// The compilation's flag is down again however the compilation ends.
class CompileActive {
 public:
  CompileActive() { gHtmlCompileActive = 1; }
  ~CompileActive() { gHtmlCompileActive = 0; }
  CompileActive(const CompileActive&) = delete;
  CompileActive& operator=(const CompileActive&) = delete;
};

// The page documents of the folder, by name.
std::vector<SmartRef<FileReference>> ListPages(FileReference& folder) {
  FileTypeList types;
  types.Append(const_cast<FileType*>(&MakeDocumentFileType()));
  const List listing = folder.ListFiles(types, false);
  std::vector<SmartRef<FileReference>> pages;
  for (std::int32_t i = 1; i <= listing.NumItems(); ++i) {
    SmartRef<FileReference> page(CastSmart<FileReference>(listing.At(i)));
    if (page && !page->IsFolder()) pages.push_back(page);
  }
  return pages;
}

std::string BaseName(FileReference& file) {
  String name;
  file.GetBaseNameAndType(name);
  return TextOf(name);
}

// The folder's file names compare without regard to case: web names that differ only so share files.
std::string Folded(std::string name) {
  for (char& c : name) c = ToLowerAscii(c);
  return name;
}

std::string FoldedWebName(FileReference& page) {
  String name;
  page.GetBaseNameAndType(name);
  return Folded(TextOf(SanitizeHTMLName(name)));
}

// Two pages whose web names are the same would write over each other's web files: the child is told
// which two, so that one of them can be renamed. Answers false after the alert.
bool CheckWebNames(const std::vector<SmartRef<FileReference>>& pages) {
  std::map<std::string, std::string> seen;
  for (const SmartRef<FileReference>& page : pages) {
    const auto [place, added] = seen.emplace(FoldedWebName(*page), BaseName(*page));
    if (added) continue;
    const std::string text = "Les pages « "_cp + place->second + " » et « "_cp + BaseName(*page) +
                             " » auraient le même nom sur Internet. Renomme l'une des deux avant de recommencer."_cp;
    Alert(kAlertExclamation, kButtonsOK, text.c_str());
    return false;
  }
  return true;
}

// The web files of pages no longer in the project: a compiled page's ".htm" holds the list of what its
// compilation wrote, so those files and the page file go; files no page wrote stay.
void RemoveDeletedPages(FileReference& output, const std::vector<SmartRef<FileReference>>& pages) {
  std::map<std::string, bool> current;
  for (const SmartRef<FileReference>& page : pages) current[FoldedWebName(*page)] = true;
  FileTypeList types;
  types.Append(~gHTMLFileType);
  const List listing = output.ListFiles(types, false);
  for (std::int32_t i = 1; i <= listing.NumItems(); ++i) {
    auto* file = CastSmart<FileReference>(listing.At(i));
    if (file == nullptr || file->IsFolder()) continue;
    if (current.count(Folded(BaseName(*file))) != 0) continue;
    String name;
    file->GetBaseNameAndType(name);
    const SmartRef<FileReference> compiled = RemoveStaleHTMLFiles(name, SmartRef<FileReference>(&output));
    if (!compiled) continue;
    String fileName;
    compiled->GetName(fileName);
    output.DeleteChild(fileName);
  }
}

// The "HTML" folder of the project, or null when it is not there.
SmartRef<FileReference> FindOutputFolder(FileReference& project) {
  try {
    SmartRef<FileReference> output = new FileReference(project, ResourceText(kOutputFolderText), false);
    if (output->IsFolder()) return output;
  } catch (Exception* missing) {
    const SmartRef<Exception> dropped(missing);
    gLastException = nullptr;
  }
  return nullptr;
}

}  // namespace

bool DromelApp::CompileHtml() {
  const SmartRef<DocWindow> front(CastSmart<DocWindow>(~FrontWindow()));
  if (front && front->CanClose(kCloseSaving) && front->GetScribe()) front->Save(1);
  const SmartRef<FileReference> project(FileReference::CurrentFolder());
  const std::vector<SmartRef<FileReference>> pages = ListPages(*project);
  SmartRef<FileReference> frontPage;
  if (DromelScribe* scribe = PageScribeOf(~front)) frontPage = scribe->GetPageFile();
  auto* frontPageWindow = CastSmart<DromelWindow>(~front);

  const CompileActive active;
  const SmartRef<FileReference> output = FindOutputFolder(*project);
  if (!output) {
    Alert(kAlertExclamation, kButtonsOK, kNothingToPublish);
    return false;
  }
  if (!CheckWebNames(pages)) return false;
  try {
    Progress progress(static_cast<std::uint32_t>(2 * pages.size() + 1), kCompileCaption);
    Progress::Enable(true);
    progress.Step();
    for (const SmartRef<FileReference>& page : pages) {
      const std::string caption = kPageCaption + BaseName(*page);
      progress.SetCaption(caption.c_str());
      if (frontPage && frontPageWindow != nullptr && *page == *frontPage) {
        // The page on show is what the child sees: it is compiled from the window, not read again.
        frontPageWindow->Store();
        continue;
      }
      const SmartRef<Scribe> scribe = MakeScribe(*page, 3);
      if (!scribe) continue;
      SmartRef<Smart> object;
      scribe->Read(&object);
      progress.Step();
      if (auto* pageScribe = CastSmart<DromelScribe>(~scribe)) {
        pageScribe->CompileIfOutOfDate(object);
      } else {
        scribe->Write(object);
      }
    }
    RemoveDeletedPages(*output, pages);
  } catch (Exception* failure) {
    const SmartRef<Exception> reported(failure);
    gLastException = nullptr;
    Alert(kAlertExclamation, kButtonsOK, kCompileFailed);
    return false;
  }
  return true;
}

bool DromelApp::Synchronize() {
  const SmartRef<FileReference> project(FileReference::CurrentFolder());
  const std::vector<SmartRef<FileReference>> pages = ListPages(*project);
  const SmartRef<DromelWindow> window(CastSmart<DromelWindow>(~FrontWindow()));
  DromelToolPalette* palette = window ? window->GetToolPalette() : nullptr;
  const std::int16_t toolKind = palette ? palette->GetToolKind() : 0;
  // No tool may hold on to the page while every page is rewritten: the first page, on no tool.
  if (palette != nullptr) {
    palette->CreateTool(DromelToolPalette::kFirstPanelKind);
    palette->CreateTool(DromelToolPalette::kFirstPageKind);
  }
  std::string frontName;
  bool hadFrontPage = false;
  if (DromelScribe* scribe = PageScribeOf(~window)) {
    if (scribe->GetPageFile()) {
      frontName = BaseName(*scribe->GetPageFile());
      hadFrontPage = true;
    }
  }
  bool done = true;
  try {
    gDromelApp->NewDocument();
    Progress progress(static_cast<std::uint32_t>(pages.size()), kSynchronizeCaption);
    Progress::Enable(true);
    for (const SmartRef<FileReference>& page : pages) {
      const std::string caption = kPageCaption + BaseName(*page);
      progress.SetCaption(caption.c_str());
      const SmartRef<Scribe> scribe = MakeScribe(*page, 3);
      if (!scribe) continue;
      SmartRef<Smart> object;
      scribe->Read(&object);
      progress.Step();
      scribe->Write(object);
    }
  } catch (Exception* failure) {
    const SmartRef<Exception> reported(failure);
    gLastException = nullptr;
    Alert(kAlertExclamation, kButtonsOK, kSynchronizeFailed);
    done = false;
  }
  if (done && hadFrontPage) {
    try {
      for (const SmartRef<FileReference>& page : pages) {
        if (BaseName(*page) == frontName) OpenFile(page, false, false);
      }
    } catch (Exception* failure) {
      const SmartRef<Exception> reported(failure);
      gLastException = nullptr;
      Alert(kAlertExclamation, kButtonsOK, kSynchronizeFailed);
      done = false;
    }
  }
  // The palette's page of buttons again (kinds 3 to 7 stand on page 0, ...), then its tool.
  if (palette != nullptr && toolKind > 0) {
    palette->CreateTool(DromelToolPalette::kFirstPanelKind + (toolKind - DromelToolPalette::kFirstPageKind) / 5);
    palette->CreateTool(toolKind);
  }
  return done;
}
