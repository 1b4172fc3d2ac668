// What ui keeps for the whole run beyond its objects, in one record, so that a test can start from the
// state a run starts with (ResetUiState) and set what it needs in it directly. The globals the framework's
// design names (gMainWindow, gAcceleratorTable, gForceTopmost, ...) stay globals of their files; the reset
// puts them back as well.
#pragma once

#include <cstdint>

#include "core/Smart.h"

class GenericArray;
class LFWDecorator;

struct UiState {
  // Frames number their native child windows from 200, controls theirs from 1, in the order they are made.
  int nextChildId = 200;
  std::int32_t nextControlId = 1;
  // Where new windows are placed, made from the main window's client area at first use.
  SmartRef<LFWDecorator> decorator;
  // The caption heights of normal and floating frames, measured at first use; -1 until then.
  int captionHeight = -1;
  int smallCaptionHeight = -1;
  // Where the pump last saw the mouse: a move to the same point is not passed on.
  std::uint16_t lastMouseX = 0;
  std::uint16_t lastMouseY = 0;
  // Slot n holds the live menu numbered n (uncounted), or null when n is free; made at first use.
  SmartRef<GenericArray> menuNumbers;
};

UiState& TheUiState();
// The record as a run starts, start-up's globals as static initialisation leaves them (the version probe
// taken again) and the windows' globals cleared. For tests: the program never calls it.
void ResetUiState();
