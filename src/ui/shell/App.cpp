#include "ui/shell/App.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/ObjectReference.h"
#include "ui/views/DocWindow.h"
#include "ui/shell/Tool.h"
#include "ui/views/Window.h"

SmartRef<App> gApplication;
bool gAppQuitting = false;

namespace {
MainWindowRecord* gModuleRecord = nullptr;
}  // namespace

namespace {
constexpr SourceName kAppSource("APP");
constexpr SourceName kAppHeader("App");
}  // namespace

SMART_DEFINE_ABSTRACT(FormatPicker, "FormatPicker")
SMART_DEFINE_ABSTRACT(App, "App", FormatPicker, Smart)

void FormatPicker::ConvertForOpen(SmartRef<Smart>* out, Smart*) {
  if (out) *out = nullptr;
}

String* AppInfo::JoinNameVersion() const {
  auto* joined = new String(name);
  joined->Append(" ");
  joined->Append(version);
  return joined;
}

void App::SetModuleHandle(MainWindowRecord* record) { gModuleRecord = record; }

void App::InstallMenuBar() { menuBar->Install(); }

void App::UpdateMenus() { menuBar->Update(*this); }

SmartRef<Clipboard> App::GetClipboard() {
  if (!clipboard) clipboard = new Clipboard();
  return clipboard;
}

App::App(const AppCreation& creation)
    : osApp(gModuleRecord),
      creator(creation.creator),
      documentIndex(creation.documentIndex),
      menuBar(creation.menuBar ? creation.menuBar : SmartRef<MenuBar>(new MenuBar())),
      windows(&Window::classInfo) {
  if (creation.info) {
    info.word = creation.info->word;
    info.name = creation.info->name;
    info.version = creation.info->version;
  }
}

App::~App() { ReleaseWindows(); }

void App::ReleaseWindows() {
  for (std::int32_t i = windows.NumItems(); i >= 1; --i) {
    if (auto* window = CastSmart<Window>(windows.At(i))) window->RemoveSink(&sink);
  }
  windows->RemoveAll();
}

SmartRef<Scribe> App::MakeScribe(FileReference& file, int mode) {
  if (!documentIndex) return nullptr;
  SmartRef<File> opened(new File(&file, mode));
  return SmartRef<Scribe>(new ObjectFile(documentIndex, SmartRef<Stream>(~opened)));
}

SmartRef<FileReference> App::ChooseFile(int mode) {
  if (!documentIndex) return nullptr;
  // A copy is saved to a new file as much as a save-as is.
  if (mode == kSaveDocument || mode == kSaveDocumentAs || mode == kSaveDocumentCopy) {
    return new FileReference(FileReference::SaveDialog{}, *CHECK_NOT_NULL(documentIndex->GetFileType()));
  }
  return new FileReference(FileReference::OpenDialog{}, GetFileTypes(mode));
}

List App::GetFileTypes(int) {
  List types(&FileType::classInfo);
  // A copy: the format's own type may be a static object that no list may count.
  if (documentIndex && documentIndex->GetFileType())
    types.AppendRef(SmartRef<FileType>(new FileType(*documentIndex->GetFileType())));
  return types;
}

void App::OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe) {
  SmartRef<ObjectReference> reference(new SimpleReference(std::move(data)));
  SmartRef<DocWindow> opened(new DocWindow(~reference, nullptr, nullptr, ~scribe, false));
  AddWindow(~opened, true);
  if (window) *window = SmartRef<Smart>(~opened);
}

void App::OpenFile(SmartRef<FileReference> file, bool replace, bool readOnly) {
  if (!CanOpen() || !file) return;
  SmartRef<Scribe> scribe = MakeScribe(*file, readOnly ? kFileModeRead : kFileModeRead | kFileModeWrite);
  if (!scribe) return;
  SmartRef<Smart> data;
  scribe->Read(&data);
  if (!data) return;
  SmartRef<Smart> window;
  // A read-only document gets no scribe, so that its window cannot save back.
  OpenDocument(&window, data, readOnly ? nullptr : scribe);
  if (replace) ReportError("Not implemented.", kAppSource.Line(309));
}

void App::DoOpen(int mode) {
  if (!CanOpen()) return;
  OpenFile(ChooseFile(mode), false, mode == 3);
}

bool App::Quit(int kind) {
  gAppQuitting = true;
  for (std::int32_t i = windows.NumItems(); i >= 1; --i) {
    SmartRef<Window> window(CastSmart<Window>(windows.At(i)));
    if (window && !window->CanClose(kind)) return false;
  }
  flags &= static_cast<std::uint8_t>(~kRunning);
  try {
    SaveCurrentPreview();
  } catch (Exception* exception) {
    // Quitting goes on: a preview that cannot be saved is made again next time.
    SmartRef<Exception> dropped(exception);
  }
  return true;
}

void App::ShowAbout() {
  SmartRef<String> text(info.JoinNameVersion());
  text->Alert(kAlertInformation, kButtonsOK);
}

void App::DocumentOpened(Window*, SmartRef<Smart>) {}

void App::SetTool(Tool* newTool) { tool = newTool; }

SmartRef<Tool> App::GetTool() {
  if (!tool) tool = new Tool();
  return tool;
}

int AppCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<App>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void AppCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kAppHeader.Line(330));
  SmartRef<Smart> held(object);
  CastSmart<App>(watcher)->SetTool(CastSmart<Tool>(~held));
}
