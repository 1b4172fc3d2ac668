// What the libraries above the framework fill in it, each through one explicit install call.
#pragma once

#include "platform/kernel/WinTypes.h"

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
