// The application's entry points, through which the message layer reaches it.
#include "core/Exception.h"
#include "core/Resources.h"
#include "ui/shell/App.h"
#include "ui/views/DocWindow.h"
#include "ui/shell/Tool.h"
#include "ui/views/Window.h"
#include "ui/Seams.h"

namespace {
// The entry points that need the application raise the null-reference check without one.
App& RequireApplication() { return *gApplication; }
}  // namespace

namespace {
bool gInternetStarted = false;
}  // namespace

SmartRef<App> CreateApplication(ApplicationFactory factory, MainWindowRecord* record) {
  Win32ErrorException::Install();
  App::SetModuleHandle(record);
  Resources::SetOSApp(record);
  SetMainWindowInfo(record);
  if (GetInternetHooks().startup) {
    GetInternetHooks().startup();
    gInternetStarted = true;
  }
  gApplication = factory ? factory() : nullptr;
  if (!gApplication) return nullptr;
  gApplication->InstallMenuBar();
  Window::SetWindowManager(~gApplication);
  DocWindow::SetApplication(~gApplication);
  return gApplication;
}

void DestroyApplication() {
  // Stopped once for each start: the program's end and a test's clean-up may both come here.
  if (gInternetStarted && GetInternetHooks().shutdown) {
    gInternetStarted = false;
    GetInternetHooks().shutdown();
  }
  if (!gApplication) return;
  // The undo item belongs to the application's menus, which go with it; the kept clipboard object goes
  // while the drawing layer it may hold pictures of still lives.
  Window::SetUndoMenu(nullptr);
  gKeptScrap = nullptr;
  Window::SetWindowManager(nullptr);
  DocWindow::SetApplication(nullptr);
  gApplication->ReleaseWindows();
  gApplication = nullptr;
}

void StartApplication(bool openDocument) {
  if (openDocument) OpenOrNewDocument(nullptr, false);
}

void OpenOrNewDocument(const char* path, bool replace) {
  App& app = RequireApplication();
  if (path) {
    app.OpenFile(new FileReference(path), replace, false);
  } else {
    app.NewDocument();
  }
}

void QuitApplication(int kind) {
  if (gApplication) gApplication->Quit(kind);
}

void ShowAboutEvent() {
  if (gApplication) gApplication->ShowAbout();
}

void AppActivatedEvent(WPARAM active) {
  if (gApplication) gApplication->SetActive(active != 0);
}

bool WindowActivatedEvent(HWND window) {
  if (!gApplication) return false;
  SmartRef<Window> activated = Window::FromHandle(window);
  return activated && gApplication->ActivateWindow(~activated);
}

bool IsApplicationRunning() { return gApplication && gApplication->IsRunning(); }

void CloseWindowEvent(HWND window, int kind) {
  App& app = RequireApplication();
  HWND closing = window ? window : WindowFrame::FrontHandle(nullptr, true);
  SmartRef<Window> linked = Window::FromHandle(closing);
  // A handle without a window closes nothing (CloseWindow of null would close the front window).
  if (linked) app.CloseWindow(~linked, kind);
}

void PaintWindowEvent(HWND window) { Window::PaintNative(window); }

void WindowResizedEvent(HWND window) {
  SmartRef<Window> resized = Window::FromHandle(window);
  resized->NativeResized();
}

void KeyEvent(int key, std::uint32_t modifiers) {
  App& app = RequireApplication();
  SmartRef<Window> front = app.FrontWindow();
  if (front && front->KeyDown(key, static_cast<std::int32_t>(modifiers))) return;
  app.HandleKey(key, modifiers);
}

void MouseDownEvent(MouseEventRecord record) {
  App& app = RequireApplication();
  if (record.window == nullptr) return;
  SmartRef<Tool> tool = app.GetTool();
  SmartRef<Window> window = Window::FromHandle(record.window);
  const auto modifiers = static_cast<std::int32_t>(record.modifiers);
  tool->MouseMoved(record.x, record.y, modifiers, true, ~window);
  tool->MouseDown(record.x, record.y, modifiers, record.clicks, ~window);
}

void MouseEvent(MouseEventRecord record) {
  App& app = RequireApplication();
  if (record.window == nullptr) return;
  SmartRef<Tool> tool = app.GetTool();
  SmartRef<Window> window = Window::FromHandle(record.window);
  tool->MouseMoved(record.x, record.y, static_cast<std::int32_t>(record.modifiers), record.clicks != 0, ~window);
}

void MenuCommand(int command, void*) {
  App& app = RequireApplication();
  // A separator, or an entry whose menu is gone, performs nothing.
  if (SmartRef<MenuItem> item = app.FindMenuItem(command)) item->Invoke(app);
}

void UpdateMenusEvent(void*) { RequireApplication().UpdateMenus(); }
