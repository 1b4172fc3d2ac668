#include <gtest/gtest.h>

#include <string>

#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/geometry/XformTestSupport.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "support/DocumentBytes.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"

using namespace document_testing;
using namespace engine_test;
using engine_testing::RectBytes;

namespace {

class KindsStorageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Prepare(32, Win95);
  }
};

// What every one-frame resource movie over the bounds stores before its resources (objects 2 to 6: the
// empty lists of sounds, colour tables and links, and the frame index), then the list of its resources
// (object 7) with its one resource (object 8), which holds its content as object 9.
std::string OneFrameMoviePart(const Rect& bounds) {
  const std::string oneEmptyEntry = Long(1) + Long(0);
  return Short(1) + RectBytes(bounds) + std::string("\1\0\0\0\0\0\0\0", 8) +
         Long(2) + Long(33) + oneEmptyEntry +   // sounds
         Long(3) + Long(32) + oneEmptyEntry +   // colour tables
         Long(4) + Long(15) + oneEmptyEntry +   // links
         Long(5) + Long(6) + Long(9) + Long(0) +  // the frame index and its empty list of marks
         Long(7) + Long(14) + Long(1) +         // the resources: one,
         Long(8) + Long(9);                     // and its content
}

// The resource's bounds, then the one point, (0, 0).
std::string ResourceEnd(const Rect& bounds) { return RectBytes(bounds) + Long(1) + Long(0) + Long(0); }

std::string ColourBytes(const Color& c) { return Short(c.red) + Short(c.green) + Short(c.blue) + Short(c.flag); }

// A picture movie as documents store it, laid out by hand: the movie part, the resources with the bitmap
// the frame shows, then the points.
TEST_F(KindsStorageTest, APictureMovieIsStoredAsLaidOut) {
  ColorTable* table = ColorTable::GetStandard(24);
  SmartRef<BitMap> pixels = new BitMap(2, 1, table);
  PixelCursor cursor(~pixels, pixels->GetBounds(), true);
  cursor.SetPixel(0x00FF0000);
  cursor.NextPixel();
  cursor.SetPixel(0x000000FF);
  SmartRef<CResource> picture = new CResource(SmartRef<Smart>(~pixels));
  picture->SetBounds(5, 6, 7, 7);
  SmartRef<CMoviePic> movie = new CMoviePic(~picture);
  // The colour table is the graphics library's to lay out; it is stored inside the bitmap as object 10.
  const std::string tableBody = ObjectBody(SaveDocument(SmartRef<Smart>(table)), 1);
  const std::string expected = OneFrameMoviePart({5, 6, 7, 7}) +
                               Short(24) + RectBytes({0, 0, 2, 1}) + Long(10) + tableBody +  // the bitmap,
                               Long(0) + std::string("\0", 1) + Long(6) +                 // no key, 6-byte rows,
                               std::string("\0\0\xFF\xFF\0\0", 6) +                       // its pixels
                               ResourceEnd({5, 6, 7, 7});
  const std::string saved = SaveDocument(movie);
  EXPECT_EQ(ObjectBody(saved, 1), expected);
  SmartRef<CMoviePic> read = CastSmart<CMoviePic>(~ReadDocument(saved, nullptr));
  ASSERT_TRUE(read);
  ASSERT_NE(read->GetResource(0), nullptr);
  auto* readPixels = CastSmart<BitMap>(read->GetResource(0)->GetObject());
  ASSERT_TRUE(readPixels);
  EXPECT_EQ(readPixels->GetPixelValue(1, 0), 0x000000FFu);
  EXPECT_EQ(read->GetBounds(), Rect(5, 6, 7, 7));
  EXPECT_EQ(SaveDocument(read), saved);
}

// A text movie stores its text, plain or styled, as the text's own body; a styled text's style follows it.
TEST_F(KindsStorageTest, TextMoviesAreStoredAsLaidOut) {
  const SmartRef<TextStyle> style = new TextStyle(1, 12, 0, standardColors[1], standardColors[kTransparentColor]);
  struct Case {
    const char* name;
    SmartRef<String> text;
    std::string body;
  } const cases[] = {
      {"plain", new String("Bonjour"), Long(7) + "Bonjour"},
      {"styled", new StyledText(String("Bonjour"), SmartRef<Smart>(~style)),
       Long(7) + "Bonjour" + Long(10) + Long(1) + std::string("\1\0", 2) + Short(12) +
           ColourBytes(standardColors[1]) + ColourBytes(standardColors[kTransparentColor])},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Point size;
    c.text->Measure(size, 80);
    const Rect box{0, 0, 80, size.y};
    SmartRef<CResource> text = new CResource(SmartRef<Smart>(~c.text));
    text->SetBounds(box.left, box.top, box.right, box.bottom);
    SmartRef<CMovieText> movie = new CMovieText(~text, box);
    const std::string saved = SaveDocument(movie);
    EXPECT_EQ(ObjectBody(saved, 1), OneFrameMoviePart(box) + c.body + ResourceEnd(box));
    SmartRef<CMovieText> read = CastSmart<CMovieText>(~ReadDocument(saved, nullptr));
    ASSERT_TRUE(read);
    ASSERT_NE(read->GetResource(0), nullptr);
    auto* readText = CastSmart<String>(read->GetResource(0)->GetObject());
    ASSERT_TRUE(readText);
    EXPECT_EQ(TextOf(*readText), "Bonjour");
    EXPECT_EQ(IsMember<StyledText>(readText), IsMember<StyledText>(~c.text));
    EXPECT_EQ(SaveDocument(read), saved);
  }
}

}  // namespace
