// Clicks on a playing page: the top-most sprite that carries a sound or a link, a video, a frame that
// waits for a click, and clicks that hit nothing.
#include <gtest/gtest.h>

#include "core/Sound.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

// Three frames, rate 0 (only clicks move the page). Sprite "0" at (10, 10)-(50, 50) carries a sound on
// every frame; sprite "1" at (30, 30)-(70, 70), above it, a link to the next frame on frame 0; sprite
// "2" at (100, 100)-(140, 140) shows a video; sprite "3" at (200, 200)-(240, 240) carries a link but
// shows only from frame 1.
class ClicksTest : public PlayerTest {
 protected:
  void MakeClickablePage(bool clickStops) {
    Open(MakePage(defaultMovieBounds, 3), clickStops);
    page->SetFrameRate(0);
    CMovieGroup& group = GroupOf(*page);
    sound = MakeSound("RIFF");
    CSprite* sounding = AddSprite(group, *SolidPicture(40, 40, 4), 0, 3);
    PlaceAt(*sounding, 0, {10, 10});
    sounding->SetSound(0, 3, ~sound);
    CSprite* linked = AddSprite(group, *SolidPicture(40, 40, 5), 0, 3);
    PlaceAt(*linked, 0, {30, 30});
    linked->SetLink(0, 1, ~MakeLink(CLink::kNext, 0));
    const SmartRef<CMovie> video = new CMovieVideo({0, 0, 40, 40});
    PlaceAt(*AddSprite(group, *video, 0, 3), 0, {100, 100});
    CSprite* late = AddSprite(group, *SolidPicture(40, 40, 6), 1, 2);
    PlaceAt(*late, 1, {200, 200});
    late->SetLink(1, 2, ~MakeLink(CLink::kNext, 0));
    SmartRef<Smart> ignored;
    while (player->TakeRequest(&ignored) != 0) {}
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    SmartRef<Smart> object;
    while (const std::int32_t kind = player->TakeRequest(&object)) {
      char text[64] = "";
      if (auto* name = CastSmart<String>(~object)) name->CopyTo(text, sizeof text);
      names.push_back(std::to_string(kind) + ":" + text);
    }
    return names;
  }
  // The play list's tracks under key 1, where clicked sprites' sounds go.
  int ClickedTracks() const {
    const CPlayList& list = player->GetPlaybackChore()->GetPlayList();
    int count = 0;
    for (std::int32_t i = 1; i <= list.NumTracks(); ++i) count += list.GetKey(i) == 1;
    return count;
  }
  SmartRef<Sound> sound;
  AlertRecorder alerts;  // the video has no player on this system, and says so
};

struct ClickRow {
  const char* name;
  Point at;
  bool playing;
  bool clickStops;
  bool hit;            // ClickAt's answer
  std::vector<std::string> requests;
  std::int16_t frameAfter;
  bool playingAfter;
  int clicked;         // tracks under the key of clicked sounds afterwards
};

TEST_F(ClicksTest, TheTopMostCandidateUnderThePointActs) {
  const ClickRow rows[] = {
      {"the top of two sprites", {40, 40}, true, false, true, {"4:1"}, 1, true, 0},
      {"the sounding sprite", {15, 15}, true, false, true, {"4:0"}, 0, true, 1},
      {"a right edge is outside", {50, 15}, true, false, false, {}, 0, true, 0},
      {"a video", {110, 110}, true, false, true, {"4:2"}, 0, true, 0},
      {"a sprite not shown yet", {210, 210}, true, false, false, {}, 0, true, 0},
      {"nothing, clicks go on", {300, 20}, true, false, false, {}, 0, true, 0},
      {"nothing, clicks stop", {300, 20}, true, true, false, {}, 0, false, 0},
      {"a sounding sprite while stopped", {15, 15}, false, false, true, {"4:0"}, 0, false, 0},
      {"a link while stopped", {40, 40}, false, false, true, {"4:1"}, 0, false, 0},
  };
  for (const ClickRow& row : rows) {
    SCOPED_TRACE(row.name);
    MakeClickablePage(row.clickStops);
    if (row.playing) player->Play(true);
    EXPECT_EQ(player->ClickAt(row.at.x, row.at.y, false), row.hit && !(row.at == Point{110, 110}))
        << "asked without activating, a video is no candidate";
    EXPECT_EQ(Names(), std::vector<std::string>{}) << "asking activates nothing";
    player->MouseDown(row.at.x, row.at.y);
    EXPECT_EQ(Names(), row.requests);
    EXPECT_EQ(player->GetCurrentFrame(), row.frameAfter);
    EXPECT_EQ(player->IsPlaying(), row.playingAfter);
    if (player->IsPlaying()) {
      EXPECT_EQ(ClickedTracks(), row.clicked);
    }
    player->Stop();
  }
}

TEST_F(ClicksTest, ActiveSpritesAreCountedBottomFirstAmongThoseShownWithASoundOrALink) {
  MakeClickablePage(false);
  EXPECT_EQ(player->GetActiveSprite(0), nullptr);
  EXPECT_EQ(TextIn(~player->GetActiveSprite(1)->GetName()), "0");
  EXPECT_EQ(TextIn(~player->GetActiveSprite(2)->GetName()), "1");
  EXPECT_EQ(player->GetActiveSprite(3), nullptr) << "the video carries nothing; sprite 3 is not shown";
  player->ShowFrame(1);
  EXPECT_EQ(TextIn(~player->GetActiveSprite(2)->GetName()), "3");
}

TEST_F(ClicksTest, AFrameWaitingForAClickFiresItsLinkOnAClickThatHitsNoSprite) {
  MakeClickablePage(true);
  page->SetFrameRate(15);
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, -1));
  player->Play(true);
  RunFor(2000);
  EXPECT_EQ(player->GetCurrentFrame(), 0);
  EXPECT_TRUE(player->ClickAt(300, 20, false));
  player->MouseDown(300, 20);
  EXPECT_EQ(player->GetCurrentFrame(), 1);
  EXPECT_TRUE(player->IsPlaying()) << "the frame's link took the click: click stops do not apply";
}

TEST_F(ClicksTest, ActivateItemActsOnTheNthActiveSpriteOrTheFramesLink) {
  MakeClickablePage(false);
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, -1));
  player->Play(true);
  player->ActivateItem(1);
  EXPECT_EQ(Names(), std::vector<std::string>{"4:0"});
  EXPECT_EQ(ClickedTracks(), 1);
  player->ActivateItem(0);
  EXPECT_EQ(player->GetCurrentFrame(), 1);
}

TEST_F(ClicksTest, AnActivatingClickEndsAWait) {
  MakeClickablePage(false);
  player->Play(true);
  player->GetPlaybackChore()->SetWaiting(true);
  player->ClickAt(300, 20, false);
  EXPECT_TRUE(player->GetPlaybackChore()->IsWaiting());
  player->ClickAt(300, 20, true);
  EXPECT_FALSE(player->GetPlaybackChore()->IsWaiting());
}

}  // namespace
