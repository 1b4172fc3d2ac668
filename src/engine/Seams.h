// What the engine installs into the libraries it stands on, in one call made by the program's start-up and
// by the engine's test fixtures.
#pragma once

// Idempotent.
void InstallEngineSeams();
