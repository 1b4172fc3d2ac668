#include "engine/EngineAppServices.h"

#include "ui/views/View.h"

namespace {

EngineAppServices& Services() {
  static EngineAppServices services;
  return services;
}

}  // namespace

void SetEngineAppServices(const EngineAppServices& services) { Services() = services; }

ColorTable* GetEngineAppColorTable() { return Services().colorTable ? Services().colorTable() : nullptr; }

SmartRef<View> GetEngineAppActivePane(App* app) {
  return Services().activePane ? Services().activePane(app) : nullptr;
}
