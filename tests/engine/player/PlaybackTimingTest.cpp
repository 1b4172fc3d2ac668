// When frames move on: the page's rate and the hold codes, on the layer's clock and its 10 ms timers.
#include <gtest/gtest.h>

#include "engine/links/CLink.h"
#include "engine/player/CChoreCache.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"

using namespace engine_test;

namespace {

using TimingTest = PlayerTest;

// After a frame is shown at L with a delay D, the chore ticks at L + 10 (its 1 ms period, raised to the
// timer minimum), waits D - 11 ms, finds 1 ms left, waits the 10 ms minimum and fires: frames follow
// D + 9 ms apart (20 ms when D - 11 is itself below the minimum). The first frame waits for the chore's
// first 250 ms tick.
struct RateRow {
  std::int16_t rate;
  std::vector<DWORD> times;  // of frames 1, 2 and 3
};

TEST_F(TimingTest, FramesMoveOnAtTheFirstTickAtOrAfterTheirDueTime) {
  const RateRow rows[] = {
      {60, {250, 270, 290}},    {30, {250, 292, 334}},    {15, {250, 325, 400}},
      {7, {250, 401, 552}},     {1, {1009, 2018, 3027}},  {0, {}},
      {-5, {}},  // a damaged page's rate: as 0
  };
  for (const RateRow& row : rows) {
    SCOPED_TRACE(row.rate);
    const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 10);
    shown->SetFrameRate(row.rate);
    Open(shown);
    player->Play(true);
    RunFor(3100);
    std::vector<DWORD> times;
    for (std::size_t i = 1; i < frames.size() && i <= 3; ++i) {
      EXPECT_EQ(frames[i].second, static_cast<std::int16_t>(i));
      times.push_back(frames[i].first);
    }
    EXPECT_EQ(times, row.times);
    player->Stop();
  }
}

struct HoldRow {
  const char* name;
  std::int16_t rate;
  std::int16_t value;
  bool trackPlaying;
  DWORD firstStep;  // 0: frame 0 stays for the whole run
};

TEST_F(TimingTest, HoldCodesKeepTheFrameForTheirTimeOrCondition) {
  const HoldRow rows[] = {
      {"two seconds", 15, 2, false, 2009},
      {"two seconds at rate 0", 0, 2, false, 0},
      {"until a click", 15, -1, false, 0},
      {"for good", 15, -2, false, 0},
      {"while tracks play, none", 15, -3, false, 250},
      {"while tracks play", 15, -3, true, 0},
      {"while other tracks play, none", 15, -5, false, 250},
      {"while other tracks play", 15, -5, true, 0},
      {"while sounds play (never a sound here)", 15, -6, true, 250},
      {"unknown code below -6", 15, -7, false, 250},
      {"unknown code far below", 15, -32768, true, 250},
  };
  for (const HoldRow& row : rows) {
    SCOPED_TRACE(row.name);
    const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 3);
    shown->SetFrameRate(row.rate);
    shown->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, row.value));
    Open(shown);
    player->Play(true);
    const SmartRef<FakeTrack> track = new FakeTrack();
    track->playing = row.trackPlaying;
    player->GetPlaybackChore()->GetPlayList().Add(5, SmartRef<Track>(~track));
    RunFor(4000);
    if (row.firstStep == 0) {
      EXPECT_EQ(player->GetCurrentFrame(), 0);
      EXPECT_TRUE(player->IsPlaying());
    } else {
      ASSERT_GE(frames.size(), 2u);
      EXPECT_EQ(frames[1], std::make_pair(row.firstStep, std::int16_t{1}));
    }
    player->Stop();
  }
}

TEST_F(TimingTest, AFrameHeldWhileTracksPlayMovesOnOnceTheyEnd) {
  const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 3);
  shown->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, CChorePlay::kHoldWhileTracks));
  Open(shown);
  player->Play(true);
  const SmartRef<FakeTrack> track = new FakeTrack();
  player->GetPlaybackChore()->GetPlayList().Add(5, SmartRef<Track>(~track));
  RunFor(1000);
  EXPECT_EQ(player->GetCurrentFrame(), 0);
  track->playing = false;
  // Looked at again every 250 ms: the next look prunes the track and fires.
  EXPECT_EQ(RunUntilChange(1000), 250u);
  EXPECT_EQ(player->GetCurrentFrame(), 1);
  EXPECT_EQ(player->GetPlaybackChore()->GetPlayList().NumTracks(), 0);
}

TEST_F(TimingTest, AFrameHeldForTheCacheWaitsUntilTheFramesUpToTheNextLinkAreReady) {
  const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 6);
  CMovie& group = *shown->GetMovieGroup();
  group.SetLink(0, 1, ~MakeLink(CLink::kNext, CChorePlay::kHoldForCache));
  group.SetLink(4, 1, ~MakeLink(CLink::kNext, 0));
  Open(shown);
  player->Play(true);
  // Frames 1 to 3 are prepared one per 250 ms tick; the third completes the target and the frame fires.
  EXPECT_EQ(RunUntilChange(2000), 750u);
  EXPECT_EQ(player->GetCurrentFrame(), 1);
  EXPECT_EQ(player->GetCacheChore()->GetBase(), 1);
  EXPECT_EQ(player->GetCacheChore()->GetTarget(), 3);
}

TEST_F(TimingTest, AFrameHeldForTheCacheRightBeforeALinkedFrameHoldsAsTheRate) {
  const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 3);
  shown->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, CChorePlay::kHoldForCache));
  shown->GetMovieGroup()->SetLink(1, 1, ~MakeLink(CLink::kNext, 0));
  Open(shown);
  player->Play(true);
  EXPECT_EQ(RunUntilChange(2000), 250u);
  EXPECT_EQ(player->GetCacheChore()->GetTarget(), 0);
}

TEST_F(TimingTest, ALongHoldPreparesTheFramesAheadOnePerTick) {
  const SmartRef<CShow> shown = MakePage(defaultMovieBounds, 4);
  shown->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, 2));
  Open(shown);
  player->Play(true);
  RunFor(250);
  CChoreCache& cache = *player->GetCacheChore();
  EXPECT_EQ(cache.GetBase(), 1);
  EXPECT_EQ(cache.GetPrepared(), 1) << "the first tick prepared frame 1";
}

}  // namespace
