#include "app/page/PaletteCommands.h"

#include "app/page/DromelWindow.h"
#include "core/SourcePlace.h"
#include "editor/app/CTumbletApp.h"
#include "ui/shell/Tool.h"

namespace {
constexpr SourceName kAppHeader("ORVANEL/AUTHOR/CTumbletApp");
constexpr SourceName kWindowHeader("DROMEL/DromelWindow");
}  // namespace

TumbletAppCommand::TumbletAppCommand(Tool* tool) : tool(tool) {}

int TumbletAppCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<CTumbletApp>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void TumbletAppCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kAppHeader.Line(152));
  CastSmart<CTumbletApp>(watcher)->SelectTool(~tool);
}

int DromelWindowToolCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<DromelWindow>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void DromelWindowToolCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kWindowHeader.Line(99));
  CastSmart<DromelWindow>(watcher)->Navigate(direction);
}
