// Keyboard translation: characters from keys, key codes from characters, and accelerator tables.
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/user/Message.h"

// The key that types a character (low byte) and the shift state it needs (high byte: 1 Shift, 2 Ctrl, 4
// Alt); -1 when no key types it. Letters give their own key, whatever the keyboard's layout.
SHORT VkKeyScanA(CHAR character);

enum : BYTE { FVIRTKEY = 0x01, FNOINVERT = 0x02, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };

struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};

// A copy of the entries; null (ERROR_INVALID_PARAMETER) without any.
HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// A key down (or, for entries without FVIRTKEY, a character) matching an entry, with exactly the entry's
// Shift, Ctrl and Alt held as of the message, is sent to the window as WM_COMMAND with the entry's command
// in the low word and 1 in the high word; answers whether the message was translated. When the command is
// an item of the window's menu bar, the window gets WM_INITMENU first, and nothing is sent for a greyed
// item.
int TranslateAcceleratorA(HWND window, HACCEL table, const MSG* msg);
