// What the engine keeps for the whole run beyond its objects, in one record, so that a test can start from
// the state a run starts with (ResetEngineState) and set what it needs in it directly.
#pragma once

struct EngineState {
  // The start-up memory check runs once per run; later calls answer that the program goes on.
  bool startupMemoryChecked = false;
};

EngineState& TheEngineState();
// The record as a run starts, and the memory budget back at 0 until the check sets it. For tests: the
// program never calls it.
void ResetEngineState();
