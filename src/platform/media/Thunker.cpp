#include "platform/media/Thunker.h"

#include "platform/Seams.h"

namespace platform {
namespace {

ThunkerFailure gFailure = ThunkerFailure::none;
char gErrorText[256];

int ThunkInit(HMODULE) {
  if (gFailure == ThunkerFailure::initFails || GetSoundProc() == nullptr) return 0;
  gErrorText[0] = '\0';
  return 1;
}

LONG DoSoundProc(LONG command) {
  const SoundProc proc = GetSoundProc();
  if (proc == nullptr) throw "Thunker: no sound procedure";
  const bool hadText = gErrorText[0] != '\0';
  const LONG answer = proc(gErrorText, command);
  gErrorText[sizeof gErrorText - 1] = '\0';
  if (!hadText && gErrorText[0] != '\0') throw static_cast<const char*>(gErrorText);
  return answer;
}

void ThunkQuit() {}

const ModuleExport kExports[] = {
    {"ThunkInit", reinterpret_cast<FARPROC>(&ThunkInit)},
    {"DoSoundProc", reinterpret_cast<FARPROC>(&DoSoundProc)},
    {"ThunkQuit", reinterpret_cast<FARPROC>(&ThunkQuit)},
    {nullptr, nullptr},
};
// Without ThunkInit, as a library of another version might be.
const ModuleExport kExportsWithoutInit[] = {
    {"DoSoundProc", reinterpret_cast<FARPROC>(&DoSoundProc)},
    {"ThunkQuit", reinterpret_cast<FARPROC>(&ThunkQuit)},
    {nullptr, nullptr},
};

const BuiltInModule kModule{"Thunker.dll", kExports};
const BuiltInModule kModuleWithoutInit{"Thunker.dll", kExportsWithoutInit};

}  // namespace

const BuiltInModule& ThunkerModule() {
  return gFailure == ThunkerFailure::noThunkInit ? kModuleWithoutInit : kModule;
}

void SetThunkerFailureForTesting(ThunkerFailure failure) { gFailure = failure; }
ThunkerFailure GetThunkerFailure() { return gFailure; }

}  // namespace platform
