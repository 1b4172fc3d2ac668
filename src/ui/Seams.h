// What the window system's library installs into the libraries it stands on: how strings measure, draw
// and edit themselves, how display ports draw text in the default style, where drawing operations log and
// how long operations show their progress. One call, made by the program's start-up and by the test
// fixtures of this library and those above it.
#pragma once

// Idempotent.
void InstallUiSeams();
