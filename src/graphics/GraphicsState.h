// What graphics keeps for the whole run beyond its objects, in one record, so that a test can start from
// the state a run starts with (ResetGraphicsState) and set what it needs in it directly.
#pragma once

struct GraphicsState {
  // The system's version code (SystemVersion.h), probed at first use; 0 until then.
  int winVersion = 0;
};

GraphicsState& TheGraphicsState();
// The record as a run starts, and the shared colour tables and the screen's palettes forgotten, so that
// the next request makes them again from the screen format and palette file of that moment. For tests:
// the program never calls it.
void ResetGraphicsState();
