// The background fix-up after a background import, and the picture of a link to a page.
#include <gtest/gtest.h>

#include "editor/browser/CBrowser.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/page/CMovieGroup.h"
#include "graphics/bitmaps/BitMap.h"
#include "support/graphics/GoldenPicture.h"

namespace editor_test {
namespace {

using FitBackgroundTest = StageTest;

TEST_F(FitBackgroundTest, TheImportedBackgroundGoesUnderEverythingAtThePagesSize) {
  OnStage([&] {
    Open(MakeStagePage(3));
    CMovieGroup& group = engine_test::GroupOf(*page);
    // An imported picture of 50 x 40 on top of the page, keyed as clips are.
    CSprite* imported = engine_test::AddSprite(group, *engine_test::SolidPicture(50, 40, 10), 0, 3);
    imported->SetName(new String("__Background"));
    if (!(imported->GetMovie()->GetMode() & CMovie::kModeKeyed)) imported->GetMovie()->ToggleMode1(true);
    ASSERT_TRUE(imported->GetMovie()->GetMode() & CMovie::kModeKeyed);
    pane->SelectSprite(imported);

    FitBackground(~pane);
    // Under every sprite that is not a background: the page's own background stays the lowest.
    EXPECT_EQ(group.GetSprite(1), imported);
    EXPECT_TRUE(imported->ToggleBackgroundFlag(false));
    const Rect movie = imported->GetMovie()->GetBounds();
    EXPECT_EQ(movie.Size(), Point(200, 150));
    EXPECT_FALSE(imported->GetMovie()->GetMode() & CMovie::kModeKeyed);
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 0);

    // A second fix-up leaves the flag set and the sprite where it is.
    FitBackground(~pane);
    EXPECT_TRUE(imported->ToggleBackgroundFlag(false));
    EXPECT_EQ(group.GetSprite(1), imported);
    // Without a background sprite, or a pane, nothing happens.
    imported->SetName(new String("autre"));
    FitBackground(~pane);
    FitBackground(nullptr);
  });
}

TEST_F(FitBackgroundTest, ALinkPictureFramesTheThumbnailKeepingItsShape) {
  OnStage([&] {
    SmartRef<SolidImage> wide(new SolidImage(Rect(0, 0, 64, 24), Color(0xFFFF, 0, 0, 0)));
    SmartRef<BitMap> picture = MakeLinkPicture(*wide, 64, 48);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->GetBounds().Size(), Point(67, 51));
    ExpectGolden(PixelsOf(*picture), "editor/browser-link-picture.ppm");
  });
}

}  // namespace
}  // namespace editor_test
