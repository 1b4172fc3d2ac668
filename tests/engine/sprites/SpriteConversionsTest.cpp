#include <gtest/gtest.h>

#include "core/ListData.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/links/CLink.h"
#include "engine/Seams.h"
#include "engine/media/CResource.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/ImageResource.h"

using namespace engine_test;

namespace {

// The program's folder holds the picture shown for sounds (2 x 2) and the stock link button (6 x 3).
class SpriteConversionsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    folder.Write("Data/201.bmp", OneColourBmp(2, 2, 0xFF0000));
    folder.Write("Data/204.bmp", OneColourBmp(6, 3, 0x0000FF));
  }
  // The stock set keeps what it loaded for the whole run; these go with the test's folder.
  void TearDown() override {
    linkButtonPicture = nullptr;
    stockResources.GetImageResource(1)->Purge();
    stockResources.GetImageResource(4)->Purge();
    EngineTest::TearDown();
  }
  // The one frame of a converted sprite shows a one-frame picture movie; its picture's bounds.
  static Rect ShownPicture(const CSprite& sprite) {
    auto* movie = CastSmart<CMoviePic>(sprite.GetMovie());
    if (movie == nullptr || movie->GetFrameCount() != 1 || movie->GetResource(0) == nullptr) return Rect::emptyRect;
    auto* picture = CastSmart<BitMap>(movie->GetResource(0)->GetObject());
    return picture ? picture->GetBounds() : Rect::emptyRect;
  }
};

// A sound becomes a sprite that plays it, not the sprite of a movie that plays it: the sound conversion
// comes before the movie's.
TEST_F(SpriteConversionsTest, ASoundBecomesASpriteOfTheSoundPictureThatPlaysIt) {
  const SmartRef<Sound> sound = MakeSound("RIFF");
  SmartRef<Smart> slot = sound;
  ASSERT_TRUE(ConvertSmart(&slot, &CSprite::classInfo));
  auto* sprite = CastSmart<CSprite>(~slot);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->GetFrameCount(), 1);
  EXPECT_EQ(sprite->GetStartFrame(), 0);
  EXPECT_EQ(sprite->GetSoundAtFrame(0), ~sound);
  EXPECT_EQ(sprite->GetMovie()->GetSound(0), nullptr);
  EXPECT_EQ(ShownPicture(*sprite), Rect(0, 0, 2, 2));
  EXPECT_EQ(sprite->GetPathPoint(0)->offset, Point::origin) << "at the picture's own place";
  ExpectSpriteInvariants(*sprite);

  // A list of sprites takes a sound as such a sprite.
  const SmartRef<ListData> sprites = new ListData(&CSprite::classInfo);
  EXPECT_TRUE(sprites->InsertItemConverted(0, ~sound));
  ASSERT_EQ(sprites->NumItems(), 1);
  EXPECT_EQ(CastSmart<CSprite>(sprites->At(1))->GetSoundAtFrame(0), ~sound);
}

TEST_F(SpriteConversionsTest, AWebAddressBecomesALinkButtonLeadingToIt) {
  struct Case {
    const char* name;
    bool chosenPicture;
    Rect picture;
  } const cases[] = {{"the stock button", false, {0, 0, 6, 3}}, {"the button the user chose", true, {0, 0, 9, 5}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.chosenPicture) linkButtonPicture = new BitMap(9, 5, ColorTable::GetStandard(32));
    const SmartRef<WebAddress> address = new WebAddress("http://exemple.invalid/");
    SmartRef<Smart> slot = address;
    ASSERT_TRUE(ConvertSmart(&slot, &CSprite::classInfo));
    auto* sprite = CastSmart<CSprite>(~slot);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(ShownPicture(*sprite), c.picture);
    CLink* link = sprite->GetLinkAtFrame(0);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetKind(), CLink::kWebAddress);
    EXPECT_EQ(link->GetStoredHref(), static_cast<Persistent*>(~address));
    ExpectSpriteInvariants(*sprite);
  }
}

// Until the web library names its address class, an address does not become a sprite, and no other
// object of a class sprites are not made from ever does; the caller keeps its object.
TEST_F(SpriteConversionsTest, WhatDoesNotBecomeASprite) {
  SetWebAddressHooks({});
  SmartRef<Smart> address = new WebAddress("http://exemple.invalid/");
  SmartRef<Smart> link = new CLink();
  for (SmartRef<Smart>* slot : {&address, &link}) {
    Smart* held = ~*slot;
    SCOPED_TRACE(held->GetClassInfo()->name);
    EXPECT_FALSE(CanConvertSmart(*slot, &CSprite::classInfo));
    EXPECT_FALSE(ConvertSmart(slot, &CSprite::classInfo));
    EXPECT_EQ(~*slot, held);
    const SmartRef<ListData> sprites = new ListData(&CSprite::classInfo);
    EXPECT_FALSE(sprites->InsertItemConverted(0, held));
    EXPECT_EQ(sprites->NumItems(), 0);
  }
}

}  // namespace
