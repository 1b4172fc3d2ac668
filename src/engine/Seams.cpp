#include "engine/Seams.h"

#include "sound/Seams.h"

void InstallEngineSeams() {
  InstallSoundSeams();
  // The libraries below have nothing of the engine's to install yet.
}
