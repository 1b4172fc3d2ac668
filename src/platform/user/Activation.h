// The active window and the program's own activation.
#pragma once

#include "platform/kernel/WinTypes.h"

// The active window is a top-level window; activating a child activates its top-level window.
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);
// Null while the program is in the background.
HWND GetForegroundWindow();
// Raises and activates the window's top-level window.
BOOL SetForegroundWindow(HWND window);

namespace platform {
// The screen tells whether the user works in the program (its window has the keyboard) or elsewhere: the
// program's windows get WM_ACTIVATEAPP, and the active one is deactivated or activated again.
void SetApplicationActive(bool active);
bool IsApplicationActive();
}  // namespace platform
