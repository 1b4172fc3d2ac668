#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/page/PageTestSupport.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/Netpbm.h"

using namespace engine_test;

namespace {

using PageRenders = PageTest;

ColourPicture PixelsOf(BitMap& bitmap) {
  const Rect b = bitmap.GetBounds();
  ColourPicture picture{b.Width(), b.Height(), {}};
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const Color c = bitmap.GetPixelColor(bitmap.GetPixelValue(x, y));
      picture.pixels.push_back(static_cast<std::uint32_t>(c.red >> 8) << 16 | static_cast<std::uint32_t>(c.green >> 8) << 8 |
                               (c.blue >> 8));
    }
  }
  return picture;
}

// The rich page at 8 and 32 bits: frame 1 and frame 2 (with a dimmed rectangle) in full, one above the
// other, and the thumbnails of the four frames in a row below them. Pixel for pixel the checked-in
// pictures; QUILLORY_UPDATE_GOLDEN=1 writes them again after a deliberate change.
TEST_F(PageRenders, GoldenRenders) {
  for (const int depth : {8, 32}) {
    SCOPED_TRACE(depth);
    Prepare(depth, Win95);
    const SmartRef<CShow> page = MakeRichPage();
    const Rect bounds{0, 0, 480, 360};
    const SmartRef<OffScreen> canvas =
        new OffScreen(480, 765, ColorTable::GetStandard(static_cast<std::int16_t>(depth)), Color(0), true);
    {
      DisplayPort first(~canvas, bounds);
      page->DrawFrame(first, 1, bounds, 0, nullptr, Rect::emptyRect);
    }
    {
      DisplayPort second(~canvas, {0, 360, 480, 720});
      page->DrawFrame(second, 2, {0, 360, 480, 720}, 0, nullptr, {150, 460, 330, 560});
    }
    {
      DisplayPort strip(~canvas, {0, 720, 480, 765});
      for (std::int16_t f = 0; f < 4; ++f) {
        const SmartRef<CStamp> thumbnail = page->GetFrameStamp(strip, f);
        ASSERT_TRUE(thumbnail);
        thumbnail->DrawScaled(strip, Rect::FromSizeAndOrigin(thumbnail->GetBounds().Size(), {f * 64, 720}), kDrawOpaque);
      }
    }
    const ColourPicture picture = PixelsOf(*canvas->GetBitMap());
    const std::string name = "pages/rich-" + std::to_string(depth) + ".ppm";
    const std::string golden = std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + name;
    if (const char* update = std::getenv("QUILLORY_UPDATE_GOLDEN"); update && *update == '1') {
      ASSERT_TRUE(WritePpm(golden, picture));
    }
    const auto expected = ReadPpm(golden);
    ASSERT_TRUE(expected) << golden;
    if (!(*expected == picture)) {
      const std::string actual = std::string(QUILLORY_BINARY_DIR) + "/rich-" + std::to_string(depth) + ".actual.ppm";
      WritePpm(actual, picture);
      ADD_FAILURE() << "the render differs from " << golden << "; it is in " << actual;
    }
  }
}

}  // namespace
