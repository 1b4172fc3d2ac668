#include <gtest/gtest.h>

#include <string>

#include "core/Resources.h"
#include "core/Sound.h"
#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/ImageResource.h"

using namespace engine_test;

namespace {

// The program's folder holds its own picture for sounds: 2 x 2 pixels.
class MovieConversionsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    folder.Write("Data/201.bmp", OneColourBmp(2, 2, 0xFF0000));
  }
  // The stock set keeps what it loaded for the whole run; this one goes with the test's screen.
  void TearDown() override {
    stockResources.GetImageResource(1)->Purge();
    EngineTest::TearDown();
  }
};

TEST_F(MovieConversionsTest, PicturesSoundsAndTextsBecomeOneFrameMovies) {
  SmartRef<Smart> picture = new BitMap(6, 4, ColorTable::GetStandard(32));
  Smart* held = ~picture;
  ASSERT_TRUE(ConvertSmart(&picture, &CMovie::classInfo));
  auto* pictureMovie = CastSmart<CMoviePic>(~picture);
  ASSERT_NE(pictureMovie, nullptr);
  EXPECT_EQ(pictureMovie->GetFrameCount(), 1);
  EXPECT_EQ(pictureMovie->GetResource(0)->GetObject(), held);
  EXPECT_EQ(pictureMovie->GetBounds(), Rect(0, 0, 6, 4));

  SmartRef<Sound> sound = MakeSound("RIFF");
  SmartRef<Smart> fromSound = sound;
  ASSERT_TRUE(ConvertSmart(&fromSound, &CMovie::classInfo));
  auto* soundMovie = CastSmart<CMoviePic>(~fromSound);
  ASSERT_NE(soundMovie, nullptr);
  EXPECT_EQ(soundMovie->GetSound(0), ~sound);
  auto* shown = CastSmart<BitMap>(soundMovie->GetResource(0)->GetObject());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->GetBounds(), Rect(0, 0, 2, 2)) << "the picture shown for sounds";

  SmartRef<String> words = new String("Bonjour");
  Point size;
  words->Measure(size, 0);
  SmartRef<Smart> text = words;
  ASSERT_TRUE(ConvertSmart(&text, &CMovie::classInfo));
  auto* textMovie = CastSmart<CMovieText>(~text);
  ASSERT_NE(textMovie, nullptr);
  EXPECT_EQ(textMovie->GetBounds(), Rect(0, 0, size.x, size.y));

  SmartRef<Smart> other = new CResource(SmartRef<Smart>(~words));
  EXPECT_FALSE(ConvertSmart(&other, &CMovie::classInfo));
  EXPECT_TRUE(IsMember<CResource>(~other));
}

// The one conversion that goes back: a movie becomes the picture of its frame 0.
TEST_F(MovieConversionsTest, AMovieGoesBackToThePictureOfItsFirstFrame) {
  const ClassConversion* fromImage = CMovie::classInfo.conversions;
  ASSERT_EQ(fromImage->source, &Image::classInfo);
  ASSERT_NE(fromImage->convertBack, nullptr);
  SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new BitMap(6, 4, ColorTable::GetStandard(32))));
  resource->SetBounds(3, 2, 9, 6);
  SmartRef<Smart> slot = new CMoviePic(~resource);
  ASSERT_TRUE(fromImage->convertBack(&slot));
  auto* picture = CastSmart<BitMap>(~slot);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetBounds(), Rect(0, 0, 6, 4));

  SmartRef<Smart> notAMovie = new String("mot");
  EXPECT_FALSE(fromImage->convertBack(&notAMovie));
  EXPECT_TRUE(IsMember<String>(~notAMovie));
}

}  // namespace
