#include "support/ScreenPixels.h"

#include <cstddef>

#include "platform/user/Screen.h"

namespace {

std::uint32_t At(const std::vector<std::uint32_t>& screen, int x, int y) {
  const auto width = static_cast<std::size_t>(platform::GetScreenSize().cx);
  return screen[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] & 0xFFFFFF;
}

}  // namespace

std::uint32_t ScreenPixel(int x, int y) { return At(platform::ComposeScreen(), x, y); }

ColourPicture ScreenPicture(RECT r) {
  const std::vector<std::uint32_t>& screen = platform::ComposeScreen();
  ColourPicture picture{r.right - r.left, r.bottom - r.top, {}};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) picture.pixels.push_back(At(screen, x, y));
  return picture;
}
