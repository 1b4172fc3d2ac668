// Mouse and keyboard input as the window system receives it from the screen, and where it goes.
#pragma once

#include "platform/kernel/WinTypes.h"

HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetCursorPos(POINT* point);

namespace platform {

enum class MouseButton { Left, Right, Middle };

// Input as a back end (or a test) delivers it, in virtual-screen coordinates. Each becomes a message queued
// for the window under the point (or the window holding the capture), in its client coordinates, or in
// screen coordinates with a hit-test code when the point lies on the window's frame.
void InjectMouseMove(int x, int y);
void InjectMouseButton(int x, int y, MouseButton button, bool down);
// A key going down or up, as a virtual-key code (extended: the keypad's Enter, the arrows and editing keys
// beside the letters, the right Ctrl and Alt); it goes to the focus window, or the active window when no
// window has the focus.
void InjectKey(int virtualKey, bool down, bool extended = false);
// Characters typed (Windows-1252 bytes): those of the key that just went down become its characters, which
// TranslateMessage gives as WM_CHAR; others arrive as WM_CHAR messages of their own.
void InjectText(const char* text);

}  // namespace platform
