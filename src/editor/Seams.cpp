#include "editor/Seams.h"

#include "engine/Seams.h"

void InstallEditorSeams() {
  InstallEngineSeams();
}
