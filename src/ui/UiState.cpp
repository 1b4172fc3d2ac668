#include "ui/UiState.h"

#include "core/GenericArray.h"
#include "platform/user/Keyboard.h"
#include "ui/menus/Menu.h"
#include "ui/shell/App.h"
#include "ui/shell/WinMain.h"
#include "ui/shell/WindowProcs.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

UiState& TheUiState() {
  // Never destroyed: menus and windows released by static destructors at exit still reach it.
  static UiState* state = new UiState;
  return *state;
}

void ResetUiState() {
  TheUiState() = UiState();
  if (gAcceleratorTable) DestroyAcceleratorTable(gAcceleratorTable);
  gAcceleratorTable = nullptr;
  delete gShortcutTable;
  gShortcutTable = nullptr;
  gMainWindow = nullptr;
  gAboutMenu = nullptr;
  gApplicationFactory = nullptr;
  gSuppressControlNotifications = false;
  CacheLimitedWindows();
  gFocusBeforeModal = nullptr;
  gForceTopmost = false;
  gScreenDevice = nullptr;
  gMenuBarInstalled = false;
  gAppQuitting = false;
  gUndoNext = true;
}
