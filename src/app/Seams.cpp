#include "app/Seams.h"

#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "editor/Seams.h"
#include "ui/Seams.h"
#include "ui/shell/App.h"
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

// The stage pane's double click on a text asks for the text tools of the page window in front.
bool MakePageTool(std::int32_t kind) {
  auto* window = gApplication ? CastSmart<DromelWindow>(~gApplication->FrontWindow()) : nullptr;
  if (window == nullptr || window->GetToolPalette() == nullptr) return false;
  window->GetToolPalette()->CreateTool(kind);
  return true;
}

}  // namespace

void InstallAppSeams() {
  // The application stands on both: the editor's panes and tools, and the web library's sockets and links.
  InstallEditorSeams();
  InstallWebSeams();
  SetWindowClosingHook(&ResetClosingPalette);
  PageWindowHooks pageWindow;
  pageWindow.makePageTool = &MakePageTool;
  SetPageWindowHooks(pageWindow);
}
