// Timers as the queue takes them (internal to the window system).
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/user/Message.h"

namespace platform::user {

// Timers: marks those due, hands out the earliest ready one, and tells how long until the next.
bool TakeDueTimer(HWND filter, bool remove, MSG* msg);
DWORD NextTimerDelay(HWND filter);
bool IsTimerProcedure(HWND window, UINT_PTR id, LPARAM procedure);
void KillWindowTimers(HWND window);
void ResetTimers();

}  // namespace platform::user
