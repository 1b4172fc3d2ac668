// The state of the keys and mouse buttons as of the message being handled.
#pragma once

#include "platform/kernel/WinTypes.h"

enum : int {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_CANCEL = 0x03,
  VK_MBUTTON = 0x04,
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_CAPITAL = 0x14,
  VK_F1 = 0x70,
  VK_F10 = 0x79,
  // The bracket keys of the US layout.
  VK_OEM_4 = 0xDB,
  VK_OEM_6 = 0xDD,
};

// High bit (the answer is negative) while the key is down; low bit toggled by each press.
SHORT GetKeyState(int virtualKey);

namespace platform {
// Records a key or button going down or up; the input layer calls it as it delivers each message.
void SetKeyDown(int virtualKey, bool down);
}  // namespace platform
