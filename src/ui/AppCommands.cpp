// What the application does with its commands: the search for the object that handles a command, the
// command's status and execution, the clipboard commands and the Backspace key.
#include "core/Exception.h"
#include "core/Text1252.h"
#include "ui/App.h"

bool App::HandleKey(int key, std::uint32_t) {
  if (key != 8) return false;
  DoClipCommand(kClipClear);
  return true;
}

void App::DoClipCommand(int) {
  // The clipboard task (ClipTask) for the front window's target is made, pushed on that window's undo
  // list and performed here once the clipboard and the windows join the application.
}

bool App::CanDoClipCommand(int operation) {
  // Pasting needs clipboard content, which only the clipboard (Clipboard::GetScrap) can give.
  if (operation == kClipPaste) return false;
  return true;
}

SmartRef<Smart> App::FindCommandHandler(GenericSignal* signal) {
  if (signal == nullptr) return nullptr;
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
  if (!handler) ThrowError("Sélection incorrecte..."_cp, "APP", 711);
  signal->Send(~handler);
}

void App::DoCommandIfHandled(GenericSignal* signal) {
  if (HasCommandHandler(signal)) DoCommand(signal);
}

void App::SetActive(bool active) {
  if (IsActive() == active) return;
  flags = static_cast<std::uint8_t>(active ? flags | kActive : flags & ~kActive);
  // The clipboard (Clipboard::SetActive) and every window (View::SetParentActive) follow here once they
  // join the application.
}

void App::InvalidateWindows() {
  // Every window is invalidated here once the window list joins the application.
}

int AppClipCommand::GetSignalStatus(Smart* watcher) {
  App* app = CastSmart<App>(watcher);
  return app ? GetStatus(*app) : kCommandDisabled;
}

int AppClipCommand::GetStatus(App& app) { return app.CanDoClipCommand(operation) ? kCommandEnabled : kCommandDisabled; }

void AppClipCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, "App", 350);
  CastSmart<App>(watcher)->DoClipCommand(operation);
}

int AppMenuCommand::GetSignalStatus(Smart* watcher) {
  App* app = CastSmart<App>(watcher);
  return app ? GetStatus(*app) : kCommandDisabled;
}

void AppMenuCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, "App", 280);
  Perform(*CastSmart<App>(watcher));
}
