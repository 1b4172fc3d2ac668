#include "engine/app/CHAApp.h"

#include "core/Archive.h"
#include "core/Exception.h"
#include "core/Format.h"
#include "core/ObjectReference.h"
#include "core/Resources.h"
#include "core/SourcePlace.h"
#include "engine/EngineOptions.h"
#include "engine/Seams.h"
#include "engine/memory/CMemory.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "sound/SoundChannel.h"
#include "ui/shell/Tool.h"
#include "ui/views/DocWindow.h"
#include "ui/views/LFWDecorator.h"

SMART_DEFINE_ABSTRACT(CHAApp, "CHAApp", App, NumberCommandHandler)

SmartRef<CHAApp> gCHAApp;

namespace {

constexpr SourceName kSource("ORVANEL/PLAYBACK/CHAApp");

AppCreation MakeAppCreation(const AppCreationRecord& record) {
  AppCreation creation{record.creator, GetGenericTypeIndex(), record.info, record.menuBar};
  return creation;
}

// The play pane in the view or under it, the first one met.
CPanePlay* FindPlayPane(View* view) {
  if (view == nullptr) return nullptr;
  if (CPanePlay* pane = CastSmart<CPanePlay>(view)) return pane;
  for (std::int32_t i = 1; i <= view->GetSubviews().NumItems(); ++i) {
    if (CPanePlay* pane = FindPlayPane(CastSmart<View>(view->GetSubviews().At(i)))) return pane;
  }
  return nullptr;
}

// The front window, searched from the last added, that edits a document.
DocWindow* LastDocWindow(const List& windows) {
  for (std::int32_t i = windows.NumItems(); i >= 1; --i) {
    if (DocWindow* window = CastSmart<DocWindow>(windows.At(i))) return window;
  }
  return nullptr;
}

// Text 191: the file is damaged or of a format this program no longer reads.
void ShowDamagedFile() {
  char text[256];
  gDocumentMessages.GetString(text, static_cast<int>(kDamagedFileText) - gDocumentMessages.GetFirst());
  String(text).Alert(kAlertStop, kButtonsOK);
}

}  // namespace

CHAApp::CHAApp(const AppCreationRecord& record)
    : App(MakeAppCreation(record)),
      secondWindow(record.secondWindow),
      toolsWindow(record.toolsWindow),
      auxObject(record.auxObject) {
  if (!CMemory::CheckStartupMemory()) ThrowException(new UserCancelException());
  const ToolHooks& tools = GetToolHooks();
  if (tools.makeFirstTool) SetTool(~tools.makeFirstTool());
  activePane = nullptr;
  if (toolsWindow) AddWindow(~toolsWindow, false);
  if (secondWindow) AddWindow(~secondWindow, true);
  idler = new PeriodicChore(kIdlePeriod);
  idler->ToggleClient(this);
}

CHAApp::~CHAApp() {
  if (idler) {
    idler->Stop();
    idler->ToggleClient(this);
  }
}

// ---- The application table ----

void CHAApp::NewDocument() {
  SmartRef<CMovieGroup> group(new CMovieGroup(defaultMovieBounds));
  SmartRef<Smart> page(new CShow(~group, false));
  OpenDocument(nullptr, page, nullptr);
}

SmartRef<CShow> CHAApp::MakeShow(SmartRef<Smart> object) {
  if (CShow* show = CastSmart<CShow>(~object)) return SmartRef<CShow>(show);
  if (!object || !ConvertSmart(&object, &CMovie::classInfo)) return nullptr;
  CMovie* movie = CastSmart<CMovie>(~object);
  if (movie == nullptr) return nullptr;
  return SmartRef<CShow>(new CShow(movie, false));
}

void CHAApp::OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe) {
  SmartRef<CShow> show = MakeShow(data);
  if (!show) {
    // Nothing this application can show: the file is as good as damaged.
    ShowDamagedFile();
    if (window) *window = nullptr;
    return;
  }
  // A picture, sound or text wrapped in a new page must not be saved back over its file.
  if (static_cast<Smart*>(~show) != ~data) scribe = nullptr;
  SmartRef<DocWindow> opened = MakeDocWindow(~show, ~scribe);
  DocumentOpened(~opened, SmartRef<Smart>(~show));
  AddWindow(~opened, true);
  if (window) *window = SmartRef<Smart>(~opened);
}

SmartRef<DocWindow> CHAApp::MakeDocWindow(CShow* show, Scribe* scribe) {
  SmartRef<ObjectReference> reference(new SimpleReference(SmartRef<Smart>(show)));
  return SmartRef<DocWindow>(new DocWindow(~reference, nullptr, nullptr, scribe, false));
}

void CHAApp::DocumentOpened(Window* window, SmartRef<Smart> data) {
  if (window == nullptr) return;
  if (!DocumentsFillMainArea()) {
    LFWDecorator::Get().Cascade(*window);
    return;
  }
  Rect area;
  LFWDecorator::Get().AlignRect(area, LFWDecorator::kFill, LFWDecorator::kFill, false);
  window->SetGlobalBounds(area);
  CShow* show = CastSmart<CShow>(~data);
  if (show == nullptr || show->GetMovieGroup() == nullptr) return;
  CMovie* group = show->GetMovieGroup();
  Rect centred = group->GetBounds();
  const Point before{centred.left, centred.top};
  centred.CenterOn(area);
  if (centred.left != before.x || centred.top != before.y) {
    group->OffsetFrames(-1, centred.left - before.x, centred.top - before.y);
  }
}

void CHAApp::SetTool(Tool* tool) {
  const ToolHooks& tools = GetToolHooks();
  // The tools window holds the current tool once it exists; before that the application keeps it.
  if (tools.setTool && tools.getTool && tools.getTool()) {
    tools.setTool(tool);
    return;
  }
  App::SetTool(tool);
  if (tools.setTool) tools.setTool(tool);
}

SmartRef<Tool> CHAApp::GetTool() {
  const ToolHooks& tools = GetToolHooks();
  if (tools.getTool) {
    if (SmartRef<Tool> tool = tools.getTool()) return tool;
  }
  return App::GetTool();
}

// ---- Numbered commands ----

bool CHAApp::ToggleWindow(Window* window, bool flag) {
  if (const auto toggle = GetAppEditorHooks().toggleWindow) return toggle(window, flag);
  if (flag) window->Show(!window->IsVisible());
  return window->IsVisible();
}

int CHAApp::WindowStatus(Window* window) {
  if (window == nullptr) return kCommandDisabled;
  return ToggleWindow(window, false) ? kCommandChecked : kCommandEnabled;
}

int CHAApp::GetNumberCommandStatus(std::int32_t number) {
  switch (number) {
    case cmdOpen:
    case cmdOpenAgain:
      return kCommandDisabled;
    case cmdNothing:
    case cmdNothingToo:
      return kCommandEnabled;
    case cmdSoundOn:
      return gSoundMuted ? kCommandEnabled : kCommandChecked;
    case cmdSecondWindow:
      return WindowStatus(~secondWindow);
    case cmdToolsWindow:
      return WindowStatus(~toolsWindow);
    case cmdToolSounds:
      return (gEngineOptions & kOptionNoHintSounds) ? kCommandEnabled : kCommandChecked;
    default:
      return kCommandDisabled;
  }
}

void CHAApp::HandleNumberCommand(std::int32_t number, void*) {
  switch (number) {
    case cmdOpen:
    case cmdOpenAgain:
      DoOpen(0);
      break;
    case cmdSoundOn:
      gSoundMuted = !gSoundMuted;
      break;
    case cmdSecondWindow:
      if (secondWindow) ToggleWindow(~secondWindow, true);
      break;
    case cmdToolsWindow:
      if (toolsWindow) ToggleWindow(~toolsWindow, true);
      break;
    case cmdToolSounds:
      gEngineOptions ^= kOptionNoHintSounds;
      break;
    default:
      break;
  }
}

// ---- Panes and pages ----

void CHAApp::SetActivePane(View* pane) {
  if (~activePane == pane) return;
  activePane = pane;
  NotifyWindows();
}

void CHAApp::ClearActivePane(View* pane) {
  if (pane == nullptr || ~activePane != pane) return;
  activePane = nullptr;
  NotifyWindows();
}

bool CHAApp::CheckNotImplemented() {
  ReportError("Not implemented.", kSource.Line(0));
  return true;
}

bool CHAApp::ConfirmLeaveDocument() {
  DocWindow* window = LastDocWindow(GetWindows());
  return window == nullptr || window->CanClose(2);
}

void CHAApp::ImportFile() {
  const AppEditorHooks& hooks = GetAppEditorHooks();
  View* pane = ~activePane;
  if (pane == nullptr || !hooks.isStagePane || !hooks.importInto || !hooks.isStagePane(pane)) {
    DoOpen(0);
    return;
  }
  SmartRef<FileReference> file = ChooseFile(3);
  if (!file) return;
  String name;
  file->GetBaseNameAndType(name);
  hooks.importInto(pane, *file, name);
}

void CHAApp::IdlerFired(Chore* chore) {
  if (chore != static_cast<Chore*>(~idler)) AssertFailed("~chore == ~idler", kSource.Line(0));
  Idle();
}

void CHAApp::Idle() {
  CPanePlay* pane = CastSmart<CPanePlay>(~activePane);
  if (pane == nullptr || pane->GetPlayer() == nullptr) return;
  SmartRef<Smart> object;
  const std::int32_t kind = pane->GetPlayer()->TakeRequest(&object);
  if (kind != CPlayer::kOpenFileRequest) return;
  FileReference* file = CastSmart<FileReference>(~object);
  if (file == nullptr) return;
  try {
    SmartRef<FileReference> copy(new FileReference(*file));
    OpenFileInActivePane(~copy);
  } catch (Exception* exception) {
    SmartRef<Exception> dropped(exception);
    ShowDamagedFile();
  }
}

void CHAApp::OpenFileInActivePane(FileReference* file) {
  if (!activePane) AssertFailed("~activePane != NULL", kSource.Line(0));
  if (file == nullptr) AssertFailed("~file != NULL", kSource.Line(0));
  DocWindow* window = CHECK_NOT_NULL(CastSmart<DocWindow>(~FrontWindow()));
  const SmartRef<View> oldPane = activePane;
  SmartRef<Scribe> scribe = MakeScribe(*file, kFileModeRead | kFileModeWrite);
  if (!scribe) return;
  SmartRef<Smart> data;
  scribe->Read(&data);
  CShow* show = CastSmart<CShow>(~data);
  if (show == nullptr) {
    // A linked file that is no page: the current page stays, and the user is told.
    ThrowDamagedFile(__FILE__, __LINE__);
  }
  SmartRef<ObjectReference> reference(new SimpleReference(data));
  window->SetData(~reference, ~scribe);
  // A page window that is not laid over the main area takes the size of the page it now shows.
  if (!DocumentsFillMainArea()) window->FitSize(true);
  // The window's new pane becomes the active one when it is activated; until then it is found here, so
  // that the playback goes on in it.
  if (~activePane == ~oldPane || !activePane) {
    if (CPanePlay* newPane = FindPlayPane(~window->GetContentView())) SetActivePane(newPane);
  }
  CPanePlay* before = CastSmart<CPanePlay>(~oldPane);
  CPanePlay* after = CastSmart<CPanePlay>(~activePane);
  if (before == nullptr || after == nullptr || before == after) return;
  CPlayer* oldPlayer = before->GetPlayer();
  if (oldPlayer != nullptr && oldPlayer->GetPlaybackChore() != nullptr && after->GetPlayer() != nullptr) {
    after->GetPlayer()->ContinueFrom(SmartRef<CPlayer>(oldPlayer));
  }
}
