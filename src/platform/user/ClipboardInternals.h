// The clipboard's part in a window's life (internal to the window system).
#pragma once

#include "platform/kernel/WinTypes.h"

namespace platform::user {

// A window going away gives up the clipboard it owns or holds open.
void ForgetClipboardWindow(HWND window);
void ResetClipboard();

}  // namespace platform::user
