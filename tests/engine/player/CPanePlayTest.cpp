// The play pane: what it repaints, the clicks it hands its player, its numbered commands, and the
// page's editor made over it.
#include <gtest/gtest.h>

#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/PlayerHooks.h"
#include "engine/player/PlayerTestSupport.h"
#include "graphics/DisplayPort.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

class PanePlayTest : public PlayerTest {
 protected:
  void TearDown() override {
    SetStagePaneMaker(nullptr);
    if (pane) {
      window.root->RemoveSubview(~pane);
      pane = nullptr;
    }
    PlayerTest::TearDown();
  }
  // A page of three frames whose sprite moves right by 40 pixels a frame, in a pane over the window.
  void MakePane(bool clickStops = false) {
    Open(MakePage({0, 0, 200, 150}, 3), clickStops);
    CSprite* sprite = AddSprite(GroupOf(*page), *SolidPicture(30, 30, 4), 0, 3);
    for (std::int16_t f = 0; f < 3; ++f) PlaceAt(*sprite, f, {10 + 40 * f, 20});
    sprite->SetSound(1, 1, ~MakeSound("RIFF"));
    pane = new CPanePlay(~window.root, player);
    window.root->AddSubview(~pane);
    window.surface->Validate();
  }
  // The pixels of the page's bounds on the window.
  ColourPicture Shown() const { return PictureOf(*window.surface, {0, 0, 200, 150}); }
  SmartRef<CPanePlay> pane;
  AlertRecorder alerts;
};

TEST_F(PanePlayTest, ThePaneCoversItsParentAndFollowsThePagesMovieWhileItLives) {
  MakePane();
  EXPECT_EQ(pane->GetBounds(), window.root->GetBounds());
  EXPECT_EQ(pane->GetShow(), ~page);
  EXPECT_EQ(pane->GetPlayer(), ~player);
  EXPECT_TRUE(page->GetMovieGroup()->HasDependant(~pane));
  CMovie* group = page->GetMovieGroup();
  MovieDependant* registered = ~pane;
  window.root->RemoveSubview(~pane);
  pane = nullptr;
  EXPECT_FALSE(group->HasDependant(registered));
}

struct ChangeRow {
  const char* name;
  std::int16_t frame;
  Rect rect;
  Rect invalid;
};

TEST_F(PanePlayTest, AChangeOfTheFrameShownRepaintsWhatChanged) {
  const ChangeRow rows[] = {
      {"another frame", 2, {5, 5, 20, 20}, {0, 0, 0, 0}},
      {"the frame shown", 1, {5, 5, 20, 20}, {5, 5, 20, 20}},
      {"every frame", -1, {30, 40, 50, 60}, {30, 40, 50, 60}},
      {"no rectangle: the whole pane", 1, {}, {0, 0, 400, 400}},
  };
  MakePane();
  player->ShowFrame(1);
  for (const ChangeRow& row : rows) {
    SCOPED_TRACE(row.name);
    window.surface->Validate();
    pane->FrameChanged(page->GetMovieGroup(), row.rect, row.frame);
    const Rect invalid = window.InvalidBounds();
    EXPECT_TRUE(invalid == row.invalid || (row.invalid.IsEmpty() && invalid.IsEmpty()))
        << invalid.left << "," << invalid.top << "," << invalid.right << "," << invalid.bottom;
  }
}

TEST_F(PanePlayTest, ClicksReachThePlayerOnlyWhileItPlays) {
  MakePane(true);
  player->ShowFrame(1);
  SmartRef<Smart> ignored;
  while (player->TakeRequest(&ignored) != 0) {}
  EXPECT_FALSE(pane->MouseDown(60, 30, 0, 1, ~window.root));
  EXPECT_EQ(player->NumRequests(), 0);
  EXPECT_TRUE(pane->FindsLinkAt(60, 30)) << "the sprite carries a sound on frame 1";
  EXPECT_FALSE(pane->FindsLinkAt(150, 130));
  EXPECT_TRUE(pane->MouseMoved(1, 1, 0));

  player->Play(true);
  EXPECT_TRUE(pane->IsPlaying());
  EXPECT_TRUE(pane->MouseDown(60, 30, 0, 1, ~window.root));
  EXPECT_EQ(player->PeekRequestKinds(), std::vector<std::int32_t>{4});
  EXPECT_TRUE(pane->MouseDown(150, 130, 0, 1, ~window.root));
  EXPECT_FALSE(pane->IsPlaying()) << "a click on nothing stops a player with click stops";
}

TEST_F(PanePlayTest, APlainPaneCarriesOutNoNumberedCommand) {
  MakePane();
  pane->HandleNumberCommand(2042, nullptr);
  EXPECT_EQ(pane->GetNumberCommandStatus(2042), 3);
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
  EXPECT_EQ(page->GetMovieGroup()->GetFrameCount(), 3);
}

TEST_F(PanePlayTest, AfterEveryStepThePaneShowsWhatAFullDrawOfTheFrameShows) {
  MakePane();
  {
    DisplayPort port(~window.surface, {0, 0, 400, 400});
    pane->Draw(port, Area(Rect(0, 0, 400, 400)));
  }
  EXPECT_EQ(Shown(), FullDraw(*page, 0)) << "drawn by the pane";
  player->Play(true);
  EXPECT_EQ(Shown(), FullDraw(*page, 0));
  for (std::int16_t step = 1; step <= 4; ++step) {
    SCOPED_TRACE(step);
    RunUntilChange(400);
    const std::int16_t frame = player->GetCurrentFrame();
    EXPECT_EQ(frame, step % 3);
    EXPECT_EQ(Shown(), FullDraw(*page, frame));
  }
  EXPECT_NE(FullDraw(*page, 0), FullDraw(*page, 1));
  EXPECT_NE(page->GetDelta(2, false), nullptr) << "the steps replayed the frames' change records";
}

SmartRef<CPanePlay> gMadePane;
SmartRef<CPanePlay> MakeRecordedPane(View* container, CPlayer* player) {
  gMadePane = new CPanePlay(container, SmartRef<CPlayer>(player));
  return gMadePane;
}

TEST_F(PanePlayTest, APagesEditorIsAPlayerAndTheStagePaneOverIt) {
  page = MakePage({0, 0, 200, 150}, 2);
  const Rect frame(1, 2, 3, 4);
  for (const bool hooked : {false, true}) {
    SCOPED_TRACE(hooked);
    SetStagePaneMaker(hooked ? &MakeRecordedPane : nullptr);
    Rect bounds;
    page->MakeEditor(&bounds, ~window.root, frame);
    EXPECT_EQ(bounds, frame);
    const List& subviews = window.root->GetSubviews();
    auto* made = CastSmart<CPanePlay>(subviews.At(subviews.NumItems()));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetShow(), ~page);
    EXPECT_EQ(made->GetPlayer()->GetView(), window.root->GetDevice());
    if (hooked) {
      EXPECT_EQ(made, ~gMadePane);
    }
    // The editor's player lets clicks on nothing pass.
    made->GetPlayer()->Play(true);
    made->MouseDown(190, 140, 0, 1, ~window.root);
    EXPECT_TRUE(made->IsPlaying());
    made->GetPlayer()->Stop();
    window.root->RemoveSubview(made);
  }
  gMadePane = nullptr;
}

}  // namespace
