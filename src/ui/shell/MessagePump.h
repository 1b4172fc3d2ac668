// The nested pump of modal dialogs and long operations, and the decoding of mouse messages into the
// application's mouse events.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "platform/kernel/WinTypes.h"

// What the window procedures hand to MouseDownEvent and MouseEvent: clicks is 1 or 2 for a button down,
// the button flag (any button held) for moves and button ups.
struct MouseEventRecord {
  HWND window;
  std::int32_t x;
  std::int32_t y;
  std::uint32_t modifiers;
  std::int32_t clicks;
};

// One batch of at most 500 ms of pending messages for a modal dialog's poll. Mouse messages for windows
// other than the main window, the modal window and its direct children are dropped and end the batch.
// Answers false when the application stopped running or the quit message arrived; either way the quit
// message is then left posted, with the code it came with, for the program's own loop.
bool ProcessModalEvents(HWND modalWindow);
// Dispatches every pending paint, so that a long operation shows its progress at once.
void PumpPaintMessages();
// True when a mouse move is pending at a place other than the last one seen (which it then remembers).
bool HasMouseMoved();
bool IsMouseMessage(UINT message);
Point PointFromLParam(LPARAM lParam);
// Bit 0 Shift, bit 2 Ctrl.
std::uint32_t MouseModifierFlags(WPARAM wParam);
