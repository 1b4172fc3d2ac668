// Painting: which window paints next, erasing, contexts on draw targets (internal to the window system).
#pragma once

#include "platform/user/Message.h"
#include "platform/user/WindowSurface.h"

namespace platform::user {

// The window whose WM_PAINT comes next under the filter.
bool FindPaintWindow(HWND filter, HWND* window);
// WM_ERASEBKGND as the system does it: the class brush over the area the DC may touch.
LRESULT EraseBackground(HWND window, HDC dc);

// A context drawing on a window's draw target, which ReleaseDC ends.
HDC OpenDrawContext(const DrawTarget& target);

}  // namespace platform::user
