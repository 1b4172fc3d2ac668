// The program's outer shell: start-up, the one message loop, the nested pump of modal dialogs, and the
// procedures of the main window ("MainWClass") and of the framework's child windows ("ChildWClass"),
// which turn messages into calls of the application's entry points (ui/shell/App.h).
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/Smart.h"
#include "platform/kernel/WinTypes.h"

class App;

// Private messages of the main window.
enum : UINT {
  socketEventMessage = 0x800,        // wParam socket, lParam event and error
  hostLookupMessage = 0x801,         // wParam lookup handle, lParam error and length
  createApplicationMessage = 0x805,  // posted once at start-up: creates and starts the application
  kIgnoredMainMessage = 0x810,       // answered 0 with no effect
};

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

// What the window procedures hand to MouseDownEvent and MouseEvent: clicks is 1 or 2 for a button down,
// the button flag (any button held) for moves and button ups.
struct MouseEventRecord {
  HWND window;
  std::int32_t x;
  std::int32_t y;
  std::uint32_t modifiers;
  std::int32_t clicks;
};

// Makes the application object (an App subclass), or answers null.
using ApplicationFactory = SmartRef<App> (*)();

extern MainWindowRecord* gShortcutTable;
extern HACCEL gAcceleratorTable;
extern bool gLimitedWindows;
extern HMENU gAboutMenu;
// Set by the edit controls around their own focus changes, whose notifications must not read as clicks.
extern bool gSuppressControlNotifications;

// Registers the window classes, makes the main window (shown maximised), posts the creation of the
// application to it and runs the message loop. Answers the quit code, or 0 when the classes or the main
// window could not be made. The command line is not read: the program always starts with a new document.
int FrameworkWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand,
                     ApplicationFactory factory);

// One batch of at most 500 ms of pending messages for a modal dialog's poll. Mouse messages for windows
// other than the main window, the modal window and its direct children are dropped and end the batch.
// Answers false when the application stopped running (the quit message is then posted).
bool ProcessModalEvents(HWND modalWindow);
// Dispatches every pending paint, so that a long operation shows its progress at once.
void PumpPaintMessages();
// True when a mouse move is pending at a place other than the last one seen (which it then remembers).
bool HasMouseMoved();
bool IsMouseMessage(UINT message);
Point PointFromLParam(LPARAM lParam);
// Bit 0 Shift, bit 2 Ctrl.
std::uint32_t MouseModifierFlags(WPARAM wParam);
// 0x10000 + the command of the first shortcut whose key is the key's low byte (an accelerator's
// WM_COMMAND wParam), or 0.
WPARAM FindShortcutCommand(WPARAM key);
// The report of last resort, for anything thrown that is not one of the program's exceptions.
void ShowFatalError(long a, long b, long c);
// Main window title, and the about item's text.
void SetApplicationTitle(const char* name);

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The main window's answer to createApplicationMessage: makes the application through the factory (the
// process ends with kNoApplicationExitCode when it makes none), titles the main window, builds the
// accelerator table and starts the application with a new document.
void CreateAndStartApplication();
// Selects and realises the application palette in the main window.
void RealizeAppPalette();
LRESULT ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace winmain_testing {
// Takes the version probe again (the program takes it once, before start-up).
void CacheLimitedWindows();
// Forgets the main window, its record, the accelerator table and the factory.
void Reset();
}  // namespace winmain_testing
