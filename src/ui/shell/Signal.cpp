#include "ui/shell/Signal.h"

SMART_DEFINE_ABSTRACT(GenericSignal, "GenericSignal", SmartImplementation)
SMART_DEFINE_ABSTRACT(NumberCommandHandler, "NumberCommandHandler", Smart)

void GenericSignal::RequireEnabled(Smart* watcher, SourcePlace at) {
  if (GetSignalStatus(watcher) == kCommandDisabled) AssertFailed("GetSignalStatus(watcher) != disabled", at);
}

int NumberCommand::GetSignalStatus(Smart* watcher) {
  NumberCommandHandler* handler = CastSmart<NumberCommandHandler>(watcher);
  return handler ? handler->GetNumberCommandStatus(number) : kCommandDisabled;
}

void NumberCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, SourceName("NumberCommand").Line(69));
  Perform(CastSmart<NumberCommandHandler>(watcher));
}

void NumberCommand::Perform(NumberCommandHandler* handler) { handler->HandleNumberCommand(number, argument); }
