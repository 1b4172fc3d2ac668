// A page link hands the playback over to the player of the page it opens; what the listeners hear.
#include <gtest/gtest.h>

#include "core/String.h"
#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

using Events = std::vector<std::string>;

class HandOverTest : public PlayerTest {
 protected:
  // The players' chores go before the window system's timers do.
  void TearDown() override {
    old = nullptr;
    PlayerTest::TearDown();
  }
  // Page A (frames 0-2) links from frame 1 to page B with return; both pages are saved.
  void FollowLinkToB() {
    const SmartRef<CShow> a = MakePage(defaultMovieBounds, 3);
    SavePage(*a, "a.zod");
    pageB = MakePage(defaultMovieBounds, 4);
    fileB = SavePage(*pageB, "b.zod");
    a->GetMovieGroup()->SetLink(1, 1, ~MakeLink(CLink::kPageWithReturn, 0, SmartRef<CJump>(new CJumpMovie(*fileB))));
    Open(a);
    player->Play(true);
    RunFor(340);
    ASSERT_EQ(State(), "frame 1 waiting requests [3] history [F2 M]");
    old = player;
  }

  SmartRef<CShow> pageB;
  SmartRef<FileReference> fileB;
  SmartRef<CPlayer> old;
  AlertRecorder alerts;
};

TEST_F(HandOverTest, TheNewPlayerShowsThePendingFrameInFullAndTakesTheHistoryAndTheQueue) {
  FollowLinkToB();
  if (HasFatalFailure()) return;
  const SmartRef<CChorePlay> oldChore(old->GetPlaybackChore());
  EXPECT_EQ(oldChore->GetPendingFrame(), 0);

  const SmartRef<CPlayer> next = new CPlayer(pageB, *window.root, false);
  RecordingListener heard(*next);
  next->ToggleListener(&heard);
  next->SetView(window.root->GetDevice(), true);
  const String text("avant");
  next->QueueText(4, &text);
  EXPECT_TRUE(next->ContinueFrom(old));

  ASSERT_TRUE(next->IsPlaying());
  EXPECT_EQ(heard.events, Events{"drawn area"}) << "drawn in full; the listeners hear of no new state";
  EXPECT_EQ(next->PeekRequestKinds(), (std::vector<std::int32_t>{4, 3}));
  EXPECT_EQ(old->NumRequests(), 0);
  EXPECT_EQ(next->GetPlaybackChore()->GetHistory().NumItems(), 2);
  EXPECT_EQ(oldChore->GetHistory().NumItems(), 0);
  EXPECT_EQ(oldChore->GetPendingFrame(), -1);
  EXPECT_EQ(oldChore->GetPendingMode(), -1);
  EXPECT_TRUE(oldChore->IsWaiting()) << "the old page stays as it was until its pane goes";

  // The new page plays on by itself and can go back to the page it came from.
  old->Stop();
  player = next;
  RunFor(260);
  EXPECT_EQ(next->GetCurrentFrame(), 1);
  EXPECT_TRUE(next->GoBack());
  EXPECT_EQ(next->GetPlaybackChore()->GetPendingFrame(), 2) << "the frame after the link";
  next->ToggleListener(&heard);
  player = nullptr;
}

TEST_F(HandOverTest, ContinuingFromAPlayerThatNoLongerPlaysStartsAFreshPlayback) {
  FollowLinkToB();
  if (HasFatalFailure()) return;
  old->Stop();
  const SmartRef<CPlayer> next = new CPlayer(pageB, *window.root, false);
  EXPECT_TRUE(next->ContinueFrom(old));
  ASSERT_TRUE(next->IsPlaying());
  EXPECT_EQ(next->GetPlaybackChore()->GetHistory().NumItems(), 0);
  EXPECT_EQ(next->PeekRequestKinds(), (std::vector<std::int32_t>{3}));
}

struct ListenRow {
  const char* name;
  std::int32_t kind;
  bool report;
  Events heard;
};

TEST_F(HandOverTest, ListenersHearTheFramesThePlayStateAndWhatWasDrawn) {
  const ListenRow rows[] = {
      {"a step, reporting", CLink::kNext, true, {"drawn delta", "shown 0", "shown 1"}},
      {"a step, not reporting", CLink::kNext, false, {"shown 0", "shown 1"}},
      {"the previous frame", CLink::kPrevious, true, {"drawn area", "shown 0", "shown 2"}},
      {"a wait", CLink::kWait, true, {"drawn area", "state stopped"}},
      {"a stop", CLink::kStop, true, {"state stopped"}},
  };
  for (const ListenRow& row : rows) {
    SCOPED_TRACE(row.name);
    Open(MakePage(defaultMovieBounds, 3));
    AddSprite(GroupOf(*page), *SolidPicture(20, 20, 4), 0, 3);
    page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(row.kind, 0));
    player->SetView(window.root->GetDevice(), row.report);
    player->Play(true);
    EXPECT_EQ(listener->events,
              row.report ? Events({"drawn area", "state playing", "shown 0"}) : Events({"state playing", "shown 0"}));
    listener->events.clear();
    RunFor(260);
    EXPECT_EQ(listener->events, row.heard);
    player->Stop();
  }
}

}  // namespace
