// The program's icons, loaded by number, and the icon the screen shows for the program: its main
// window's class icon.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/kernel/WinTypes.h"

// The program's icon `name` (a number made with MAKEINTRESOURCEA): shared, never destroyed. Null, with
// ERROR_RESOURCE_NAME_NOT_FOUND, when the program has no good icon of that number. The module is
// ignored: the program has one set of resources.
HICON LoadIconA(HINSTANCE module, LPCSTR name);

namespace platform {

// One icon of the program: its number, its picture as a packed DIB (the 40-byte header, the colour table,
// then the rows, bottom row first), and its mask: one bit a pixel, rows top first, each padded to 32
// bits, most significant bit first; a set bit leaves the pixel out.
struct IconResource {
  UINT id;
  std::span<const BYTE> packedDIB;
  std::span<const BYTE> mask;
};
// Installs icons of the program; later registrations add to them (ids must not repeat).
void RegisterIconResources(std::span<const IconResource> icons);

// An icon's pixels, 0xAARRGGBB with alpha 0 or 255, rows top first.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};
// The pixels of a loaded icon; null for anything else.
const IconImage* IconImageOf(HICON icon);

// The icon of the program's main window (the bottom-most shown top-level window): its class's icon, or
// null when it has none or no window is shown.
HICON MainWindowIcon();

}  // namespace platform
