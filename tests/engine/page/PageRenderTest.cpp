#include <gtest/gtest.h>

#include <string>

#include "engine/page/PageTestSupport.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/graphics/GoldenPicture.h"

using namespace engine_test;

namespace {

using PageRenders = PageTest;

// The rich page at 8 and 32 bits: frame 1 and frame 2 (with a dimmed rectangle) in full, one above the
// other, and the thumbnails of the four frames in a row below them, pixel for pixel the checked-in pictures.
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
    ExpectGolden(PixelsOf(*canvas->GetBitMap()), "pages/rich-" + std::to_string(depth) + ".ppm");
  }
}

}  // namespace
