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

// The program's folder holds its own picture for sounds: 2 x 2 pixels, 24 bits.
class MovieConversionsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    std::string bmp = "BM";
    auto put = [&](std::uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>(v >> (8 * i)));
    };
    put(14 + 40 + 16, 4), put(0, 4), put(14 + 40, 4);
    put(40, 4), put(2, 4), put(2, 4), put(1, 2), put(24, 2), put(0, 4), put(16, 4), put(0, 4), put(0, 4), put(0, 4),
        put(0, 4);
    for (int row = 0; row < 2; ++row) bmp += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    folder.Write("Data/201.bmp", bmp);
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

}  // namespace
