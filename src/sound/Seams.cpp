#include "sound/Seams.h"

#include "core/Sound.h"
#include "sound/SoundChannel.h"
#include "ui/Seams.h"

void InstallSoundSeams() {
  InstallUiSeams();
  SetSoundPlayer(&PlayOnCurrentChannel);
}
