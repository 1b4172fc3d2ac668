#include "app/DromelApp.h"

#include <string>

#include "app/DromelResources.h"
#include "app/StartPanel.h"
#include "app/Welcome.h"
#include "app/menus/AppMenus.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/SourcePlace.h"
#include "core/Time.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/CurrentStagePane.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "editor/overview/COverview.h"
#include "engine/EngineOptions.h"
#include "engine/EngineState.h"
#include "engine/memory/CMemory.h"
#include "engine/page/CShow.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/BMPFile.h"
#include "graphics/formats/ImageResource.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "platform/kernel/System.h"
#include "sound/SoundChannel.h"
#include "ui/controls/GraphicButton.h"
#include "ui/shell/MessagePump.h"
#include "ui/views/DocWindow.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"
#include "ui/UiState.h"

SMART_DEFINE_ABSTRACT(DromelApp, "DromelApp", CTumbletApp)

const AppInfo gDromelAppInfo{0x00010001, String("Quillory"), String("v1.1C16")};
const FileCreatorType gPageFileType("Quillory 1.0", FourCharCode("Qpag"));

SmartRef<DromelApp> gDromelApp;
SmartRef<Window> gDeskWindow;
std::uint8_t gStartupDone = 0;
std::uint8_t gStartupInProgress = 0;

namespace {

constexpr SourceName kSource("DROMEL/DromelApp");
constexpr int kSplashPicture = 422;
constexpr int kMissingFolderText = 2;  // of the stock set: "Impossible de trouver le dossier ..."
constexpr std::uint32_t kApplicationOptions = 0x0C;
// The frame overview shows pictures at one eighth of the page.
constexpr std::int16_t kOverviewScale = 8;
// The splash repaints while it waits; between two looks at the clock the program need not spin.
constexpr DWORD kSplashNap = 20;

AppCreationRecord MakeCreationRecord() {
  SmartRef<Window> tools(new PaintToolsWindow(false, false, true));
  AppCreationRecord record{DromelApp::BuildMenuBar(), nullptr, gPageFileType, tools, nullptr, &gDromelAppInfo};
  return record;
}

// The front window when it is a page window.
DromelWindow* FrontPageWindow(App& app) { return CastSmart<DromelWindow>(~app.FrontWindow()); }

// Clears the start-up's flag however the welcome ends.
class StartupInProgress {
 public:
  StartupInProgress() { gStartupInProgress = 1; }
  ~StartupInProgress() { gStartupInProgress = 0; }
  StartupInProgress(const StartupInProgress&) = delete;
  StartupInProgress& operator=(const StartupInProgress&) = delete;
};

}  // namespace

bool CheckProgramFolder() {
  SmartRef<FileReference> program(FileReference::ApplicationFolder());
  const std::string path = std::string(program->GetPathText()) + "\\Data";
  const DWORD attributes = GetFileAttributesA(path.c_str());
  // The answer is all that counts: the error code of a missing folder must not stay for the next check.
  SetLastError(0);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  char text[256];
  stockResources.GetString(text, kMissingFolderText, "Data");
  Alert(kAlertStop, kButtonsOK, text);
  return false;
}

SmartRef<App> CreateDromelApp() {
  gEngineOptions = kApplicationOptions;
  gOverviewScale = kOverviewScale;
  SmartRef<DromelApp> app(new DromelApp);
  gTumbletApp = SmartRef<CTumbletApp>(~app);
  gDromelApp = app;
  gCHAApp = SmartRef<CHAApp>(~app);
  return SmartRef<App>(~app);
}

void ReleaseDromelApp() {
  gProjectLockFile = nullptr;
  // The stage pane pressed last outlives its window otherwise, and its player's chores with it.
  gCurrentStagePane = nullptr;
  gTumbletApp = nullptr;
  gCHAApp = nullptr;
  gDromelApp = nullptr;
  gClickSound = nullptr;
}

DromelApp::DromelApp() : CTumbletApp(MakeCreationRecord()) {
  // Before the bar is installed: a menu once built shows no item added to it later.
  if (gCategoryMenu) FillCategoryMenu(*gCategoryMenu);
  projectsMenuHolder = gFileMenu;
  gDeskWindow = new Window(nullptr, kFrameFloatingBorder, false, false, Window::kDefaultWidth, Window::kDefaultHeight);
  startPanel = BuildStartPanel(~gDeskWindow);
  gDeskWindow->FitSize(true);
  // Later windows are placed and cascaded to the right of the desk.
  LFWDecorator& decorator = LFWDecorator::Get();
  decorator.Place(*gDeskWindow, LFWDecorator::kTopOrLeft, LFWDecorator::kTopOrLeft);
  const Rect area = decorator.GetArea();
  decorator.SetArea(area.left + gDeskWindow->GetBounds().Width() + 5, 2 * area.top + 1, area.right, area.bottom);
}

DromelApp::~DromelApp() {
  // The desk and the file menu go with the application (the menu with the menu bar that holds it), not
  // with the program's statics, whose order of destruction is not the program's to choose.
  gDeskWindow = nullptr;
  gFileMenu = nullptr;
  gCategoryMenu = nullptr;
}

SmartRef<Scribe> DromelApp::MakeScribe(FileReference& file, int mode) {
  // The page in front already writes that file: a second scribe over it is not wanted.
  if (file.HasPath() && mode != kFileModeRead) {
    if (DromelWindow* front = FrontPageWindow(*this)) {
      if (auto* pageScribe = CastSmart<DromelScribe>(~front->GetScribe())) {
        if (SmartRef<FileReference> shown = pageScribe->GetPageFile(); shown && *shown == file) return nullptr;
      }
    }
  }
  SmartRef<Scribe> scribe = CHAApp::MakeScribe(file, mode);
  if (!gStartupDone) {
    // A document opened before the start-up: its folder is the project, and the start-up never runs.
    if (file.HasPath()) {
      SmartRef<FileReference> folder(file.GetParent());
      if (folder) FileReference::SetCurrentFolder(*folder);
    }
    gStartupDone = 1;
  }
  // Every page written through a page window can also be compiled to its web files.
  if (!scribe || !scribe->IsWritable()) return scribe;
  return SmartRef<Scribe>(new DromelScribe(~scribe, &file));
}

void DromelApp::NewDocument() {
  if (!gStartupDone) {
    // A start-up that ends without a project leaves the program running with its menus, the desk
    // hidden: the child can still open or make a project from "Projets". Its failure is shown here, as
    // the message loop would show it, since the framework's start ends the program on any exception.
    try {
      Startup();
    } catch (Exception* failure) {
      SmartRef<Exception> reported(failure);
      reported->Report(kAlertStop);
      return;
    }
    AddWindow(~gDeskWindow, true);
    return;
  }
  CTumbletApp::NewDocument();
}

void DromelApp::Startup() {
  gStartupDone = 1;
  EnterProjectsFolder();
  RefreshProjectsMenu();
  StartupInProgress inProgress;
  ShowSplash();
  RunWelcome();
}

void DromelApp::ShowSplash() {
  // "Data" must be there: without it the program has none of its pictures, and says so.
  SmartRef<FileReference> data = ProgramFolderItem(String("Data"), false);
  if (!data->ChildExists(String("1422"), *BMPFile::fileType)) return;
  SmartRef<Dialog> splash(new Dialog(kFrameModalPlain));
  SmartRef<BitMap> picture = gAppResources.GetImageResource(kSplashPicture)->Get();
  if (!HasPixels(picture)) AssertFailed("image.Valid()", kSource.Line(727));
  Rect bounds;
  picture->GetBounds(&bounds);
  bounds.Offset(-bounds.left, -bounds.top);
  splash->AddSubview(new GraphicButton(~splash, bounds, ~picture, nullptr, nullptr));
  FitDialogToViews(*splash);
  Rect placed = splash->GetBounds();
  placed.CenterOn(GetMainClientRect());
  splash->SetGlobalBounds(placed);
  splash->Open(true);
  const Time until = Time(Time::Now{}) + TimePeriod(0, 0, 5);
  splash->Poll();
  // Only paints: a click on the splash must not reach the windows under it.
  while (!(until < Time(Time::Now{}))) {
    PumpPaintMessages();
    Sleep(kSplashNap);
  }
  splash->Close();
}

void DromelApp::RunWelcome() {
  SmartRef<WelcomeDialog> welcome(new WelcomeDialog);
  AddWindow(~welcome, true);
  while (welcome->Poll()) {
  }
  if (welcome->WasCancelled() || !projectName) Exception::Raise(SmartRef<Exception>(new UserCancelException));
}

void DromelApp::StartButtonPressed() {
  if (FrontWindow()) return;
  try {
    PlaySound(~DromelToolPalette::GetClickSound());
  } catch (Exception* failure) {
    // The missing sound has been shown; the page still comes.
    SmartRef<Exception> reported(failure);
  }
  NewDocument();
}

void DromelApp::DoOpen(int mode) {
  if (DromelWindow* front = FrontPageWindow(*this)) {
    if (!front->CanClose(kCloseAsking)) return;
  }
  App::DoOpen(mode);
}

void DromelApp::OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe) {
  SmartRef<DromelWindow> front(FrontPageWindow(*this));
  if (!front) {
    CHAApp::OpenDocument(window, data, scribe);
    return;
  }
  if (window) *window = nullptr;
  if (!front->CanClose(kCloseAsking)) return;
  SmartRef<CShow> page = MakeShow(data);
  if (!page) return;
  // A page made around other data is new: it has no file of its own yet.
  if (static_cast<Smart*>(~page) != ~data) scribe = nullptr;
  SmartRef<ObjectReference> reference(new SimpleReference(SmartRef<Smart>(~page)));
  front->SetData(~reference, ~scribe);
  if (window) *window = SmartRef<Smart>(~front);
}

SmartRef<CShow> DromelApp::MakeShow(SmartRef<Smart> object) {
  SmartRef<CShow> page = CHAApp::MakeShow(std::move(object));
  // A page shows its frames as the child moves through them, never by itself.
  if (page) page->SetFrameRate(0);
  return page;
}

SmartRef<DocWindow> DromelApp::MakeDocWindow(CShow* page, Scribe* scribe) {
  SmartRef<ObjectReference> reference(new SimpleReference(SmartRef<Smart>(page)));
  return SmartRef<DocWindow>(new DromelWindow(~reference, nullptr, scribe, ~startPanel));
}

SmartRef<String> DromelApp::GetDocumentFolderName() {
  SmartRef<String> name(new String);
  GetResourceText(*name, 0);
  return name;
}

namespace dromelapp_testing {
void Reset() {
  // The tools, the paints and the start sound's channel hold on to the application's windows and chores.
  gToolsDirectory = nullptr;
  gPaintPalette = nullptr;
  gBorderSizeTool = nullptr;
  gPaintState = nullptr;
  gCurrentSoundChannel = nullptr;
  ReleaseDromelApp();
  gProjectsFolder = nullptr;
  gStartupDone = 0;
  gStartupInProgress = 0;
  gCurrentCategory = String();
  gPageButtonChosen = 0;
  DestroyApplication();
  ResetUiState();
  ResetEngineState();
}
}  // namespace dromelapp_testing
