#include "platform/Seams.h"

namespace platform {
namespace {

SoundProc& SoundProcSlot() {
  static SoundProc proc = nullptr;
  return proc;
}

}  // namespace

void SetSoundProc(SoundProc proc) { SoundProcSlot() = proc; }
SoundProc GetSoundProc() { return SoundProcSlot(); }

}  // namespace platform
