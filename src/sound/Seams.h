// What the sound library installs into the libraries it stands on, in one call made by the program's
// start-up and by the sound test fixtures.
#pragma once

// Idempotent.
void InstallSoundSeams();
