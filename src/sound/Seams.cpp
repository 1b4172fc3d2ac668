#include "sound/Seams.h"

// The libraries below have nothing of the sound library's to install yet.
void InstallSoundSeams() {}
