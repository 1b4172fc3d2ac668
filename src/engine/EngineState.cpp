#include "engine/EngineState.h"

#include "engine/memory/CMemory.h"

EngineState& TheEngineState() {
  static EngineState state;
  return state;
}

void ResetEngineState() {
  TheEngineState() = EngineState();
  gMemoryBudget = 0;
}
