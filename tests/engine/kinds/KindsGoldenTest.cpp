#include <gtest/gtest.h>

#include <string>

#include "core/Text1252.h"
#include "engine/EngineTestSupport.h"
#include "engine/geometry/XformTestSupport.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "support/graphics/GoldenPicture.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"

using namespace engine_test;
using engine_testing::StoredXform;

namespace {

const Color kPale(2), kGrey(4), kBlack(1);
const Rect kLetter{0, 0, 16, 16};

SmartRef<CResource> Letter(int depth) { return new CResource(SmartRef<Smart>(~LetterF(depth)->GetBitMap())); }

class KindsGoldenTest : public EngineTest {};

// Pixel for pixel the checked-in pictures, at 8 and 32 bits: a keyed picture frame scaled twice, turned
// by 30 and 90 degrees and skewed by 15, each drawn through the frame's cache on a striped page, and a
// text frame on that page, which shows its erased box behind the text.
TEST_F(KindsGoldenTest, PictureAndTextFramesOnAPage) {
  for (const int depth : {8, 32}) {
    SCOPED_TRACE(depth);
    Prepare(depth, Win95);
    SmartRef<CMoviePic> picture = new CMoviePic(~Letter(depth));
    ASSERT_NE(picture->GetMode() & CMovie::kModeKeyed, 0) << "pictures are keyed from the start";
    // Turned or skewed copies keep their angles and are fitted onto their place on the page; a quarter
    // turn takes the corners past each other, so that one is turned in place and moved.
    const auto fitted = [](std::int16_t rotation, std::int16_t skew, const Rect& place) {
      SmartRef<CXform> xform = StoredXform(kLetter, kLetter, rotation, skew);
      xform->Refit(kLetter, place);
      return xform;
    };
    const SmartRef<CXform> quarterTurn = StoredXform(kLetter, kLetter, 90, 0);
    quarterTurn->Offset(72, 24);
    const SmartRef<CXform> placements[] = {StoredXform(kLetter, {2, 2, 34, 34}, 0, 0),
                                           fitted(30, 0, {42, 6, 64, 28}), quarterTurn,
                                           fitted(0, 15, {96, 6, 116, 26})};
    SmartRef<CResource> words = new CResource(SmartRef<Smart>(new StyledText(
        "Été à l'école"_cp, SmartRef<Smart>(new TextStyle(1, 12, 0, kBlack, standardColors[kTransparentColor])))));
    words->SetBounds(0, 0, 90, 22);
    SmartRef<CMovieText> text = new CMovieText(~words, {0, 0, 90, 22});
    text->SetFramePoint(0, {4, 38});

    const SmartRef<OffScreen> page = Surface(200, 64, depth, kPale);
    for (int y = 0; y < 64; y += 4) Fill(*page->GetBitMap(), {0, y, 200, y + 1}, kGrey);
    {
      DisplayPort port(~page, {0, 0, 200, 64});
      for (const SmartRef<CXform>& placement : placements)
        EXPECT_TRUE(picture->DrawFrameTransformed(port, ~placement, 0, kPale));
      EXPECT_TRUE(text->DrawFrameTransformed(port, nullptr, 0, kPale));
    }
    ExpectGolden(PixelsOf(*page->GetBitMap()), "kinds/frames-" + std::to_string(depth) + ".ppm");
  }
}

// The whole picture of a movie at the screen's depth: over frame 0's bounds, and over the whole bounds
// once asked for.
TEST_F(KindsGoldenTest, TheWholePictureOfAMovie) {
  for (const int depth : {8, 32}) {
    SCOPED_TRACE(depth);
    Prepare(depth, Win95);
    SmartRef<CResource> letter = Letter(depth);
    letter->SetBounds(10, 5, 26, 21);
    SmartRef<CMoviePic> movie = new CMoviePic(~letter);
    movie->SetBounds({0, 0, 40, 30});
    for (const bool whole : {false, true}) {
      gMakeImageWholeBounds = whole;
      const SmartRef<BitMap> picture = movie->MakeImage();
      EXPECT_EQ(picture->GetBitDepth(), ColorTable::GetStandard(static_cast<std::int16_t>(depth))->GetDepth());
      ExpectGolden(PixelsOf(*picture),
                   std::string("kinds/make-image-") + (whole ? "whole-" : "frame-") + std::to_string(depth) + ".ppm");
    }
  }
}

}  // namespace
