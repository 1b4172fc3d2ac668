#include "engine/ToolHooks.h"

namespace {

ToolHooks& Hooks() {
  static ToolHooks hooks;
  return hooks;
}

}  // namespace

void SetToolHooks(const ToolHooks& hooks) { Hooks() = hooks; }
const ToolHooks& GetToolHooks() { return Hooks(); }
