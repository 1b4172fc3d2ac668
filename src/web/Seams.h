// What the web library installs into the libraries it stands on, in one call made by the program's
// start-up and by the web test fixtures.
#pragma once

// Idempotent.
void InstallWebSeams();
