// What the application does with its windows and its commands: the window list and its front window,
// activation, closing, the search for the view that handles a command, the command's status and
// execution, the clipboard commands and the Backspace key.
#include "core/Exception.h"
#include "core/Text1252.h"
#include "ui/Seams.h"
#include "ui/shell/App.h"
#include "ui/shell/ClipTask.h"
#include "ui/views/Window.h"

namespace {
constexpr SourceName kAppSource("APP");
constexpr SourceName kAppHeader("App");
}  // namespace

namespace {
Window* WindowAt(const List& windows, std::int32_t n) { return CastSmart<Window>(windows.At(n)); }
}  // namespace

void App::SetFrontModal(bool modal) {
  flags = static_cast<std::uint8_t>(modal ? flags | kFrontModal : flags & ~kFrontModal);
}

void App::AddWindow(Window* window, bool activate) {
  // A window opened again is only activated: listed twice, it would be asked twice whether it may close
  // and told twice that it closed.
  if (windows.IndexOf(window) != 0) {
    if (activate) ActivateWindow(window);
    return;
  }
  windows.Append(window);
  window->AddSink(&sink);
  if (IsActive()) window->SetParentActive(true);
  if (activate) ActivateWindow(window);
}

bool App::ActivateWindow(Window* window) {
  const bool wasActive = window->IsActive();
  window->Show(true);
  const int kind = window->GetFrameKind();
  // A floating window is shown but never becomes the front window.
  if (IsNonFloatingKind(kind)) {
    View::SetTargetInList(windows, window);
    SetFrontModal(IsModalKind(kind));
  }
  return !(wasActive && window->IsActive());
}

void App::WindowClosed(Window* window) {
  SmartRef<Window> closing(window);
  if (FrontWindow() == closing) {
    SmartRef<Window> next = Window::FrontWindow(window, true);
    View::SetTargetInList(windows, ~next);
    SetFrontModal(next && IsModalKind(next->GetFrameKind()));
  }
  const std::int32_t position = windows.IndexOf(window);
  if (position == 0) return;
  if (const WindowClosingHook closing = GetWindowClosingHook()) closing(*window);
  window->Show(false);
  window->RemoveSink(&sink);
  windows->Remove(position, 1);
  if (IsActive()) window->SetParentActive(false);
}

SmartRef<Window> App::FrontWindow() const {
  const std::int32_t front = View::IndexOfTarget(windows);
  return front ? WindowAt(windows, front) : nullptr;
}

SmartRef<View> App::FindTarget(GenericSignal* signal) const {
  SmartRef<View> found;
  for (SmartRef<View> view = FrontWindow(); view; view = view->GetTarget()) {
    if (signal == nullptr || signal->GetSignalStatus(~view) != kCommandDisabled) found = view;
  }
  return found;
}

void App::CloseWindow(Window* window, int kind) {
  SmartRef<Window> closing;
  if (window) {
    if (windows.IndexOf(window) == 0) return;
    closing = window;
  } else {
    closing = FrontWindow();
    if (!closing) return;
  }
  if (closing->CanClose(kind)) closing->Close();
}

void App::SetActive(bool active) {
  if (IsActive() == active) return;
  flags = static_cast<std::uint8_t>(active ? flags | kActive : flags & ~kActive);
  if (clipboard) clipboard->SetActive(active);
  for (std::int32_t i = 1; i <= windows.NumItems(); ++i) WindowAt(windows, i)->SetParentActive(active);
}

void App::NotifyWindows() {
  for (std::int32_t i = windows.NumItems(); i >= 1; --i) WindowAt(windows, i)->NotifyAppListeners(this);
}

void App::InvalidateWindows() {
  for (std::int32_t i = 1; i <= windows.NumItems(); ++i) WindowAt(windows, i)->Invalidate(false);
}

bool App::HandleKey(int key, std::uint32_t) {
  if (key != 8) return false;
  DoClipCommand(kClipClear);
  return true;
}

void App::DoClipCommand(int operation) {
  SmartRef<View> target = FindTarget(nullptr);
  if (!target) return;
  SmartRef<ClipTask> task = new ClipTask(~GetClipboard(), ~target, operation);
  if (SmartRef<Window> front = FrontWindow()) front->AddUndoable(~task);
  task->Do();
}

bool App::CanDoClipCommand(int operation) {
  if (operation == kClipPaste && GetClipboard()->GetScrap() == nullptr) return false;
  SmartRef<View> target = FindTarget(nullptr);
  return !target || target->CanEdit(operation);
}

SmartRef<Smart> App::FindCommandHandler(GenericSignal* signal) {
  if (signal == nullptr) return nullptr;
  SmartRef<View> target = FindTarget(signal);
  if (target && signal->GetSignalStatus(~target) != kCommandDisabled) return SmartRef<Smart>(~target);
  Smart* self = static_cast<SmartImplementation*>(this);
  if (signal->GetSignalStatus(self) != kCommandDisabled) return self;
  return nullptr;
}

bool App::HasCommandHandler(GenericSignal* signal) { return bool(FindCommandHandler(signal)); }

int App::GetCommandStatus(GenericSignal* signal) {
  SmartRef<Smart> handler = FindCommandHandler(signal);
  return handler ? signal->GetSignalStatus(~handler) : kCommandDisabled;
}

void App::DoCommand(GenericSignal* signal) {
  SmartRef<Smart> handler = FindCommandHandler(signal);
  if (!handler) ThrowError("Sélection incorrecte..."_cp, kAppSource.Line(711));
  signal->Send(~handler);
}

void App::DoCommandIfHandled(GenericSignal* signal) {
  if (HasCommandHandler(signal)) DoCommand(signal);
}

int AppClipCommand::GetSignalStatus(Smart* watcher) {
  App* app = CastSmart<App>(watcher);
  return app ? GetStatus(*app) : kCommandDisabled;
}

int AppClipCommand::GetStatus(App& app) { return app.CanDoClipCommand(operation) ? kCommandEnabled : kCommandDisabled; }

void AppClipCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kAppHeader.Line(350));
  CastSmart<App>(watcher)->DoClipCommand(operation);
}

int AppMenuCommand::GetSignalStatus(Smart* watcher) {
  App* app = CastSmart<App>(watcher);
  return app ? GetStatus(*app) : kCommandDisabled;
}

void AppMenuCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kAppHeader.Line(280));
  Perform(*CastSmart<App>(watcher));
}
