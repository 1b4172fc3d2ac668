// The frame overview: its cells for the page's size and style, its clicks on pictures and gaps, the
// frame numbers it draws, and command 2062 that opens and closes its window.
#include <gtest/gtest.h>

#include <string>

#include "editor/browser/CChoreStrips.h"
#include "editor/overview/COverview.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/stage/StageTestSupport.h"
#include "ui/views/WindowFrame.h"
#include "engine/EngineOptions.h"
#include "engine/page/CMovieGroup.h"
#include "support/AlertRecorder.h"

namespace editor_test {
namespace {

class COverviewTest : public StageTest {
 protected:
  void TearDown() override {
    gEngineOptions = savedOptions;
    gOverviewScale = 8;
    StageTest::TearDown();
  }
  // An overview of the pane's page in a window of its own, laid out.
  SmartRef<COverview> MakeOverview(TestWindow& board) {
    SmartRef<COverview> overview(new COverview(~board.root, false));
    board.root->AddSubview(~overview);
    overview->SetPane(~pane);
    overview->Layout();
    return overview;
  }
  std::uint32_t savedOptions = gEngineOptions;
};

TEST_F(COverviewTest, CellsFollowThePageSizeTheScaleAndTheStyle) {
  OnStage([&] {
    Open(engine_test::MakePage({0, 0, 480, 360}, 10));
    TestWindow board(600, 300);
    struct Case {
      const char* name;
      std::uint32_t options;
      std::int16_t scale, storedScale;
      std::int16_t width, height;
    } cases[] = {
        {"film strips at an eighth", 0, 8, 8, 66, 63},
        {"compact at an eighth", kOptionCompactOverview, 8, 8, 66, 53},
        {"scale 0 is held at 1", 0, 0, 1, 486, 378},
        {"scale 300 is held at 256", 0, 300, 256, 7, 19},
    };
    for (const Case& c : cases) {
      gEngineOptions = c.options;
      gOverviewScale = c.scale;
      SmartRef<COverview> overview = MakeOverview(board);
      EXPECT_EQ(gOverviewScale, c.storedScale) << c.name;
      EXPECT_EQ(overview->GetCellWidth(), c.width) << c.name;
      EXPECT_EQ(overview->GetCellHeight(), c.height) << c.name;
      EXPECT_EQ(overview->GetColumns(), std::max(1, (600 - 2) / c.width)) << c.name;
      board.root->RemoveSubview(~overview);
    }
    gEngineOptions = 0;
    gOverviewScale = 8;
    SmartRef<COverview> overview = MakeOverview(board);
    // Film strips: the picture starts 4 pixels into the cell and 9 into the row.
    EXPECT_EQ(overview->PictureRect(0), Rect(4, 9, 64, 54));
    EXPECT_EQ(overview->GetColumns(), 9);
    EXPECT_EQ(overview->PictureRect(10), Rect(4 + 66, 9 + 63, 64 + 66, 54 + 63));
    std::int32_t min = -1, max = -1;
    overview->GetRange(0, &min, &max);
    EXPECT_EQ(max, 1);
    EXPECT_EQ(overview->GetPageSize(0), 2);
    board.root->RemoveAllSubviews();
  });
}

TEST_F(COverviewTest, ClicksSelectFramesAndGaps) {
  OnStage([&] {
    Open(engine_test::MakePage({0, 0, 480, 360}, 5));
    TestWindow board(600, 300);
    gEngineOptions = 0;
    SmartRef<COverview> overview = MakeOverview(board);
    UseTool(1);
    struct Case {
      const char* name;
      Point at;
      std::int16_t first, last;
    } cases[] = {
        {"a picture", {overview->PictureRect(2).left + 10, 20}, 2, 2},
        {"the gap before frame 0", {1, 20}, 0, -1},
        {"the gap between frames 1 and 2", {overview->PictureRect(2).left - 2, 20}, 2, 1},
        {"the gap after the last frame", {overview->PictureRect(4).right + 2, 20}, 5, 4},
    };
    for (const Case& c : cases) {
      EXPECT_TRUE(overview->MouseDown(c.at.x, c.at.y, 0, 1, nullptr)) << c.name;
      EXPECT_EQ(overview->GetFirstSelected(), c.first) << c.name;
      EXPECT_EQ(overview->GetLastSelected(), c.last) << c.name;
    }
    // Below the last frame of the last row: nothing happens.
    overview->MouseDown(overview->PictureRect(1).left + 5, 200, 0, 1, nullptr);
    EXPECT_EQ(overview->GetFirstSelected(), 5);

    // A stretch tool clicked before the first selected frame stretches nothing.
    overview->MouseDown(overview->PictureRect(3).left + 5, 20, 0, 1, nullptr);
    UseTool(15);
    AlertRecorder alerts;
    overview->MouseDown(overview->PictureRect(1).left + 5, 20, 0, 1, nullptr);
    EXPECT_TRUE(alerts.Alerts().empty());
    board.root->RemoveAllSubviews();
  });
}

TEST_F(COverviewTest, StretchToolsResampleTheSelectionToEndAtTheClickedFrame) {
  OnStage([&] {
    // A moves 10 pixels down a frame: at frame f its top is 20 + 10 f. The page's frames are resampled
    // without drawing in between: a stretch leaves blank frames between the ones it keeps.
    struct Case {
      const char* name;
      std::int32_t tool;
      std::int16_t first, last, clicked;
      std::int16_t frames;
      std::vector<int> tops;  // A's top in every frame after the stretch, -1 where it is hidden
    } cases[] = {
        {"frames 1 and 2 stretched to 1..4", 15, 1, 2, 4, 8, {20, 30, -1, -1, 40, 50, 60, 70}},
        {"frames 1 to 4 squeezed to 1..2", 18, 1, 4, 2, 4, {20, 40, 60, 70}},
        {"a click on the selection's last frame", 15, 1, 2, 2, 6, {20, 30, 40, 50, 60, 70}},
        {"a click before the first selected frame", 15, 2, 3, 1, 6, {20, 30, 40, 50, 60, 70}},
    };
    for (const Case& c : cases) {
      Open(MakeStagePage(6));
      TestWindow board(600, 300);
      gEngineOptions = 0;
      SmartRef<COverview> overview = MakeOverview(board);
      board.MakeFront();
      pane->SetFrameRange(c.first, c.last);
      pane->SetRangeMode(CHAPane::kStoredRange);
      EXPECT_EQ(overview->GetFirstSelected(), c.first) << c.name;
      EXPECT_EQ(overview->GetLastSelected(), c.last) << c.name;
      UseTool(c.tool, true);
      const SmartRef<CTool> tool = tools->GetCurrentTool();
      tool->SetActive(true);
      AlertRecorder alerts;
      EXPECT_TRUE(overview->MouseDown(overview->PictureRect(c.clicked).left + 10, 20, 0, 1, nullptr)) << c.name;
      EXPECT_TRUE(alerts.Alerts().empty()) << c.name;
      EXPECT_FALSE(tool->IsActive()) << c.name;
      EXPECT_EQ(engine_test::GroupOf(*page).GetFrameCount(), c.frames) << c.name;
      std::vector<int> tops;
      for (std::int16_t f = 0; f < engine_test::GroupOf(*page).GetFrameCount(); ++f)
        tops.push_back(Sprite(1)->IsVisibleInRange(f, 1) ? RectOf(1, f).top : -1);
      EXPECT_EQ(tops, c.tops) << c.name;
      std::int16_t first = -1, last = -1;
      pane->GetFrameRange(&first, &last, true);
      EXPECT_EQ(first, c.first) << c.name << ": the pane is left on the first frame of the stretch";
      EXPECT_EQ(last, c.first) << c.name;
      // The overview lays the page's frames out again: the next drawing pictures each of them.
      DisplayPort port(~board.surface, Rect(0, 0, 600, 300));
      overview->DrawContent(port, Area(overview->GetBounds()));
      EXPECT_EQ(overview->GetChore()->NumJobs(), c.frames) << c.name << ": one picture a frame";
      board.root->RemoveAllSubviews();
      window.root->RemoveSubview(~pane);
      pane = nullptr;
    }
  });
}

TEST_F(COverviewTest, FrameNumbersNeedPicturesOf32Pixels) {
  OnStage([&] {
    for (const auto& [width, numbered] : std::vector<std::pair<int, bool>>{{480, true}, {240, false}}) {
      Open(engine_test::MakePage({0, 0, width, width * 3 / 4}, 2));
      TestWindow board(600, 300);
      gEngineOptions = 0;
      SmartRef<COverview> overview = MakeOverview(board);
      board.MakeFront();
      {
        DisplayPort port(~board.surface, Rect(0, 0, 600, 300));
        overview->DrawContent(port, Area(overview->GetBounds()));
      }
      const Rect picture = overview->PictureRect(0);
      bool black = false;
      for (int y = picture.top; y < picture.top + 9; ++y)
        for (int x = picture.left; x < picture.left + 25; ++x) black = black || board.surface->Pixel(x, y) == 0;
      EXPECT_EQ(black, numbered) << width;
      EXPECT_EQ(overview->GetChore()->NumJobs(), 2) << width;
      board.root->RemoveAllSubviews();
      window.root->RemoveSubview(~pane);
      pane = nullptr;
    }
  });
}

}  // namespace
}  // namespace editor_test

namespace editor_test {
namespace {

using FrameOverviewCommandTest = AuthoringAppTest;

TEST_F(FrameOverviewCommandTest, Command2062OpensTheOverviewAndThenClosesIt) {
  InAuthoringProgram([&](PaintToolsWindow&) {
    AlertRecorder alerts;
    // Without a stage pane there is nothing to show.
    authoring->HandleNumberCommand(cmdFrameOverview, nullptr);
    EXPECT_EQ(authoring->GetOverview(), nullptr);

    TestWindow stage(200, 150);
    SmartRef<CShow> page = engine_test::MakePage({0, 0, 200, 150}, 3);
    Rect frame;
    page->MakeEditor(&frame, ~stage.root, stage.root->GetBounds());
    const List& views = stage.root->GetSubviews();
    SmartRef<CHAPane> pane(CastSmart<CHAPane>(views.At(views.NumItems())));
    ASSERT_TRUE(pane);
    authoring->SetActivePane(~pane);

    authoring->HandleNumberCommand(cmdFrameOverview, nullptr);
    auto* board = CastSmart<COverDir>(authoring->GetOverview());
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(authoring->GetCurrentWindow(), static_cast<Window*>(board));
    EXPECT_EQ(board->GetOverview()->GetPane(), ~pane);
    EXPECT_TRUE(board->IsVisible());
    EXPECT_EQ(board->GetFrame()->GetGlobalBounds().Height(), 255);
    EXPECT_EQ(board->GetOverview()->GetNumberCommandStatus(cmdFrameOverview), kCommandChecked);

    authoring->HandleNumberCommand(cmdFrameOverview, nullptr);
    EXPECT_EQ(authoring->GetOverview(), nullptr);
    EXPECT_EQ(authoring->GetCurrentWindow(), nullptr);
    authoring->ClearActivePane(~pane);
    stage.root->RemoveAllSubviews();
  });
}

}  // namespace
}  // namespace editor_test
