#include "sound/Seams.h"

#include "core/Sound.h"
#include "platform/media/Thunker.h"
#include "sound/SoundChannel.h"
#include "sound/SoundRecorder.h"

void InstallSoundSeams() {
  SetSoundPlayer(&PlayOnCurrentChannel);
  // The thunk library passes the recording dialog's commands back to the recorder through this.
  platform::SetSoundProc(&OrSoundProc);
}
