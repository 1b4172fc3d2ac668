// Painting and typing on the stage: what a new picture becomes, what an edit of a selected sprite does to
// it, a paint stroke over a text or a group, and stretching a range of frames.
#include <gtest/gtest.h>

#include "editor/pixels/CPixPane.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"
#include "ui/text/StyledText.h"

namespace editor_test {
namespace {

using engine_test::AddSprite;
using engine_test::GroupOf;
using engine_test::PlaceAt;

class InPlaceEditingTest : public StageTest {
 protected:
  // The pixel editor's zoom waits on the clock: here it runs as it is read.
  void SetUp() override {
    StageTest::SetUp();
    platform::SetClockForTesting([this] { return now++; });
  }
  static Rect PictureBounds(CPixPane* pixels) {
    Rect r;
    pixels->GetPicture()->GetBounds(&r);
    return r;
  }
  CMovieGroup& Group() const { return GroupOf(*page); }
  CSprite* Last() const { return Sprite(static_cast<std::int16_t>(Group().GetSpriteCount() - 1)); }
  CPixPane* PixelPane() const { return dynamic_cast<CPixPane*>(~pane->GetEditPane()); }
  // Paints the rectangle (stage coordinates) black in the open pixel editor, as a stroke would.
  void Paint(const Rect& rect) {
    CPixPane* pixels = PixelPane();
    ASSERT_NE(pixels, nullptr) << "a picture is edited in place";
    const Rect picture = PictureBounds(pixels);
    const Point origin = pixels->PictureOrigin();
    Rect target = rect;
    target.Offset(-origin.x, -origin.y);
    {
      DisplayPort port(pixels->GetPicture(), picture);
      port.DrawRect(target, standardColors[1], standardColors[1]);
    }
    pixels->MarkChanged(true);
  }
  // A text sprite "Bonjour" at (40, 100) over every frame, on top.
  CSprite* AddText() {
    const SmartRef<StyledText> text = new StyledText(String("Bonjour"), SmartRef<Smart>());
    const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~text));
    const SmartRef<CMovie> movie = new CMovieText(~resource, {0, 0, 80, 20});
    CSprite* sprite = AddSprite(Group(), *movie, 0, Group().GetFrameCount());
    for (std::int16_t f = 0; f < Group().GetFrameCount(); ++f) PlaceAt(*sprite, f, {40, 100});
    return sprite;
  }
};

struct NewPictureRow {
  const char* what;
  Rect painted;
  const char* name;
  bool transparent;
};

TEST_F(InPlaceEditingTest, ANewPictureOverTheWholePaneIsTheOpaqueBackground) {
  const NewPictureRow rows[] = {
      {"the whole pane", {0, 0, 200, 150}, "Fonds", false},
      {"a smaller picture", {30, 40, 70, 60}, "", true},
  };
  OnStage([&] {
    for (const NewPictureRow& row : rows) {
      SCOPED_TRACE(row.what);
      Open(MakeStagePage(3));
      pane->SetFrameRange(1, 1);
      pane->SetEditingKind(ToolsPane::kEditsPicture, true);
      ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture);
      ASSERT_EQ(pane->GetEditPane()->GetBounds(), pane->GetBounds()) << "a new picture is painted over the pane";
      Paint(row.painted);
      pane->SetEditingKind(ToolsPane::kEditsNothing, false);
      EXPECT_EQ(pane->GetEditingKind(), ToolsPane::kEditsNothing);
      EXPECT_EQ(pane->GetEditPane(), nullptr);
      EXPECT_TRUE(window.root->GetSubviews().NumItems() == 1) << "the editor left the stage";
      ASSERT_EQ(Group().GetSpriteCount(), 5);
      EXPECT_EQ(TextOf(*Last()->GetName()), row.name);
      EXPECT_EQ(Last()->GetMovie()->ToggleMode1(false), row.transparent);
      EXPECT_EQ(RectOf(4, 1), row.painted);
      EXPECT_EQ(Last()->GetStartFrame(), 1);
      EXPECT_EQ(Last()->GetFrameCount(), 1);
      const List chosen = pane->GetSelectionList();
      EXPECT_TRUE(chosen.NumItems() == 1 && chosen.At(1) == Last()) << "the new sprite is selected";
    }
  });
}

TEST_F(InPlaceEditingTest, PaintingOverATextOrAGroupMakesANewPictureAndLeavesThemAlone) {
  OnStage([&] {
    Open(MakeStagePage(3));
    CSprite* text = AddText();
    const std::string before = Layout(*page);
    UseTool(101);
    pane->SelectSprite(text);
    // A stroke starting on the text: the paint tool's click selects it, then paints a new picture.
    pane->MouseDown(50, 105, 0, 1, ~window.root);
    ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture);
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 0) << "the text is not what is painted";
    Paint({45, 102, 60, 110});
    pane->FinishEditing(false);
    ASSERT_EQ(Group().GetSpriteCount(), 6);
    EXPECT_EQ(Layout(*page, 3).substr(0, before.size()), before) << "the text keeps its place and frames";
    EXPECT_EQ(RectOf(5, 0), Rect(45, 102, 60, 110));
    EXPECT_TRUE(IsMember<CMoviePic>(Last()->GetMovie()));
  });
}

TEST_F(InPlaceEditingTest, EditingASelectedPictureRefitsItOrClearsItWhenEmptied) {
  OnStage([&] {
    Open(MakeStagePage(3));
    UseTool(101);
    pane->SelectSprite(Sprite(2));
    pane->SetEditingKind(ToolsPane::kEditsPicture, false);
    ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture) << "the selected picture is edited";
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 1);
    // Grown by a stroke out to the right and down.
    Paint({125, 85, 140, 100});
    pane->FinishEditing(false);
    EXPECT_EQ(Group().GetSpriteCount(), 4) << "no new sprite";
    EXPECT_EQ(RectOf(2, 0), Rect(100, 60, 140, 100)) << "the grown picture stays where the sprite was";
    EXPECT_EQ(RectOf(2, 2), Rect(100, 60, 140, 100)) << "every frame showing the picture follows";

    pane->SelectSprite(Sprite(2));
    pane->SetEditingKind(ToolsPane::kEditsPicture, false);
    Paint({0, 0, 200, 150});
    {
      CPixPane* pixels = PixelPane();
      DisplayPort port(pixels->GetPicture(), PictureBounds(pixels));
      port.DrawRect(PictureBounds(pixels), standardColors[0], standardColors[0]);
    }
    pane->FinishEditing(false);
    EXPECT_EQ(RectOf(2, 0), Rect()) << "an emptied picture clears the sprite from the range start";
    EXPECT_FALSE(RectOf(2, 1).IsEmpty());
  });
}

TEST_F(InPlaceEditingTest, AStrokeOnAnEmptySpotMakesANewPictureWhereItWasPainted) {
  OnStage([&] {
    Open(MakeStagePage(3));
    UseTool(101);
    pane->MouseDown(70, 120, 0, 1, ~window.root);
    ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture);
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 0);
    Paint({65, 115, 85, 130});
    pane->FinishEditing(false);
    ASSERT_EQ(Group().GetSpriteCount(), 5);
    EXPECT_EQ(RectOf(4, 0), Rect(65, 115, 85, 130));
    EXPECT_EQ(RectOf(2, 0), Rect(100, 60, 130, 90)) << "the picture next to it is left alone";
  });
}

TEST_F(InPlaceEditingTest, PictureEditingOfATextStartsANewPictureOnlyOverTheWholePane) {
  OnStage([&] {
    Open(MakeStagePage(2));
    CSprite* text = AddText();
    pane->SelectSprite(text);
    pane->SetEditingKind(ToolsPane::kEditsPicture, false);
    EXPECT_EQ(pane->GetEditingKind(), ToolsPane::kEditsNothing);
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 1) << "nothing edited, nothing changed";
    pane->SetEditingKind(ToolsPane::kEditsPicture, true);
    EXPECT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture);
    EXPECT_EQ(pane->GetEditPane()->GetBounds(), pane->GetBounds());
    pane->FinishEditing(false);
    EXPECT_EQ(Group().GetSpriteCount(), 5) << "an unpainted picture makes no sprite";
  });
}

TEST_F(InPlaceEditingTest, StretchingResamplesTheRangeAndSelectsTheNewOne) {
  OnStage([&] {
    Open(MakeStagePage(6));
    // A moves down 10 pixels a frame: frames 1 to 4 shrunk to 2 keep the last of each pair, frames 2 and
    // 4, as the movie's resampling drops frames.
    pane->StretchMotion(1, 4, 2);
    EXPECT_EQ(Group().GetFrameCount(), 4);
    EXPECT_EQ(RectOf(1, 0), Rect(20, 20, 60, 50));
    EXPECT_EQ(RectOf(1, 1), Rect(20, 40, 60, 70));
    EXPECT_EQ(RectOf(1, 2), Rect(20, 60, 60, 90));
    EXPECT_EQ(RectOf(1, 3), Rect(20, 70, 60, 100)) << "the frames after the range follow";
    std::int16_t first, last;
    pane->GetFrameRange(&first, &last, true);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 2);
    for (std::int16_t same : {0, 4}) {
      pane->StretchMotion(1, same == 0 ? 2 : 0, same == 0 ? 2 : 3);
      EXPECT_EQ(Group().GetFrameCount(), 4) << "equal or empty lengths change nothing";
    }
  });
}

}  // namespace
}  // namespace editor_test
