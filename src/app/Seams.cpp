#include "app/Seams.h"

#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "editor/Seams.h"
#include "ui/Seams.h"
#include "web/Seams.h"

namespace {

// A page window that closes leaves its palette on the first page with no tool: the show of the play page
// stops and no browser stays over the page.
void ResetClosingPalette(Window& window) {
  auto* page = CastSmart<DromelWindow>(&window);
  DromelToolPalette* palette = page ? page->GetToolPalette() : nullptr;
  if (palette == nullptr) return;
  palette->CreateTool(DromelToolPalette::kFirstPanelKind);
  palette->CreateTool(DromelToolPalette::kFirstPageKind);
}

}  // namespace

void InstallAppSeams() {
  // The application stands on both: the editor's panes and tools, and the web library's sockets and links.
  InstallEditorSeams();
  InstallWebSeams();
  SetWindowClosingHook(&ResetClosingPalette);
}
