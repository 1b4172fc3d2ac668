#include "app/Seams.h"

#include "editor/Seams.h"
#include "web/Seams.h"

void InstallAppSeams() {
  // The application stands on both: the editor's panes and tools, and the web library's sockets and links.
  InstallEditorSeams();
  InstallWebSeams();
}
