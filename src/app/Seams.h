// What the web-page application installs into the libraries it stands on, in one call made by the
// program's start-up and by the application's test fixtures.
#pragma once

// Idempotent.
void InstallAppSeams();
