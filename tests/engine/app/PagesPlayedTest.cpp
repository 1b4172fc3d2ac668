// Two pages of a project folder played in one window through the shell, on the test's clock: a click on
// page A's link sprite, delivered as mouse input to the window, opens page B in the same window through
// the idler and the playback goes on; going back brings page A again at the frame it was left at; a damaged
// page B is reported and page A stays.
#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "engine/app/EngineAppTestSupport.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/page/PageTestSupport.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerTestSupport.h"
#include "platform/kernel/System.h"
#include "platform/user/Window.h"
#include "support/AlertRecorder.h"
#include "ui/views/DocWindow.h"
#include "ui/views/WindowFrame.h"

using namespace engine_test;

class PagesPlayedTest : public EngineAppTest {
 protected:
  void SetUp() override {
    EngineAppTest::SetUp();
    platform::SetClockForTesting([this] { return now; });
  }
  void TearDown() override {
    platform::SetClockForTesting({});
    EngineAppTest::TearDown();
  }
  // Moves the clock on a millisecond at a time, handling what falls due, until the window shows another
  // pane than the one given or the limit passes; answers the pane shown.
  CPanePlay* RunUntilPaneChanges(DocWindow* window, CPanePlay* from, DWORD limit) {
    for (DWORD i = 0; i < limit && PlayPaneOf(window) == from; ++i) {
      ++now;
      Pump();
    }
    return PlayPaneOf(window);
  }

  // Page A, six frames with a door sprite linking to the target (with return) in the page's top-left
  // corner, saved beside it, opened as the menu does and played from frame 4; then the door is clicked
  // through the window.
  void OpenAndClickDoor(FileReference& target, DocWindow** window, CPanePlay** pane) {
    const SmartRef<CShow> pageA = MakePage({0, 0, 200, 150}, 6);
    CSprite* door = AddSprite(GroupOf(*pageA), *SolidPicture(40, 30, 4), 0, 6);
    for (std::int16_t f = 0; f < 6; ++f) PlaceAt(*door, f, {0, 0});
    door->SetLink(0, 6, ~MakeLink(CLink::kPageWithReturn, 0, new CJumpMovie(target)));
    SmartRef<FileReference> fileA = SavePageFile(folder, *pageA, "a.zod");

    *window = OpenAsMenuDoes(*fileA);
    *pane = PlayPaneOf(*window);
    ASSERT_NE(*pane, nullptr);
    engineApp->SetActivePane(*pane);
    (*pane)->GetPlayer()->ShowFrame(4);
    (*pane)->GetPlayer()->Play(false);
    ASSERT_EQ((*pane)->GetPlayer()->GetCurrentFrame(), 4);
    Pump();

    ClickPane(**pane, **window, {5, 5});
    ASSERT_TRUE((*window)->IsActive());
  }

  DWORD now = 200000;
};

TEST_F(PagesPlayedTest, AClickedPageLinkOpensTheLinkedPageAndGoingBackReturnsToTheFrameLeft) {
  AlertRecorder alerts;
  InEngineProgram([&] {
    SmartRef<FileReference> fileB = SavePageFile(folder, *MakePage({0, 0, 300, 200}, 3), "b.zod");
    DocWindow* window = nullptr;
    CPanePlay* paneA = nullptr;
    OpenAndClickDoor(*fileB, &window, &paneA);
    if (HasFatalFailure()) return;
    const std::int32_t windows = gApplication->GetWindows().NumItems();

    CPanePlay* paneB = RunUntilPaneChanges(window, paneA, 1000);
    ASSERT_NE(paneB, nullptr);
    ASSERT_NE(paneB, paneA) << "page B is shown";
    EXPECT_EQ(gApplication->GetWindows().NumItems(), windows) << "in the same window";
    EXPECT_EQ(paneB->GetShow()->GetMovieGroup()->GetBounds(), Rect(0, 0, 300, 200));
    EXPECT_TRUE(paneB->GetPlayer()->IsPlaying()) << "the playback goes on in page B";
    EXPECT_EQ(engineApp->GetActivePane(), paneB);

    ASSERT_TRUE(paneB->GetPlayer()->GoBack());
    CPanePlay* again = RunUntilPaneChanges(window, paneB, 1000);
    ASSERT_NE(again, nullptr);
    ASSERT_NE(again, paneB);
    EXPECT_EQ(again->GetShow()->GetMovieGroup()->GetBounds(), Rect(0, 0, 200, 150)) << "page A again";
    EXPECT_EQ(again->GetPlayer()->GetCurrentFrame(), 4) << "at the frame it was left at";
    EXPECT_TRUE(alerts.Alerts().empty());
  });
}

TEST_F(PagesPlayedTest, AClickedLinkToADamagedPageIsReportedAndThePageStays) {
  AlertRecorder alerts;
  InEngineProgram([&] {
    SmartRef<FileReference> damaged = FileWith("b.zod", "QLRW not an object file at all");
    DocWindow* window = nullptr;
    CPanePlay* paneA = nullptr;
    OpenAndClickDoor(*damaged, &window, &paneA);
    if (HasFatalFailure()) return;
    EXPECT_EQ(RunUntilPaneChanges(window, paneA, 400), paneA) << "page A stays";
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(191));
    EXPECT_EQ(engineApp->GetActivePane(), paneA);
  });
}
