#include "engine/Seams.h"

// The libraries below have nothing of the engine's to install yet.
void InstallEngineSeams() {}
