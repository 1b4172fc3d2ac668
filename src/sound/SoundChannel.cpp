#include "sound/SoundChannel.h"

bool gSoundMuted = false;
