// What the editor installs into the libraries it stands on, in one call made by the program's start-up
// and by the editor's test fixtures.
#pragma once

#include <cstdint>

// Idempotent.
void InstallEditorSeams();

// What the editor asks of the web-page application above it, which fills it in its own install call.
// Until it does there is no page window.
struct PageWindowHooks {
  // When the application's front window is a page window, its tool palette makes the tool of the kind
  // (0 to 32) and the answer is true; otherwise nothing happens and the answer is false.
  bool (*makePageTool)(std::int32_t kind) = nullptr;
};
void SetPageWindowHooks(const PageWindowHooks& hooks);
const PageWindowHooks& GetPageWindowHooks();
