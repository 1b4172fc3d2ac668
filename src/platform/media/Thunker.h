// The sound thunk library, "Thunker.dll", built into the layer: it passes the recording dialog's commands
// to the program's exported sound procedure, which the program hands over at start-up (platform/Seams.h:
// the layer cannot name it). Its exports take one or no argument:
//   int ThunkInit(HMODULE self): non-zero when the library can serve; it empties its error text.
//   LONG DoSoundProc(LONG command): the sound procedure's answer. When the procedure leaves an error text
//     in the library's buffer that was empty before, the call throws that text as a `const char*`; the
//     text stays until the next ThunkInit, so each error of one dialog comes up once.
//   void ThunkQuit().
#pragma once

#include "platform/kernel/Modules.h"
#include "platform/kernel/WinTypes.h"

namespace platform {

const BuiltInModule& ThunkerModule();

// Makes one step of loading the library fail, as a missing or broken library would.
enum class ThunkerFailure { none, notLoaded, noThunkInit, initFails };
void SetThunkerFailureForTesting(ThunkerFailure failure);
ThunkerFailure GetThunkerFailure();

}  // namespace platform
