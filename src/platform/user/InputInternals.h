// Input as it comes out of the queue: mouse, keys, the cursor (internal to the window system).
#pragma once

#include <string>

#include "platform/user/QueueInternals.h"

namespace platform::user {

// Called as an input message is taken from the queue: the system's part of mouse input (cursor shape,
// activation by a click, frame drags). False when the message goes no further.
bool TakeInput(InputMessage& input);
// Input waiting in the queue goes where the system's state sends it when it comes out, as typed-ahead keys
// and a quick drag do: keys to the window that has the focus then (a key that moves the focus sends the next
// ones to the new window), mouse messages to the capture taken or let go since they were queued. False
// when no window takes the message any more.
bool AimQueuedInput(InputMessage& input);
// The characters typed with the key of a key-down message just taken, or null when none came with it.
const std::string* TypedTextOf(const MSG& msg);
void ResetInput();
void ResetCursors();  // Cursor.cpp

}  // namespace platform::user
