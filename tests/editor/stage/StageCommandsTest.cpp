// The stage pane's numbered commands: what each answers as its status and what it does to the page.
#include <gtest/gtest.h>

#include "editor/stage/StageTestSupport.h"
#include "editor/pixels/CPixPane.h"
#include "engine/links/CFrameIndex.h"
#include "engine/page/CMovieGroup.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"
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

// The status of each command in the pane's four states: idle, with B selected, playing, and painting a
// new picture in place.
struct StatusRow {
  std::int32_t number;
  int idle, selected, playing, painting;
};

TEST_F(StageCommandsTest, EachCommandsStatusFollowsTheSelectionPlayingAndEditing) {
  constexpr std::int32_t kFirstMark = -(21 * 65536);
  const StatusRow rows[] = {
      {kFirstMark, 3, 3, 3, 3}, {7, 3, 3, 3, 3},    {16, 3, 3, 3, 3},   {18, 3, 3, 3, 3},   {21, 3, 3, 3, 3},
      {2001, 0, 0, 0, 0},       {2002, 0, 0, 0, 0}, {2003, 0, 0, 0, 0}, {2004, 0, 0, 0, 0}, {2005, 3, 3, 3, 3},
      {2006, 3, 3, 3, 3},       {2010, 0, 0, 0, 0}, {2011, 0, 0, 0, 0}, {2013, 3, 3, 3, 3}, {2022, 3, 0, 3, 3},
      {2024, 3, 1, 3, 3},       {2026, 3, 0, 3, 3}, {2027, 3, 0, 3, 3}, {2030, 0, 0, 3, 0}, {2031, 3, 3, 0, 3},
      {2032, 0, 0, 0, 0},       {2034, 0, 0, 0, 0}, {2040, 0, 0, 0, 0}, {2043, 0, 0, 0, 0}, {2044, 0, 0, 0, 3},
      {2046, 0, 0, 0, 0},       {2073, 0, 0, 0, 0}, {2074, 0, 0, 0, 0}, {3010, 0, 0, 3, 0}, {3011, 0, 0, 3, 0},
      {3012, 0, 0, 3, 0},       {3013, 0, 0, 3, 0},
  };
  // The pixel editor's zoom waits on the clock: here it runs as it is read.
  platform::SetClockForTesting([this] { return now++; });
  Stage([&] {
    const auto statuses = [&](int StatusRow::*column, const char* state) {
      for (const StatusRow& row : rows) EXPECT_EQ(Status(row.number), row.*column) << state << ", " << row.number;
    };
    statuses(&StatusRow::idle, "idle");
    pane->SelectSpriteAt(2);
    statuses(&StatusRow::selected, "B selected");
    Perform(2030);
    ASSERT_TRUE(pane->IsPlaying());
    statuses(&StatusRow::playing, "playing");
    Perform(2031);
    pane->SetEditingKind(ToolsPane::kEditsPicture, true);
    ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture);
    statuses(&StatusRow::painting, "painting");
    pane->FinishEditing(false);
    gOverviewActive = true;
    EXPECT_EQ(Status(2003), 3) << "no new range while the overview is open";
  });
}

// The selection and range commands that end in the pair of "Not implemented." notices.
struct NoticeRow {
  const char* what;
  std::int32_t number;
  std::int16_t frame;            // shown first
  std::vector<int> before;       // selected first
  bool overview;
  std::vector<int> selected;
  std::pair<int, int> range;
};

TEST_F(StageCommandsTest, SelectionAndRangeCommandsChangeWhatTheyNameAndGiveTheirNotices) {
  const NoticeRow rows[] = {
      {"2002 selects every sprite", 2002, 1, {}, false, {3, 2, 1, 0}, {1, 1}},
      {"2005 takes every frame", 2005, 1, {2}, false, {2}, {0, 3}},
      {"2006 empties the selection", 2006, 1, {2, 1}, false, {}, {1, 1}},
      {"2013 takes the top-most sprite of the frame", 2013, 1, {}, false, {3}, {1, 1}},
      {"2013 passes over a hidden one", 2013, 2, {}, false, {2}, {2, 2}},
      {"2013 keeps a selection", 2013, 1, {1}, false, {1}, {1, 1}},
      {"2013 selects nothing under the overview", 2013, 1, {}, true, {}, {1, 1}},
  };
  Stage([&] {
    AlertRecorder recorder;
    for (const NoticeRow& row : rows) {
      SCOPED_TRACE(row.what);
      Open(MakeStagePage(4));
      pane->GetPlayer()->ShowFrame(row.frame);
      for (int index : row.before) pane->SetSpriteSelected(Sprite(static_cast<std::int16_t>(index)), true);
      gOverviewActive = row.overview;
      const std::string layout = Layout(*page);
      Perform(row.number);
      gOverviewActive = false;
      EXPECT_EQ(Selected(), row.selected);
      std::int16_t first, last;
      pane->GetFrameRange(&first, &last, false);
      EXPECT_EQ(std::make_pair(int{first}, int{last}), row.range);
      EXPECT_EQ(Layout(*page), layout) << "no sprite moves";
    }
    // Each place says once that its part is not there yet; nothing else is reported.
    EXPECT_FALSE(recorder.Alerts().empty());
    for (const RecordedAlert& alert : recorder.Alerts()) EXPECT_EQ(alert.text.rfind("Not implemented.", 0), 0u);
  });
}

// The next frame while a picture is painted in place: the picture goes on in the next frame, on the
// sprite it is stored in, shown there where it is now.
struct StepRow {
  const char* what;
  std::int16_t frame;    // painted at
  std::int16_t sprite;   // edited (selected); -1 a new picture
  bool paint;            // the new picture is painted, else left blank
  std::int16_t shown;    // the frame after the step
  std::int16_t carried;  // the sprite edited after it, -1 none
  Rect placed;           // its rectangle in the frame shown
};

TEST_F(StageCommandsTest, TheNextFrameCarriesAPictureEditedInPlaceOnToIt) {
  const StepRow rows[] = {
      {"B, shown in the next frame", 1, 2, false, 2, 2, {100, 60, 130, 90}},
      {"C, hidden in the next frame", 1, 3, false, 2, 3, {150, 100, 170, 120}},
      {"B at the last frame", 3, 2, false, 4, 2, {100, 60, 130, 90}},
      {"a new picture, painted", 0, -1, true, 1, 4, {30, 40, 50, 60}},
      {"a new picture, left blank", 0, -1, false, 1, -1, {}},
  };
  platform::SetClockForTesting([this] { return now++; });
  Stage([&] {
    for (const StepRow& row : rows) {
      SCOPED_TRACE(row.what);
      Open(MakeStagePage(4));
      pane->GetPlayer()->ShowFrame(row.frame);
      if (row.sprite >= 0) pane->SelectSprite(Sprite(row.sprite));
      pane->SetEditingKind(ToolsPane::kEditsPicture, row.sprite < 0);
      ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture);
      if (row.paint) {
        auto* pixels = dynamic_cast<CPixPane*>(~pane->GetEditPane());
        ASSERT_NE(pixels, nullptr);
        Rect picture;
        pixels->GetPicture()->GetBounds(&picture);
        {
          DisplayPort port(pixels->GetPicture(), picture);
          port.DrawRect({30, 40, 50, 60}, standardColors[1], standardColors[1]);
        }
        pixels->MarkChanged(true);
      }
      const Rect before = row.sprite >= 0 ? RectOf(row.sprite, row.frame) : Rect();
      Perform(3013);
      EXPECT_EQ(pane->GetCurrentFrame(), row.shown);
      EXPECT_EQ(pane->GetPlayer()->GetCurrentFrame(), row.shown);
      if (row.carried < 0) {
        EXPECT_EQ(pane->GetEditingKind(), ToolsPane::kEditsNothing);
        EXPECT_EQ(GroupOf(*page).GetSpriteCount(), 4) << "a blank picture makes no sprite";
        continue;
      }
      EXPECT_EQ(pane->GetEditingKind(), ToolsPane::kEditsPicture) << "the painting goes on";
      EXPECT_EQ(Selected(), std::vector<int>{row.carried});
      EXPECT_EQ(RectOf(row.carried, row.shown), row.placed);
      if (row.sprite >= 0) {
        EXPECT_EQ(RectOf(row.sprite, row.frame), before) << "the frame left is as it was";
      }
      pane->FinishEditing(false);
      EXPECT_EQ(GroupOf(*page).GetSpriteCount(), row.sprite >= 0 ? 4 : 5) << "the same sprite, no other";
    }
  });
}

// The rest of the table: a frame mark's number goes to the mark's frame; 7 ends the painting in place and
// is the play pane's otherwise; 2044 is the page's, which says it is not there yet; 16 does nothing.
struct EffectRow {
  const char* what;
  std::int32_t number;
  bool painting;        // a new picture is open when the command comes
  int frame;            // the frame shown after it
  bool stillPainting;
  const char* notice;   // the start of the one alert it gives, or null
};

TEST_F(StageCommandsTest, FrameMarksEndingAndTheCommandsNotThereYet) {
  constexpr std::int32_t kMarks = -(21 * 65536);
  const EffectRow rows[] = {
      {"the first frame mark", kMarks - 1, false, 2, false, nullptr},
      {"a mark the page lacks", kMarks - 5, false, 1, false, nullptr},
      {"7 while painting", 7, true, 1, false, nullptr},
      {"7 with nothing open", 7, false, 1, false, "Not implemented."},
      {"2044", 2044, false, 1, false, "Not implemented."},
      {"16", 16, true, 1, true, nullptr},
  };
  platform::SetClockForTesting([this] { return now++; });
  Stage([&] {
    for (const EffectRow& row : rows) {
      SCOPED_TRACE(row.what);
      Open(MakeStagePage(4));
      // The page's one mark is at frame 2.
      GroupOf(*page).GetFrameIndex()->FindMark(2, true);
      pane->GetPlayer()->ShowFrame(1);
      if (row.painting) pane->SetEditingKind(ToolsPane::kEditsPicture, true);
      const std::string layout = Layout(*page);
      AlertRecorder recorder;
      Perform(row.number);
      EXPECT_EQ(pane->GetCurrentFrame(), row.frame);
      std::int16_t first, last;
      pane->GetFrameRange(&first, &last, false);
      EXPECT_EQ(std::make_pair(int{first}, int{last}), std::make_pair(row.frame, row.frame));
      EXPECT_EQ(pane->GetEditingKind() == ToolsPane::kEditsPicture, row.stillPainting);
      EXPECT_EQ(Layout(*page), layout) << "no sprite moves";
      if (row.notice == nullptr) {
        EXPECT_TRUE(recorder.Alerts().empty());
      } else {
        ASSERT_EQ(recorder.Alerts().size(), 1u);
        EXPECT_EQ(recorder.Alerts()[0].text.rfind(row.notice, 0), 0u);
      }
      pane->FinishEditing(false);
    }
  });
}

}  // namespace
}  // namespace editor_test
