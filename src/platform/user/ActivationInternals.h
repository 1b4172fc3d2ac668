// Activation of top-level windows (internal to the window system).
#pragma once

#include "platform/kernel/WinTypes.h"

namespace platform::user {

// A top-level window becomes the active one, with WM_ACTIVATEAPP,
// WM_NCACTIVATE and WM_ACTIVATE as the system sends them; the window going away hands activation on.
void ActivateTopLevel(HWND window, int how);
void ForgetActivation(HWND window);
void ResetActivation();

}  // namespace platform::user
