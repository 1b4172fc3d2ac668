#include "engine/Seams.h"

#include "engine/sprites/CSprite.h"
#include "sound/Seams.h"

namespace {

// Function-local, so that a seam is already in place for whatever a static initialiser does.
template <typename Hooks>
Hooks& Slot() {
  static Hooks hooks;
  return hooks;
}

}  // namespace

void InstallEngineSeams() {
  InstallSoundSeams();
  // The libraries below have nothing of the engine's to install yet.
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
