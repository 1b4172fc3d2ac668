// The entry point's record of the running program: its module instance, its main window and the menu
// bar's shortcut letters. The application object hands it to the resource sets, which load the program's
// own cursors from its module.
#pragma once

#include <cstdint>

#include "platform/kernel/WinTypes.h"

struct ShortcutEntry {
  std::uint16_t command;     // the menu item's command number
  std::uint8_t virtualKey;   // low byte of VkKeyScanA of the shortcut letter
  std::uint8_t shiftState;   // its high byte
};

struct MainWindowRecord {
  static constexpr std::uint32_t kMaxShortcuts = 120;

  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  std::uint32_t count = 0;  // shortcut entries in use
  ShortcutEntry shortcuts[kMaxShortcuts] = {};
};
