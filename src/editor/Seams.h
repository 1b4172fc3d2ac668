// What the editor installs into the libraries it stands on, in one call made by the program's start-up
// and by the editor's test fixtures.
#pragma once

// Idempotent.
void InstallEditorSeams();
