// The stage pane's model: its editing range in each mode, its selection, the hits and handles under the
// pointer, and how it follows the player.
#include <gtest/gtest.h>

#include "editor/stage/StageTestSupport.h"
#include "engine/page/CMovieGroup.h"
#include "support/graphics/GoldenPicture.h"

namespace editor_test {
namespace {

using engine_test::GroupOf;

class CHAPaneTest : public StageTest {
 protected:
  std::pair<int, int> Range(bool stored = false) const {
    std::int16_t first, last;
    pane->GetFrameRange(&first, &last, stored);
    return {first, last};
  }
};

TEST_F(CHAPaneTest, ThePagesEditorIsAStagePaneThatFollowsItsPlayer) {
  OnStage([&] {
    Open(MakeStagePage(4));
    EXPECT_EQ(pane->GetBounds(), window.root->GetBounds());
    EXPECT_EQ(pane->GetCurrentFrame(), 0);
    EXPECT_EQ(pane->GetRangeMode(), CHAPane::kCurrentFrame);
    EXPECT_EQ(Range(), std::make_pair(0, 0));
    EXPECT_TRUE(pane->GetSelectionList().NumItems() == 0);
    EXPECT_TRUE(pane->IsActive());
  });
}

struct RangeRow {
  std::int32_t mode;
  bool stored;
  bool overview;
  std::pair<int, int> range;
};

TEST_F(CHAPaneTest, EachRangeModeAnswersItsFrames) {
  OnStage([&] {
    Open(MakeStagePage(4));
    // Range [1, 2]; the player follows to the range's first frame.
    pane->SetFrameRange(1, 2);
    ASSERT_EQ(pane->GetRangeMode(), CHAPane::kStoredRange) << "a range of several frames is a stored range";
    ASSERT_EQ(pane->GetCurrentFrame(), 1);
    const RangeRow rows[] = {
        {CHAPane::kCurrentFrame, false, false, {1, 1}}, {CHAPane::kStoredRange, false, false, {1, 2}},
        {CHAPane::kAllFrames, false, false, {0, 3}},    {CHAPane::kToLastFrame, false, false, {1, 3}},
        {CHAPane::kCurrentFrame, true, false, {1, 2}},  {CHAPane::kAllFrames, true, false, {0, 3}},
        {CHAPane::kToLastFrame, false, true, {1, 1}},
    };
    for (const RangeRow& row : rows) {
      SCOPED_TRACE(row.mode);
      gOverviewActive = row.overview;
      pane->SetRangeMode(row.mode);
      EXPECT_EQ(Range(row.stored), row.range);
    }
  });
}

TEST_F(CHAPaneTest, ARangeStaysInsideThePageAndFitsTheSelection) {
  OnStage([&] {
    Open(MakeStagePage(4));
    RecordingStageListener listener;
    pane->ToggleRangeListener(&listener);
    pane->SetFrameRange(1, 40);
    EXPECT_EQ(Range(true), std::make_pair(1, 3)) << "the last frame is the page's";
    // The player followed into the new range first.
    EXPECT_EQ(listener.told, (std::vector<std::string>{"null", "pane"}));
    listener.told.clear();
    pane->SetFrameRange(1, 3);
    EXPECT_TRUE(listener.told.empty()) << "the same range changes nothing";

    // C is hidden in frame 2: a range over [2, 3] holding it keeps only frame 3.
    pane->SetFrameRange(3, 3);
    pane->SelectSprite(Sprite(3));
    ASSERT_EQ(Selected(), std::vector<int>{3});
    pane->SetFrameRange(2, 3);
    EXPECT_EQ(Range(true), std::make_pair(3, 3));
    EXPECT_EQ(Selected(), std::vector<int>{3});
    // A range where it shows nowhere drops it.
    pane->SetFrameRange(2, 2);
    EXPECT_EQ(Selected(), std::vector<int>{});
    pane->ToggleRangeListener(&listener);
  });
}

TEST_F(CHAPaneTest, ASpriteHiddenInTheRangeIsNotSelected) {
  OnStage([&] {
    Open(MakeStagePage(4));
    pane->SetFrameRange(2, 2);
    pane->SelectSprite(Sprite(3));
    EXPECT_EQ(Selected(), std::vector<int>{});
    pane->SelectSpriteAt(2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    // Extending shows the hidden sprite over the range, which selects it.
    pane->SelectSpriteAt(3, true);
    EXPECT_EQ(Selected(), std::vector<int>{3});
    EXPECT_TRUE(Sprite(3)->IsVisibleInRange(2, 1));
  });
}

TEST_F(CHAPaneTest, SelectingAllPutsTheTopMostFirst) {
  OnStage([&] {
    Open(MakeStagePage(4));
    pane->SetSpriteSelected(nullptr, true);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 2, 1, 0}));
    pane->SetSpriteSelected(Sprite(2), false);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 1, 0}));
    pane->SetSpriteSelected(Sprite(1), true);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 1, 0})) << "a sprite is listed once";
    gOverviewActive = true;
    EXPECT_EQ(Selected(), std::vector<int>{}) << "the overview hides the selection";
  });
}

struct HitRow {
  Point at;
  int index;
  int position;
};

TEST_F(CHAPaneTest, HitsFindTheTopMostSpriteButNeverTheBackground) {
  OnStage([&] {
    Open(MakeStagePage(4));
    pane->SelectSpriteAt(1);
    const HitRow rows[] = {
        {{25, 25}, 1, 0},    // A, selected
        {{110, 70}, 2, -1},  // B
        {{5, 5}, -1, -1},    // the background alone
        {{60, 20}, -1, -1},  // just right of A
        {{59, 49}, 1, 0},    // A's last pixel
    };
    for (const HitRow& row : rows) {
      SCOPED_TRACE(std::to_string(row.at.x) + "," + std::to_string(row.at.y));
      std::int32_t position, index;
      pane->HitTest(row.at.x, row.at.y, &position, &index);
      EXPECT_EQ(index, row.index);
      EXPECT_EQ(position, row.position);
    }
  });
}

TEST_F(CHAPaneTest, HandlesAreTheEightPixelCorners) {
  OnStage([&] {
    const Rect r{20, 20, 60, 50};
    const std::pair<Point, bool> rows[] = {
        {{20, 20}, true},  {{27, 27}, true},  {{28, 27}, false}, {{59, 20}, true}, {{59, 49}, true},
        {{20, 49}, true},  {{27, 42}, true},  {{27, 41}, false}, {{19, 49}, false}, {{20, 50}, false},
        {{40, 35}, false}, {{60, 20}, false},
    };
    for (const auto& [point, on] : rows)
      EXPECT_EQ(CHAPane::IsOnHandle(point, r), on) << point.x << "," << point.y;
  });
}

TEST_F(CHAPaneTest, FollowingThePlayerTellsOrMovesTheRange) {
  OnStage([&] {
    Open(MakeStagePage(4));
    RecordingStageListener listener;
    pane->ToggleRangeListener(&listener);
    pane->SetRangeMode(CHAPane::kAllFrames);
    listener.told.clear();
    pane->GetPlayer()->ShowFrame(2);
    EXPECT_EQ(pane->GetCurrentFrame(), 2);
    EXPECT_EQ(listener.told, std::vector<std::string>{"null"}) << "a frame inside the range";
    pane->SetRangeMode(CHAPane::kCurrentFrame);
    pane->SetFrameRange(2, 2);
    listener.told.clear();
    pane->GetPlayer()->ShowFrame(3);
    EXPECT_EQ(Range(true), std::make_pair(3, 3)) << "the range follows the frame";
    EXPECT_EQ(listener.told, std::vector<std::string>{"pane"});
    pane->ToggleRangeListener(&listener);
  });
}

TEST_F(CHAPaneTest, TheStageShowsTheFrameWithTheSelectionsHandlesAndTheFrameBox) {
  OnStage([&] {
    Open(MakeStagePage(4));
    pane->SetSpriteSelected(Sprite(1), true);
    pane->SetSpriteSelected(Sprite(2), true);
    pane->HandleNumberCommand(2040, nullptr);
    ExpectGolden(Render(), "editor/stage/selection-handles.ppm");
  });
}

TEST_F(CHAPaneTest, APageStoredFromAnotherCornerShowsWholeWhereThePanePutsIt) {
  // The page as the pane places it, and as stored by another program or version from another corner.
  const Point cornersStored[] = {{0, 0}, {0, -50}, {30, 20}};
  OnStage([&] {
    Open(MakeStagePage(3));
    const std::string expected = Layout(*page);
    const std::string saved = SavedLayout();
    const ColourPicture drawn = Render();
    window.root->RemoveSubview(~pane);
    for (const Point& corner : cornersStored) {
      SCOPED_TRACE(std::to_string(corner.x) + "," + std::to_string(corner.y));
      const SmartRef<CShow> stored = MakeStagePage(3);
      CMovieGroup& group = GroupOf(*stored);
      group.OffsetFrames(-1, corner.x, corner.y);
      group.SetBounds(Rect::FromSizeAndOrigin(group.GetBounds().Size(), corner));
      Open(stored);
      engine_test::RecordingDependant listener;
      group.ToggleDependant(&listener);
      // What the page window does with the pane once the page is in it.
      pane->SetBounds(window.root->GetBounds());
      group.ToggleDependant(&listener);
      EXPECT_EQ(group.GetBounds(), window.root->GetBounds());
      EXPECT_EQ(Layout(*page), expected);
      EXPECT_EQ(SavedLayout(), saved) << "saved where it shows";
      EXPECT_EQ(Render().pixels, drawn.pixels);
      EXPECT_TRUE(sink.undoable.empty()) << "a placement is nothing to undo";
      if (corner == Point{0, 0}) EXPECT_TRUE(listener.events.empty()) << "a page already in place is left alone";
      window.root->RemoveSubview(~pane);
    }
    pane = nullptr;
  });
}

}  // namespace
}  // namespace editor_test
