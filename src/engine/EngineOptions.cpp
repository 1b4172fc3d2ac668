#include "engine/EngineOptions.h"

std::uint32_t gEngineOptions = 4;

namespace {

EngineAppColorTableHook gAppColorTable = nullptr;

}  // namespace

void SetEngineAppColorTableHook(EngineAppColorTableHook hook) { gAppColorTable = hook; }

ColorTable* GetEngineAppColorTable() { return gAppColorTable ? gAppColorTable() : nullptr; }
