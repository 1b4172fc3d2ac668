#include "graphics/GraphicsState.h"

#include "graphics/bitmaps/ColorTable.h"

GraphicsState& TheGraphicsState() {
  static GraphicsState state;
  return state;
}

void ResetGraphicsState() {
  TheGraphicsState() = GraphicsState();
  ColorTable::ForgetStandardTables();
}
