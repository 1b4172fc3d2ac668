// The application's entry points, through which the message layer reaches it.
#include "core/Exception.h"
#include "ui/App.h"

namespace {
// The entry points that need the application raise the null-reference check without one.
App& RequireApplication() { return *gApplication; }
}  // namespace

SmartRef<App> CreateApplication(ApplicationFactory factory, MainWindowRecord* record) {
  Win32ErrorException::Install();
  App::SetModuleHandle(record);
  // The sockets start here (InternetSession::Startup) once the internet layer exists.
  gApplication = factory ? factory() : nullptr;
  if (!gApplication) return nullptr;
  // The menu bar is installed here (MenuBar::Install) once the menus exist.
  return gApplication;
}

void DestroyApplication() {
  // The sockets stop here (InternetSession::Shutdown) once the internet layer exists.
  if (!gApplication) return;
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

bool WindowActivatedEvent(HWND) {
  // The window of the handle is activated here (App::ActivateWindow) once windows exist.
  return false;
}

bool IsApplicationRunning() { return gApplication && gApplication->IsRunning(); }

void CloseWindowEvent(HWND, int) {
  RequireApplication();
  // The window of the handle, or the front one, is closed here (App::CloseWindow) once windows exist.
}

void PaintWindowEvent(HWND) {
  // The window of the handle redraws itself here (Window::PaintNative) once windows exist.
}

void WindowResizedEvent(HWND) {
  // The window of the handle takes its native size here (Window::NativeResized) once windows exist.
}

void KeyEvent(int key, std::uint32_t modifiers) {
  App& app = RequireApplication();
  // The front window's views are offered the key first (View::KeyDown) once windows exist.
  app.HandleKey(key, modifiers);
}

void MouseDownEvent(MouseEventRecord record) {
  RequireApplication();
  if (record.window == nullptr) return;
  // The current tool (Tool::MouseMoved, Tool::MouseDown) receives the click once tools exist.
}

void MouseEvent(MouseEventRecord record) {
  RequireApplication();
  if (record.window == nullptr) return;
  // The current tool (Tool::MouseMoved) receives the move once tools exist.
}

void MenuCommand(int, void*) {
  RequireApplication();
  // The menu item of the command is invoked here (MenuBar::FindItem, MenuItem::Invoke) once the menus
  // exist.
}

void UpdateMenusEvent(void*) {
  RequireApplication();
  // The menus' states are recomputed here (MenuBar::Update) once the menus exist.
}
