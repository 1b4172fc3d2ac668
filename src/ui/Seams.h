// The framework's seams, both ways. InstallUiSeams fills what the libraries below it leave open: how strings
// measure, draw and edit themselves, how display ports draw text in the default style, where drawing
// operations log and how long operations show their progress; the program's start-up, the sound library's
// install and the test fixtures of ui and above call it. The hooks below are what the libraries above the
// framework fill in it, each through its own install call.
#pragma once

#include "platform/kernel/WinTypes.h"

class Window;

// Idempotent.
void InstallUiSeams();

// The internet layer: started while the application is created and stopped once the message loop has
// ended; the main window hands it the socket notifications (socketEventMessage) and the ends of host-name
// lookups (hostLookupMessage). Until it is installed there are no sockets and these do nothing.
struct InternetHooks {
  void (*startup)() = nullptr;
  void (*shutdown)() = nullptr;
  void (*socketEvent)(WPARAM wParam, LPARAM lParam) = nullptr;
  void (*hostLookup)(WPARAM wParam, LPARAM lParam) = nullptr;
};
void SetInternetHooks(const InternetHooks& hooks);
const InternetHooks& GetInternetHooks();

// A listed window closing, before the application lets it go: the application above resets what serves
// that window (a page window's tool palette goes back to its first page and no tool). Nothing until
// installed.
using WindowClosingHook = void (*)(Window& window);
void SetWindowClosingHook(WindowClosingHook hook);
WindowClosingHook GetWindowClosingHook();
