// The engine application's current tool lives in the editor's tools window, above the engine: the
// editor installs how to reach it. Until it does, the application keeps its tool itself.
#pragma once

#include "core/Smart.h"

class Tool;

struct ToolHooks {
  // The tool the application starts with.
  SmartRef<Tool> (*makeFirstTool)() = nullptr;
  // The application's current tool, and making a tool current.
  SmartRef<Tool> (*getTool)() = nullptr;
  void (*setTool)(Tool* tool) = nullptr;
};

void SetToolHooks(const ToolHooks& hooks);
const ToolHooks& GetToolHooks();
