// The procedures of the main window ("MainWClass") and of the framework's child windows ("ChildWClass"),
// which turn messages into calls of the application's entry points (ui/shell/App.h).
#pragma once

#include "platform/kernel/WinTypes.h"

// Private messages of the main window.
enum : UINT {
  socketEventMessage = 0x800,        // wParam socket, lParam event and error
  hostLookupMessage = 0x801,         // wParam lookup handle, lParam error and length
  createApplicationMessage = 0x805,  // posted once at start-up: creates and starts the application
  kIgnoredMainMessage = 0x810,       // answered 0 with no effect
};

// Set by the edit controls around their own focus changes, whose notifications must not read as clicks.
extern bool gSuppressControlNotifications;

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
