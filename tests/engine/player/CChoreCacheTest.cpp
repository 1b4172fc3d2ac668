// The frame cache's window: targets, one preparation at a time, purges by level, edits, and preparing a
// whole page ahead.
#include <gtest/gtest.h>

#include <limits>

#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "engine/links/CLink.h"
#include "engine/player/CChoreCache.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

// A movie whose frames cannot be prepared while the flag is set, as when memory runs out.
class RefusingMovie : public TestMovie {
  SMART_ABSTRACT(RefusingMovie)
 public:
  RefusingMovie() : TestMovie({0, 0, 20, 20}) {}
  RefusingMovie(const RefusingMovie& other) : Smart(), TestMovie(other) {}
  Smart* Clone() const override { return new RefusingMovie(*this); }
  SmartRef<CMovie> ExtractFrames(std::int16_t, std::int16_t, bool) override { return new RefusingMovie(); }
  bool PrepareFrame(std::int16_t) override { return !refuse; }
  static inline bool refuse = false;
};

constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();

class CacheTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    RefusingMovie::refuse = false;
    Open(MakePage(defaultMovieBounds, 8));
    AddSprite(GroupOf(*page), *SolidPicture(20, 20, 4), 0, 8);
    cache = player->GetCacheChore();
  }
  void TearDown() override {
    RefusingMovie::refuse = false;
    PlayerTest::TearDown();
  }
  // A window of count frames prepared from base on.
  void PrepareWindow(std::int16_t base, std::int16_t count) {
    cache->SetTarget(base, count);
    for (std::int16_t i = 0; i < count; ++i) cache->PrepareNext(*player);
    ASSERT_EQ(cache->GetBase(), base);
    ASSERT_EQ(cache->GetPrepared(), count);
  }
  CChoreCache* cache = nullptr;
  AlertRecorder alerts;
};

SMART_DEFINE_ABSTRACT(RefusingMovie, "RefusingMovie", TestMovie)

struct TargetRow {
  const char* name;
  std::int16_t base, prepared;  // the window before
  std::int16_t start, count;
  std::int16_t answer, newBase;
};

TEST_F(CacheTest, SetTargetMovesTheWindowKeepingWhatIsPreparedFromTheNewStart) {
  const TargetRow rows[] = {
      {"one frame on", 0, 5, 1, 3, 4, 1},
      {"the same start", 0, 5, 0, 2, 5, 0},
      {"past the prepared frames", 0, 5, 6, 0, 0, 6},
      {"a start past the end wraps", 0, 5, 10, 1, 3, 2},
      {"a start before the base wraps", 6, 5, 1, 4, 2, 1},
      {"further back than prepared", 2, 5, 1, 4, 0, 1},
      {"a cleared target", 3, 2, -1, 0, 2, 3},
  };
  for (const TargetRow& row : rows) {
    SCOPED_TRACE(row.name);
    cache->SetTarget(row.base, 0);
    cache->SetTarget(static_cast<std::int16_t>(row.base + 1), 0);  // forgets what was prepared
    cache->SetTarget(row.base, 0);
    PrepareWindow(row.base, row.prepared);
    EXPECT_EQ(cache->SetTarget(row.start, row.count), row.answer);
    EXPECT_EQ(cache->GetPrepared(), row.answer);
    EXPECT_EQ(cache->GetBase(), row.newBase);
    EXPECT_EQ(cache->GetTarget(), row.count);
  }
}

TEST_F(CacheTest, EachPreparationTakesOneFrameAndSetsThePeriodByTheTarget) {
  EXPECT_EQ(cache->GetPeriod(), 30u);
  cache->SetTarget(6, 3);
  cache->PrepareNext(*player);
  EXPECT_EQ(cache->GetPrepared(), 1);
  EXPECT_EQ(cache->GetPeriod(), 1u) << "more to prepare";
  EXPECT_NE(page->GetDelta(6, false), nullptr);
  cache->PrepareNext(*player);
  cache->PrepareNext(*player);
  EXPECT_NE(page->GetDelta(0, false), nullptr) << "the window wraps past the last frame";
  EXPECT_EQ(cache->GetPeriod(), 30u) << "the target is reached";
  EXPECT_TRUE(cache->IsDone());

  // Its own tick only slows it down.
  RunFor(30);
  EXPECT_EQ(cache->GetPeriod(), 1000u);
  EXPECT_EQ(cache->GetPrepared(), 3);

  for (int i = 0; i < 5; ++i) cache->PrepareNext(*player);
  EXPECT_EQ(cache->GetPrepared(), 8);
  cache->PrepareNext(*player);
  EXPECT_EQ(cache->GetPrepared(), 8) << "every frame is prepared: nothing more to do";
}

TEST_F(CacheTest, AFrameThatCannotBePreparedCutsTheTargetDown) {
  const SmartRef<CMovie> refusing = new RefusingMovie();
  AddSprite(GroupOf(*page), *refusing, 0, 8);
  RefusingMovie::refuse = true;
  cache->SetTarget(0, 4);
  cache->PrepareNext(*player);
  EXPECT_EQ(cache->GetPrepared(), 0);
  EXPECT_EQ(cache->GetTarget(), 0);
  EXPECT_TRUE(cache->IsDone()) << "whoever waits for the target stops waiting";
}

struct PurgeRow {
  const char* name;
  std::int16_t level;
  std::size_t bytes;
  bool answer;
  std::int16_t prepared, target, purgeLevel;
};

TEST_F(CacheTest, PurgesGiveBackFramesByLevel) {
  const PurgeRow rows[] = {
      {"every prepared frame", 0, kAll, true, 0, 0, 1},
      {"the frames beyond the target", 1, kAll, true, 3, 3, 1},
      {"the frames outside the window", 2, kAll, true, 5, 3, 2},
      {"an unknown level frees nothing", 3, kAll, true, 5, 3, 3},
      {"enough memory after the first frame", 0, 0, true, 4, 3, 4},
  };
  for (const PurgeRow& row : rows) {
    SCOPED_TRACE(row.name);
    cache->Step(*player);
    cache->SetTarget(2, 0);
    cache->SetTarget(3, 0);
    PrepareWindow(2, 5);
    cache->SetTarget(2, 3);
    EXPECT_EQ(cache->Purge(row.bytes, row.level), row.answer);
    EXPECT_EQ(cache->GetPrepared(), row.prepared);
    EXPECT_EQ(cache->GetTarget(), row.target);
    EXPECT_EQ(cache->GetPurgeLevel(), row.purgeLevel);
  }
  // A whole purge at level 0 leaves the page nothing cached.
  cache->Step(*player);
  PrepareWindow(0, 3);
  cache->Purge(kAll, 0);
  EXPECT_EQ(page->GetDeltas().NumItems(), 0);
}

TEST_F(CacheTest, APurgeIsNotRepeatedAtItsLevelOrAboveUntilTheNextStep) {
  PrepareWindow(0, 4);
  EXPECT_TRUE(cache->Purge(kAll, 2));
  EXPECT_FALSE(cache->Purge(kAll, 2));
  EXPECT_FALSE(cache->Purge(kAll, 3));
  EXPECT_TRUE(cache->Purge(kAll, 0)) << "a lower level still runs";
  EXPECT_FALSE(cache->Purge(kAll, 1));
  EXPECT_TRUE(cache->Purge(kAll, 0));
  cache->PrepareNext(*player);
  EXPECT_EQ(cache->GetPurgeLevel(), CChoreCache::kNoPurgeDone);
  EXPECT_TRUE(cache->Purge(kAll, 2));
  RunFor(30);
  EXPECT_TRUE(cache->Purge(kAll, 2)) << "the chore's own step allows it again";
}

TEST_F(CacheTest, AnEditOfThePageEmptiesTheWindow) {
  PrepareWindow(1, 4);
  GroupOf(*page).GetSprite(0)->GetMovie()->ToggleMode4(true);
  EXPECT_EQ(cache->GetPrepared(), 0);
  PrepareWindow(1, 2);
  page->GetMovieGroup()->InsertFrames(8, 1, true, false);
  EXPECT_EQ(cache->GetPrepared(), 0);
}

TEST_F(CacheTest, AccelerateLeavesEveryFramePreparedWithoutANotice) {
  player->ShowFrame(3);
  EXPECT_TRUE(player->Accelerate());
  for (std::int16_t f = 0; f < 8; ++f) EXPECT_NE(page->GetDelta(f, false), nullptr) << f;
  EXPECT_EQ(cache->GetPrepared(), 8);
  EXPECT_EQ(cache->GetBase(), 3);
  EXPECT_EQ(cache->GetTarget(), 0) << "the target is cleared afterwards";
  EXPECT_TRUE(alerts.Alerts().empty());
}

// A progress display that records its caption and is stopped once it has shown two steps.
struct StoppedDisplay : ProgressDisplay, SmartImplementation {
  SMART_NOT_COPYABLE
  void Open() override {}
  void SetProgress(std::uint32_t done, std::uint32_t) override { shown = done; }
  void SetCaption(const String&) override {}
  void BringUp() override {}
  void Refresh() override {}
  bool WasCancelled() override { return shown >= 2; }
  void Close() override {}
  std::uint32_t shown = 0;
};
std::string gCaption;

TEST_F(CacheTest, StoppingAccelerateLeavesTheCacheAsItWas) {
  SetProgressDisplayMaker([](const char* caption) -> SmartRef<ProgressDisplay> {
    gCaption = caption;
    return new StoppedDisplay();
  });
  Progress::Enable(true);
  EXPECT_THROW(player->Accelerate(), Exception*);
  SetProgressDisplayMaker(nullptr);
  EXPECT_EQ(gCaption, "Accelerate");
  EXPECT_EQ(cache->GetTarget(), 8) << "the whole page was still wanted";
  EXPECT_EQ(cache->GetPrepared(), 2);
}

TEST_F(CacheTest, AccelerateAnswersFalseWhenAFrameCannotBePrepared) {
  const SmartRef<CMovie> refusing = new RefusingMovie();
  AddSprite(GroupOf(*page), *refusing, 0, 8);
  RefusingMovie::refuse = true;
  EXPECT_FALSE(player->Accelerate());
  EXPECT_EQ(cache->GetTarget(), 0);
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(CacheTest, AFrameHeldForTheCacheGoesOnWhenPreparingFails) {
  const SmartRef<CMovie> refusing = new RefusingMovie();
  AddSprite(GroupOf(*page), *refusing, 0, 8);
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, CChorePlay::kHoldForCache));
  page->GetMovieGroup()->SetLink(5, 1, ~MakeLink(CLink::kNext, 0));
  RefusingMovie::refuse = true;
  player->Play(true);
  EXPECT_EQ(RunUntilChange(2000), 250u);
  EXPECT_EQ(player->GetCurrentFrame(), 1);
}

}  // namespace
