// What the screen shows at the mouse, as the window system hands it to the back end that draws it.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// One value per pixel, rows top first.
enum class CursorPixel : std::uint8_t { Transparent, Black, White, Invert };
struct CursorImage {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<CursorPixel> pixels;
};

}  // namespace platform
