// The player's frame, its requests for the application, its listeners and its start and stop.
#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Memory.h"
#include "core/String.h"
#include "engine/links/CLink.h"
#include "engine/player/CChoreCache.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

using Events = std::vector<std::string>;
using PlayerFrameTest = PlayerTest;


TEST_F(PlayerFrameTest, APlayerWithoutAPageMakesAnEmptyOneThatDoesNotLoop) {
  player = new CPlayer(nullptr, *window.root, false);
  ASSERT_NE(player->GetShow(), nullptr);
  CMovie& group = *player->GetShow()->GetMovieGroup();
  EXPECT_EQ(group.GetBounds(), defaultMovieBounds);
  EXPECT_EQ(group.GetFrameCount(), 1);
  EXPECT_FALSE(group.ToggleFlag8(false));
  EXPECT_EQ(player->GetCurrentFrame(), 0);
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_FALSE(player->IsReportingAreas());
  EXPECT_EQ(player->GetView(), window.root->GetDevice());
  ASSERT_NE(player->GetCacheChore(), nullptr);
  EXPECT_EQ(player->GetCacheChore()->GetPeriod(), 30u);
  EXPECT_TRUE(group.HasDependant(player->GetCacheChore()));
  EXPECT_TRUE(IsRegisteredPurgeable(player->GetCacheChore()));
  Purgeable* cache = player->GetCacheChore();
  player = nullptr;
  EXPECT_FALSE(IsRegisteredPurgeable(cache)) << "the cache leaves the memory manager with its player";
}

TEST_F(PlayerFrameTest, ShowFrameTellsTheListenersTwiceGrowsThePageAndQueuesTheLabel) {
  Open(MakePage(defaultMovieBounds, 3));
  CMovie& group = *page->GetMovieGroup();
  group.GetFrameIndex()->FindMark(2, true)->GetLabel() = String("fin");

  player->ShowFrame(0);
  player->ShowFrame(-2);
  EXPECT_EQ(listener->events, Events{}) << "the frame shown, or no frame: nothing happens";

  player->ShowFrame(5);
  EXPECT_EQ(listener->events, (Events{"shown 0", "shown 5"})) << "before and after the change";
  EXPECT_EQ(group.GetFrameCount(), 6);
  SmartRef<Smart> object;
  EXPECT_EQ(player->TakeRequest(&object), 0) << "frame 5 has no label";
  player->ShowFrame(2);
  EXPECT_EQ(player->TakeRequest(&object), CPlayer::kLabelRequest);
  EXPECT_EQ(TextIn(~object), "fin");
}

TEST_F(PlayerFrameTest, RequestsAreQueuedFirstInFirstOut) {
  Open(MakePage(defaultMovieBounds, 1));
  const String text("bonjour"), empty;
  player->QueueText(4, &text);
  player->QueueText(0, &text);
  player->QueueText(-3, &text);
  player->QueueText(5, &empty);
  player->QueueText(5, nullptr);
  FileReference file(folder.Write("autre.zod").c_str());
  player->QueueOpenFile(file);

  SmartRef<Smart> object;
  EXPECT_EQ(player->TakeRequest(&object), 4);
  EXPECT_EQ(TextIn(~object), "bonjour");
  EXPECT_NE(~object, &text) << "a copy";
  EXPECT_EQ(player->TakeRequest(&object), 6);
  EXPECT_EQ(player->TakeRequest(&object), 6);
  EXPECT_EQ(player->TakeRequest(&object), 3);
  auto* queued = CastSmart<FileReference>(~object);
  ASSERT_NE(queued, nullptr);
  EXPECT_NE(queued, &file);
  EXPECT_TRUE(*queued == file);
  EXPECT_EQ(player->TakeRequest(&object), 0);
  EXPECT_EQ(player->NumRequests(), 0);
}

TEST_F(PlayerFrameTest, PlayAndStopTellTheListenersOnce) {
  Open(MakePage(defaultMovieBounds, 3));
  player->Stop();
  EXPECT_EQ(listener->events, Events{}) << "stopping a stopped player tells nobody";

  EXPECT_TRUE(player->Play(true));
  EXPECT_EQ(listener->events, (Events{"state playing", "shown 0"}));
  CChorePlay* chore = player->GetPlaybackChore();
  ASSERT_NE(chore, nullptr);
  EXPECT_TRUE(chore->IsRunning());
  EXPECT_EQ(chore->GetPeriod(), 250u);

  chore->SetWaiting(true);
  EXPECT_TRUE(player->Play(true));
  EXPECT_EQ(player->GetPlaybackChore(), chore) << "playing again only ends the wait";
  EXPECT_FALSE(chore->IsWaiting());
  EXPECT_EQ(listener->events.size(), 2u);

  const SmartRef<CChorePlay> held(chore);
  player->Stop();
  EXPECT_EQ(listener->events.back(), "state stopped");
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_FALSE(held->IsRunning());
  EXPECT_TRUE(held->IsWaiting());
}

TEST_F(PlayerFrameTest, FrameLinksAreMadeOnRequestWithKindZero) {
  Open(MakePage(defaultMovieBounds, 2));
  player->ShowFrame(1);
  EXPECT_EQ(player->GetFrameLink(false), nullptr);
  CLink* made = player->GetFrameLink(true);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetKind(), CLink::kNext);
  EXPECT_EQ(page->GetMovieGroup()->GetLink(1), made);
  made->SetMode(3);
  EXPECT_EQ(player->GetFrameLinkMode(), 3);
}

TEST_F(PlayerFrameTest, ChoresOtherThanThePlayersOwnAreRefused) {
  AlertRecorder alerts;
  Open(MakePage(defaultMovieBounds, 2));
  const SmartRef<CChoreCache> stranger = new CChoreCache(*player);
  EXPECT_THROW(player->ChoreFired(~stranger), Exception*);
}

}  // namespace
