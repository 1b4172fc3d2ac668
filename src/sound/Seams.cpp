#include "sound/Seams.h"

#include "core/Sound.h"
#include "sound/SoundChannel.h"

void InstallSoundSeams() { SetSoundPlayer(&PlayOnCurrentChannel); }
