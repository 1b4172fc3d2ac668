#include "engine/Seams.h"

#include "engine/EngineAppServices.h"
#include "engine/app/CHAApp.h"
#include "engine/player/PlayerHooks.h"
#include "engine/sprites/CSprite.h"
#include "sound/Seams.h"
#include "ui/views/View.h"

namespace {

// Function-local, so that a seam is already in place for whatever a static initialiser does.
template <typename Hooks>
Hooks& Slot() {
  static Hooks hooks;
  return hooks;
}

}  // namespace

namespace {

SmartRef<View> ActivePaneOf(App* app) {
  CHAApp* engineApp = CastSmart<CHAApp>(app);
  return engineApp ? SmartRef<View>(engineApp->GetActivePane()) : nullptr;
}

bool LeaveFrontDocument() {
  CHAApp* app = CastSmart<CHAApp>(~gApplication);
  return app == nullptr || app->ConfirmLeaveDocument();
}

}  // namespace

void InstallEngineSeams() {
  InstallSoundSeams();
  // The libraries below have nothing of the engine's to install yet; the player and the editor reach the
  // running engine application through these.
  SetLeaveDocumentHook(&LeaveFrontDocument);
  SetEngineAppServices({nullptr, &ActivePaneOf});
}

void SetFrameEditHooks(const FrameEditHooks& hooks) { Slot<FrameEditHooks>() = hooks; }
const FrameEditHooks& GetFrameEditHooks() { return Slot<FrameEditHooks>(); }

void SetWebAddressHooks(const WebAddressHooks& hooks) {
  Slot<WebAddressHooks>() = hooks;
  // Addresses become link sprites through the sprite's class conversions, which need to know their class.
  CSprite::SetAddressClass(hooks.addressClass);
}
const WebAddressHooks& GetWebAddressHooks() { return Slot<WebAddressHooks>(); }

void SetToolHooks(const ToolHooks& hooks) { Slot<ToolHooks>() = hooks; }
const ToolHooks& GetToolHooks() { return Slot<ToolHooks>(); }

void SetAppEditorHooks(const AppEditorHooks& hooks) { Slot<AppEditorHooks>() = hooks; }
const AppEditorHooks& GetAppEditorHooks() { return Slot<AppEditorHooks>(); }
