#include "platform/user/KeyState.h"

#include <array>

namespace {
struct KeyBits {
  bool down = false;
  bool toggled = false;
};
std::array<KeyBits, 256>& Keys() {
  static std::array<KeyBits, 256> keys;
  return keys;
}
}  // namespace

SHORT GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  const KeyBits& key = Keys()[static_cast<std::size_t>(virtualKey)];
  return static_cast<SHORT>((key.down ? 0x8000 : 0) | (key.toggled ? 1 : 0));
}

namespace platform {
void SetKeyDown(int virtualKey, bool down) {
  if (virtualKey < 0 || virtualKey > 255) return;
  KeyBits& key = Keys()[static_cast<std::size_t>(virtualKey)];
  if (down && !key.down) key.toggled = !key.toggled;
  key.down = down;
}
}  // namespace platform
