// Start-up of the program's outer shell: the window classes, the main window and its menu shortcuts, the
// creation of the application and the one message loop. The nested pump of modal dialogs is in
// MessagePump.h, the window procedures in WindowProcs.h.
#pragma once

#include <cstdint>

#include "core/Smart.h"
#include "platform/kernel/WinTypes.h"

class App;

// Exit code when the application factory makes no application.
inline constexpr int kNoApplicationExitCode = 666;
inline constexpr int kMaxShortcuts = 120;

// One menu item's Ctrl shortcut: its command and the key and shift state VkKeyScanA gives for its letter.
struct ShortcutEntry {
  std::uint16_t command;
  std::uint8_t virtualKey;
  std::uint8_t shiftState;
};

// The main window and the shortcuts of the menu bar. The menus append the entries as they are built; the
// accelerator table is made from them once the application exists.
struct MainWindowRecord {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  std::uint32_t count = 0;
  ShortcutEntry shortcuts[kMaxShortcuts] = {};

  // Appends {command, key scan}; answers false, keeping the table as it is, when it is full, so that a
  // long menu loses its last shortcuts instead of overwriting memory.
  bool AddShortcut(std::uint16_t command, SHORT keyScan);
};

// Makes the application object (an App subclass), or answers null.
using ApplicationFactory = SmartRef<App> (*)();

extern MainWindowRecord* gShortcutTable;
extern HACCEL gAcceleratorTable;
extern bool gLimitedWindows;
extern HMENU gAboutMenu;

// Registers the window classes, makes the main window (shown maximised), posts the creation of the
// application to it and runs the message loop. Answers the quit code, or 0 when the classes or the main
// window could not be made. The command line is not read: the program always starts with a new document.
int FrameworkWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand,
                     ApplicationFactory factory);

// 0x10000 + the command of the first shortcut whose key is the key's low byte (an accelerator's
// WM_COMMAND wParam), or 0.
WPARAM FindShortcutCommand(WPARAM key);
// The report of last resort, for anything thrown that is not one of the program's exceptions.
void ShowFatalError(long a, long b, long c);
// Main window title, and the about item's text.
void SetApplicationTitle(const char* name);

// The main window's answer to createApplicationMessage: makes the application through the factory (the
// process ends with kNoApplicationExitCode when it makes none), titles the main window, builds the
// accelerator table and starts the application with a new document.
void CreateAndStartApplication();
// Selects and realises the application palette in the main window.
void RealizeAppPalette();

// Takes the version probe into gLimitedWindows (static initialisation does it once, before start-up).
void CacheLimitedWindows();
// What FrameworkWinMain was given to make the application with.
extern ApplicationFactory gApplicationFactory;
