#include "support/graphics/GoldenPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "graphics/bitmaps/BitMap.h"

ColourPicture PixelsOf(BitMap& bitmap) {
  const Rect b = bitmap.GetBounds();
  ColourPicture picture{b.Width(), b.Height(), {}};
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const Color c = bitmap.GetPixelColor(bitmap.GetPixelValue(x, y));
      picture.pixels.push_back(static_cast<std::uint32_t>(c.red >> 8) << 16 |
                               static_cast<std::uint32_t>(c.green >> 8) << 8 | (c.blue >> 8));
    }
  }
  return picture;
}

void ExpectGolden(const ColourPicture& picture, const std::string& name) {
  const std::string golden = std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + name;
  if (const char* update = std::getenv("QUILLORY_UPDATE_GOLDEN"); update && *update == '1') {
    ASSERT_TRUE(WritePpm(golden, picture)) << golden;
  }
  const auto expected = ReadPpm(golden);
  ASSERT_TRUE(expected) << golden;
  if (*expected == picture) return;
  std::string flat = name;
  std::replace(flat.begin(), flat.end(), '/', '-');
  const std::string actual = std::string(QUILLORY_BINARY_DIR) + "/" + flat + ".actual.ppm";
  WritePpm(actual, picture);
  ADD_FAILURE() << "the render differs from " << golden << "; it is in " << actual;
}
