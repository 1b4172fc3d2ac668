// Timers: WM_TIMER messages, or calls of a procedure, every so many milliseconds of GetTickCount.
#pragma once

#include "platform/kernel/WinTypes.h"

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// The shortest period; shorter ones (0 included) are raised to it.
constexpr UINT USER_TIMER_MINIMUM = 10;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// With a window, the timer is known by the window and the id; without one, by the id it answers.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);
