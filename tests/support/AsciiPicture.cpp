#include "support/AsciiPicture.h"

std::string AsciiPicture(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel,
                         const PictureKey& key, char other) {
  std::string picture;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t value = pixel(x, y);
      char c = other;
      for (const auto& [keyed, letter] : key)
        if (value == keyed) c = letter;
      picture += c;
    }
    picture += '\n';
  }
  return picture;
}
