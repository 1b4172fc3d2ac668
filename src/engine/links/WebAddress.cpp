#include "engine/links/WebAddress.h"

#include "engine/sprites/CSprite.h"

namespace {
WebAddressHooks& Hooks() {
  static WebAddressHooks hooks;
  return hooks;
}
}  // namespace

void SetWebAddressHooks(const WebAddressHooks& hooks) {
  Hooks() = hooks;
  CSprite::SetAddressClass(hooks.addressClass);
}

Persistent* AsWebAddress(Persistent* object) {
  const ClassInfo* addressClass = Hooks().addressClass;
  return addressClass == nullptr || CastSmart(object, addressClass) ? object : nullptr;
}

SmartRef<Persistent> MakePageAddress(const String& pageName) {
  return Hooks().makePageAddress ? Hooks().makePageAddress(pageName) : nullptr;
}

void GetAddressText(Smart* address, String& text) {
  text.Clear();
  if (address && Hooks().getAddressText) Hooks().getAddressText(address, text);
}
