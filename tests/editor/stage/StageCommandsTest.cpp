// The stage pane's numbered commands: what each answers as its status and what it does to the page.
#include <gtest/gtest.h>

#include "editor/stage/StageTestSupport.h"
#include "engine/page/CMovieGroup.h"
#include "support/AlertRecorder.h"

namespace editor_test {
namespace {

using engine_test::GroupOf;

class StageCommandsTest : public StageTest {
 protected:
  void Stage(const std::function<void()>& body) {
    OnStage([&] {
      UseTool(3);
      Open(MakeStagePage(4));
      body();
    });
  }
  int Status(std::int32_t number) { return pane->GetNumberCommandStatus(number); }
  void Perform(std::int32_t number, std::uintptr_t argument = 0) {
    pane->HandleNumberCommand(number, reinterpret_cast<void*>(argument));
  }
  std::int16_t IndexOf(std::int16_t was) const { return GroupOf(*page).IndexOfSprite(sprites[was]); }
  // The four sprites by their first index: background, A, B, C.
  void KeepSprites() {
    for (std::int16_t i = 0; i < 4; ++i) sprites[i] = Sprite(i);
  }
  CSprite* sprites[4] = {};
};

TEST_F(StageCommandsTest, StackingMovesTheSelectionAmongTheSprites) {
  Stage([&] {
    KeepSprites();
    EXPECT_EQ(Status(2026), 3) << "nothing selected";
    EXPECT_EQ(Status(2027), 3);
    pane->SelectSpriteAt(3);
    EXPECT_EQ(Status(2026), 3) << "C is the top-most";
    EXPECT_EQ(Status(2027), 0);
    pane->SelectSpriteAt(1);
    EXPECT_EQ(Status(2026), 0);
    Perform(2026);
    EXPECT_EQ(IndexOf(1), 2) << "one place up";
    Perform(2026, 2);
    EXPECT_EQ(IndexOf(1), 3) << "with bit 1, to the top at once";
    EXPECT_EQ(Status(2026), 3);
    // B goes to the bottom, which the page keeps under its background sprite.
    pane->SelectSpriteAt(IndexOf(2));
    Perform(2027, 2);
    EXPECT_EQ(IndexOf(2), 1);
    EXPECT_EQ(IndexOf(0), 0);
    // Without a sprite named "__Background", only the sprite at index 0 is the lowest.
    EXPECT_EQ(Status(2027), 0);
    pane->SelectSpriteAt(0);
    EXPECT_EQ(Status(2027), 3);
    EXPECT_EQ(sink.undoable.size(), 0u) << "stacking posts no task";
  });
}

TEST_F(StageCommandsTest, TheBackgroundNamedSoStaysAtTheBottom) {
  Stage([&] {
    Sprite(0)->SetName(new String("__Background"));
    pane->SelectSpriteAt(1);
    EXPECT_EQ(Status(2027), 3) << "A lies right above the background";
    pane->SelectSpriteAt(2);
    EXPECT_EQ(Status(2027), 0);
  });
}

TEST_F(StageCommandsTest, PlayStartsFromTheFirstFrameAtTheLastAndStops) {
  Stage([&] {
    pane->GetPlayer()->ShowFrame(3);
    pane->SelectSpriteAt(2);
    EXPECT_EQ(Status(2030), 0);
    EXPECT_EQ(Status(2031), 3);
    Perform(2030);
    EXPECT_TRUE(pane->IsPlaying());
    EXPECT_EQ(pane->GetPlayer()->GetCurrentFrame(), 0);
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 0) << "playing drops the selection";
    EXPECT_EQ(Status(2030), 3);
    EXPECT_EQ(Status(2031), 0);
    EXPECT_EQ(Status(3013), 3) << "no stepping while playing";
    Perform(2031);
    EXPECT_FALSE(pane->IsPlaying());
  });
}

TEST_F(StageCommandsTest, ReversingTheRangeTurnsABCDIntoDCBA) {
  Stage([&] {
    const std::string forwards = Layout(*page);
    pane->SetFrameRange(0, 3);
    EXPECT_EQ(Status(2073), 0);
    Perform(2073);
    for (std::int16_t f = 0; f < 4; ++f) EXPECT_EQ(RectOf(1, f), Rect(20, 50 - 10 * f, 60, 80 - 10 * f)) << f;
    EXPECT_TRUE(RectOf(3, 1).IsEmpty()) << "C, hidden in frame 2, is hidden in frame 1";
    Perform(2073);
    EXPECT_EQ(Layout(*page), forwards);
    pane->SetFrameRange(2, 2);
    Perform(2073);
    EXPECT_EQ(Layout(*page), forwards) << "one frame stays";
  });
}

TEST_F(StageCommandsTest, FrameCommandsStepInsertAndSelectRanges) {
  Stage([&] {
    AlertRecorder recorder;
    Perform(3013);
    EXPECT_EQ(pane->GetCurrentFrame(), 1);
    Perform(3011);
    EXPECT_EQ(pane->GetCurrentFrame(), 3);
    Perform(3013);
    EXPECT_EQ(pane->GetCurrentFrame(), 3) << "nothing past the last frame while nothing is edited";
    EXPECT_EQ(GroupOf(*page).GetFrameCount(), 4);
    Perform(3010);
    Perform(3012);
    EXPECT_EQ(pane->GetCurrentFrame(), 0);

    Perform(2003);
    EXPECT_EQ(pane->GetRangeMode(), CHAPane::kStoredRange);
    EXPECT_EQ(pane->GetRangeStart(), 0);
    EXPECT_EQ(pane->GetRangeEnd(), 3);
    pane->SetFrameRange(2, 2);
    Perform(2001);
    EXPECT_EQ(GroupOf(*page).GetFrameCount(), 5) << "one frame, the number asked keeping its value";
    EXPECT_EQ(pane->GetRangeStart(), 2);
    EXPECT_EQ(pane->GetRangeEnd(), 2);
    EXPECT_TRUE(RectOf(1, 2).IsEmpty()) << "the new frame is blank";

    Perform(2004);
    EXPECT_EQ(pane->GetSelectionList().NumItems(), 4);
    const std::string layout = Layout(*page);
    Perform(2074);
    EXPECT_EQ(Layout(*page), layout) << "the length asked for is the range's own: nothing to stretch";
    EXPECT_TRUE(recorder.Alerts().empty());
  });
}

TEST_F(StageCommandsTest, TogglesAnswerTheirState) {
  Stage([&] {
    AlertRecorder recorder;
    EXPECT_EQ(Status(2040), 0);
    Perform(2040);
    EXPECT_EQ(Status(2040), 1) << "the frame box shows";
    const bool looping = page->ToggleFlag8(false);
    Perform(2042);
    EXPECT_EQ(page->ToggleFlag8(false), !looping);
    EXPECT_EQ(Status(2042), looping ? 0 : 1);
    EXPECT_EQ(Status(2024), 3);
    pane->SelectSpriteAt(2);
    EXPECT_EQ(Status(2024), 1) << "a picture starts transparent";
    Perform(2024);
    EXPECT_EQ(Status(2024), 0);
    EXPECT_FALSE(Sprite(2)->GetMovie()->ToggleMode1(false));
    EXPECT_TRUE(recorder.Alerts().empty());
    // A number the pane does not know is the play pane's, which reports it.
    Perform(2999);
    ASSERT_EQ(recorder.Alerts().size(), 1u);
    EXPECT_EQ(recorder.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
  });
}

}  // namespace
}  // namespace editor_test
