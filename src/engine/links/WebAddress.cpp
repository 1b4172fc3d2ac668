#include "engine/links/WebAddress.h"

#include "engine/Seams.h"

namespace {
const WebAddressHooks& Hooks() { return GetWebAddressHooks(); }
}  // namespace

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
