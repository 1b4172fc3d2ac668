// What the editor reads of the running engine application: its colour palette and its active pane. The
// engine application answers them once it runs; until then there is no palette and no pane.
#pragma once

#include "core/Smart.h"

class App;
class ColorTable;
class View;

struct EngineAppServices {
  ColorTable* (*colorTable)() = nullptr;
  // The application's active pane, when the application is an engine one.
  SmartRef<View> (*activePane)(App* app) = nullptr;
};

void SetEngineAppServices(const EngineAppServices& services);
ColorTable* GetEngineAppColorTable();
SmartRef<View> GetEngineAppActivePane(App* app);
