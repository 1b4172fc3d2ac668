// Every call the layer makes into the program above it, in one list. Each is filled by one install call
// of the library that provides it (InstallSoundSeams) and does nothing until then.
#pragma once

#include "platform/kernel/WinTypes.h"

namespace platform {

// The program's exported sound procedure, which the built-in sound thunk library calls with the recording
// dialog's commands: (error text buffer of 256 bytes, command) -> answer. Until it is filled the library
// refuses to start.
using SoundProc = LONG (*)(char* text, LONG command);
void SetSoundProc(SoundProc proc);
SoundProc GetSoundProc();

}  // namespace platform
