// What firing a frame's link does, kind by kind, from the timer and from clicks; the end of a page; the
// jump history and going back.
#include <gtest/gtest.h>

#include <functional>

#include "core/CoreState.h"
#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerHooks.h"
#include "engine/player/PlayerTestSupport.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

bool gMayLeave = true;
int gLeaveAsked = 0;
bool AnswerLeave() {
  ++gLeaveAsked;
  return gMayLeave;
}

class LinkKindsTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    gMayLeave = true;
    gLeaveAsked = 0;
    SetLeaveDocumentHook(&AnswerLeave);
  }
  void TearDown() override {
    SetLeaveDocumentHook(nullptr);
    PlayerTest::TearDown();
  }

  // A saved page of four frames at rate 15, with "fin" marking frame 3, and another saved page.
  void MakePages() {
    const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 4);
    ownFile = SavePage(*shown, "page.zod");
    otherFile = SavePage(*MakePage(defaultMovieBounds, 2), "autre.zod");
    shown->GetMovieGroup()->GetFrameIndex()->FindMark(3, true)->GetLabel() = String("fin");
    Open(shown);
  }
  SmartRef<CJump> FrameJump(const char* label) {
    SmartRef<CJumpFrame> jump = new CJumpFrame();
    jump->GetLabel() = String(label);
    return SmartRef<CJump>(~jump);
  }
  SmartRef<CJump> PageJump(FileReference& file) { return SmartRef<CJump>(new CJumpMovie(file)); }

  SmartRef<FileReference> ownFile;
  SmartRef<FileReference> otherFile;
  AlertRecorder alerts;
};

struct KindRow {
  const char* name;
  std::int32_t kind;
  enum Jump { kNone, kToEnd, kToNowhere, kToOther, kToSelf } jump;
  std::int16_t from;
  const char* after;  // State() once the link fired
  int alertCount;
};

TEST_F(LinkKindsTest, ATimedFiringDoesWhatTheKindSays) {
  const KindRow rows[] = {
      {"next", CLink::kNext, KindRow::kNone, 1, "frame 2 playing requests [] history []", 0},
      {"frame", CLink::kFrame, KindRow::kToEnd, 1, "frame 3 playing requests [5] history []", 0},
      {"frame of no mark", CLink::kFrame, KindRow::kToNowhere, 1, "frame 1 stopped requests []", 1},
      {"page", CLink::kPage, KindRow::kToOther, 1, "frame 1 waiting requests [3] history []", 0},
      {"stop", CLink::kStop, KindRow::kNone, 1, "frame 1 stopped requests []", 0},
      {"previous", CLink::kPrevious, KindRow::kNone, 1, "frame 0 playing requests [] history []", 0},
      {"previous from the first", CLink::kPrevious, KindRow::kNone, 0, "frame 3 playing requests [5] history []", 0},
      {"wait", CLink::kWait, KindRow::kNone, 1, "frame 1 stopped requests []", 0},
      {"frame with return", CLink::kFrameWithReturn, KindRow::kToEnd, 1,
       "frame 3 playing requests [5] history [F2]", 0},
      {"page with return", CLink::kPageWithReturn, KindRow::kToOther, 1,
       "frame 1 waiting requests [3] history [F2 M]", 0},
      {"page with return to itself", CLink::kPageWithReturn, KindRow::kToSelf, 1,
       "frame 1 playing requests [] history []", 0},
      {"old kind 8", 8, KindRow::kToEnd, 1, "frame 2 playing requests [] history []", 0},
      {"old kind 9", 9, KindRow::kToOther, 1, "frame 2 playing requests [] history []", 0},
      {"unknown kind", 11, KindRow::kNone, 1, "frame 2 playing requests [] history []", 0},
  };
  for (const KindRow& row : rows) {
    SCOPED_TRACE(row.name);
    TheCoreState().reportedPlaces.clear();
    alerts.Clear();
    MakePages();
    SmartRef<CJump> jump;
    switch (row.jump) {
      case KindRow::kToEnd: jump = FrameJump("fin"); break;
      case KindRow::kToNowhere: jump = FrameJump("nulle part"); break;
      case KindRow::kToOther: jump = PageJump(*otherFile); break;
      case KindRow::kToSelf: jump = PageJump(*ownFile); break;
      default: break;
    }
    page->GetMovieGroup()->SetLink(row.from, 1, ~MakeLink(row.kind, 0, jump));
    player->ShowFrame(row.from);
    SmartRef<Smart> label;
    while (player->TakeRequest(&label) != 0) {}
    player->Play(true);
    RunFor(260);
    EXPECT_EQ(State(), row.after);
    EXPECT_EQ(static_cast<int>(alerts.Alerts().size()), row.alertCount);
    player->Stop();
  }
}

TEST_F(LinkKindsTest, APageWithReturnAsksWhetherThePageMayBeLeft) {
  MakePages();
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kPageWithReturn, 0, PageJump(*otherFile)));
  gMayLeave = false;
  player->Play(true);
  RunFor(260);
  EXPECT_EQ(gLeaveAsked, 1);
  EXPECT_EQ(State(), "frame 0 stopped requests []");
}

TEST_F(LinkKindsTest, APageWithReturnFromAPageWithoutFileActsAsAPlainPageLink) {
  Open(MakePage(defaultMovieBounds, 2));
  otherFile = SavePage(*MakePage(defaultMovieBounds, 2), "autre.zod");
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kPageWithReturn, 0, PageJump(*otherFile)));
  player->Play(true);
  RunFor(260);
  EXPECT_EQ(State(), "frame 0 waiting requests [3] history []");
}

TEST_F(LinkKindsTest, AWebAddressIsShownAndTheFrameStays) {
  MakePages();
  const SmartRef<CLink> link = new CLink();
  link->SetHref(SmartRef<Persistent>(new WebAddress("http://exemple.invalid/")));
  page->GetMovieGroup()->SetLink(0, 1, ~link);
  player->Play(true);
  RunFor(260);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Ceci est un lien vers :  http://exemple.invalid/");
  EXPECT_EQ(alerts.Alerts()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(State(), "frame 0 playing requests [] history []");
  // The link fires again after the frame's delay, and shows the address again.
  RunFor(80);
  EXPECT_EQ(alerts.Alerts().size(), 2u);
}

TEST_F(LinkKindsTest, TicksWhileTheAddressIsShownFireNothing) {
  MakePages();
  const SmartRef<CLink> link = new CLink();
  link->SetHref(SmartRef<Persistent>(new WebAddress("http://exemple.invalid/")));
  page->GetMovieGroup()->SetLink(0, 1, ~link);
  int shown = 0;
  // The alert's own message loop: a whole second of ticks passes while it is up.
  const platform::MessageBoxHandler saved = platform::SetMessageBoxHandler([&](HWND, LPCSTR, LPCSTR, UINT) {
    ++shown;
    RunFor(1000);
    return IDOK;
  });
  player->Play(true);
  RunFor(250);
  platform::SetMessageBoxHandler(saved);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(player->GetCurrentFrame(), 0);
}

struct EndRow {
  const char* name;
  bool loops;
  bool trackPlaying;
  bool activeSprite;
  const char* after;
};

TEST_F(LinkKindsTest, TheLastFrameLoopsStaysOrStops) {
  const EndRow rows[] = {
      {"looping", true, false, false, "frame 0 playing requests [] history []"},
      {"a track plays", false, true, false, "frame 2 playing requests [] history []"},
      {"an active sprite", false, false, true, "frame 2 playing requests [] history []"},
      {"nothing more", false, false, false, "frame 2 stopped requests []"},
  };
  for (const EndRow& row : rows) {
    SCOPED_TRACE(row.name);
    Open(MakePage(defaultMovieBounds, 3));
    CMovieGroup& group = GroupOf(*page);
    if (group.ToggleFlag8(false) != row.loops) group.ToggleFlag8(true);
    if (row.activeSprite) {
      CSprite* sprite = AddSprite(group, *SolidPicture(20, 20, 4), 0, 3);
      sprite->SetLink(2, 1, ~MakeLink(CLink::kNext, 0));
    }
    player->ShowFrame(2);
    SmartRef<Smart> ignored;
    while (player->TakeRequest(&ignored) != 0) {}
    player->Play(true);
    const SmartRef<FakeTrack> track = new FakeTrack();
    track->playing = row.trackPlaying;
    player->GetPlaybackChore()->GetPlayList().Add(5, SmartRef<Track>(~track));
    RunFor(260);
    EXPECT_EQ(State(), row.after);
    player->Stop();
  }
}

TEST_F(LinkKindsTest, AClickedFrameWithReturnComesBackToTheClickedFrame) {
  MakePages();
  page->GetMovieGroup()->SetLink(1, 1, ~MakeLink(CLink::kFrameWithReturn, -1, FrameJump("fin")));
  player->ShowFrame(1);
  player->Play(true);
  RunFor(1000);
  EXPECT_EQ(player->GetCurrentFrame(), 1) << "the frame waits for a click";
  player->MouseDown(5, 5);
  EXPECT_EQ(State(), "frame 3 playing requests [5] history [F1]");
}

TEST_F(LinkKindsTest, GoingBackFollowsOnlyPageJumpsWithReturn) {
  MakePages();
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kFrameWithReturn, 0, FrameJump("fin")));
  page->GetMovieGroup()->SetLink(3, 1, ~MakeLink(CLink::kPageWithReturn, 0, PageJump(*otherFile)));
  EXPECT_FALSE(player->GoBack()) << "stopped";
  player->Play(true);
  RunFor(260);
  EXPECT_EQ(State(), "frame 3 playing requests [5] history [F1]");
  EXPECT_FALSE(player->GoBack()) << "after a frame jump with return";
  RunFor(80);
  EXPECT_EQ(State(), "frame 3 waiting requests [5 3] history [F1 F0 M]");
  SmartRef<Smart> request;
  player->TakeRequest(&request);
  player->TakeRequest(&request);

  player->GetPlaybackChore()->SetWaiting(false);
  EXPECT_TRUE(player->GoBack());
  EXPECT_EQ(State(), "frame 3 waiting requests [3] history [F1]");
  EXPECT_EQ(player->GetPlaybackChore()->GetPendingFrame(), 0);
  player->TakeRequest(&request);
  EXPECT_STREQ(CastSmart<FileReference>(~request)->GetPathText(), ownFile->GetPathText());
}

}  // namespace
