#include <gtest/gtest.h>

#include "core/Sound.h"
#include "engine/EngineTestSupport.h"
#include "engine/geometry/CXform.h"
#include "engine/links/CLink.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

using Event = DependantEvent;

class MovieTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    movie = new TestMovie({10, 10, 60, 40});
    movie->ToggleDependant(&dependant);
  }
  void TearDown() override {
    movie->ToggleDependant(&dependant);
    EngineTest::TearDown();
  }

  SmartRef<TestMovie> movie;
  RecordingDependant dependant;
};

TEST_F(MovieTest, ANewMovieHasOneEmptyFrameThatCyclesAndIsKeyed) {
  EXPECT_EQ(movie->GetFrameCount(), 1);
  EXPECT_EQ(movie->GetBounds(), Rect(10, 10, 60, 40));
  EXPECT_EQ(movie->GetMode(), CMovie::kModeKeyed | CMovie::kModeCycles);
  EXPECT_EQ(movie->GetSound(0), nullptr);
  EXPECT_EQ(movie->GetColorTable(0), nullptr);
  EXPECT_EQ(movie->GetLink(0), nullptr);
  EXPECT_EQ(movie->GetFrameCaches().NumItems(), 1);
  ASSERT_NE(movie->GetFrameIndex(), nullptr);
  EXPECT_EQ(movie->GetFrameIndex()->NumMarks(), 0);
}

// The three drawing modes exclude each other; a change of mode is a change of every frame.
TEST_F(MovieTest, DrawingModesExcludeEachOtherAndAnnounceAChangeOfEveryFrame) {
  struct Case {
    const char* name;
    bool (CMovie::*toggle)(bool);
    bool flag;
    bool answer;
    std::uint8_t mode;
  } cases[] = {
      {"opaque", &CMovie::ToggleMode4, true, true, 0x0C},
      {"keyed again", &CMovie::ToggleMode1, true, true, 0x09},
      {"keyed off", &CMovie::ToggleMode1, true, false, 0x08},
      {"other keying", &CMovie::ToggleMode16, true, true, 0x18},
      {"asked only", &CMovie::ToggleMode4, false, false, 0x18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dependant.events.clear();
    EXPECT_EQ(((*movie).*c.toggle)(c.flag), c.answer);
    EXPECT_EQ(movie->GetMode(), c.mode);
    if (c.flag) {
      EXPECT_EQ(dependant.events, (std::vector<Event>{{Event::kFrame, ~movie, {10, 10, 60, 40}, -1}}));
    } else {
      EXPECT_TRUE(dependant.events.empty());
    }
  }
  EXPECT_TRUE(movie->ToggleFlag8(false));
  EXPECT_FALSE(movie->ToggleFlag8(true));
  EXPECT_EQ(movie->GetMode(), 0x10);
}

TEST_F(MovieTest, BoundsChangesTellTheOldBoundsThenTheUnion) {
  movie->SetBounds({10, 10, 60, 40});
  EXPECT_TRUE(dependant.events.empty()) << "the same bounds change nothing";
  movie->SetBounds({30, 0, 90, 20});
  EXPECT_EQ(dependant.events, (std::vector<Event>{{Event::kBounds, ~movie, {10, 10, 60, 40}, -1},
                                                  {Event::kFrame, ~movie, {10, 0, 90, 40}, -1}}));
  EXPECT_EQ(movie->GetBounds(), Rect(30, 0, 90, 20));
}

TEST_F(MovieTest, ASuppressedEditReachesNoDependantAndTheFlagComesBack) {
  {
    MovieChangesSuppressed quiet;
    {
      MovieChangesSuppressed nested;
    }
    EXPECT_EQ(gSuppressMovieChanges, 1) << "a nested edit keeps the outer one's flag";
    movie->ToggleMode4(true);
    movie->InsertFrames(0, 2, false, false);
    movie->RemoveFrames(0, 1);
  }
  EXPECT_EQ(gSuppressMovieChanges, 0);
  EXPECT_TRUE(dependant.events.empty());
}

// Another movie's change keeps the rectangle it comes with, an empty one included.
TEST_F(MovieTest, ChangesOfOtherMoviesArePassedOnAsTheyCome) {
  SmartRef<TestMovie> other = new TestMovie();
  movie->Changed(~other, Rect::emptyRect, 0);
  movie->Changed(~movie, {1, 2, 3, 4}, 0);
  EXPECT_EQ(dependant.events, (std::vector<Event>{{Event::kFrame, ~other, Rect::emptyRect, 0},
                                                  {Event::kFrame, ~movie, {1, 2, 3, 4}, 0}}));
}

TEST_F(MovieTest, AChangeEmptiesTheCachesOfTheFramesItTouches) {
  movie->InsertFrames(1, 2, true, false);
  const List caches = movie->GetFrameCaches();
  auto fill = [&] {
    for (std::int32_t entry = 1; entry <= 3; ++entry) {
      SmartRef<ListData> cache = new ListData(&SmartImplementation::classInfo);
      cache->Append(SmartImplementation::Create());
      List(caches).Put(~cache, entry);
    }
  };
  auto sizes = [&] {
    std::vector<std::int32_t> n;
    for (std::int32_t entry = 1; entry <= 3; ++entry) n.push_back(CastSmart<ListData>(caches.At(entry))->NumItems());
    return n;
  };
  struct Case {
    std::int16_t frame;
    std::vector<std::int32_t> left;
  } cases[] = {{1, {1, 0, 1}}, {-1, {0, 0, 0}}, {3, {1, 1, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    fill();
    movie->Changed(~movie, Rect::emptyRect, c.frame);
    EXPECT_EQ(sizes(), c.left);
  }
}

// A dependant may take itself or another off while it is told: those that left are not told.
TEST_F(MovieTest, ADependantThatLeavesDuringAChangeIsNotToldAgain) {
  struct Leaver : MovieDependant {
    CMovie* movie = nullptr;
    MovieDependant* other = nullptr;
    int told = 0;
    void FrameChanged(CMovie*, const Rect&, std::int16_t) override {
      ++told;
      movie->ToggleDependant(other);
      movie->ToggleDependant(this);
    }
    void BoundsChanged(CMovie*, const Rect&) override {}
  } leaver;
  movie->ToggleDependant(&dependant);  // after the leaver
  leaver.movie = ~movie;
  leaver.other = &dependant;
  movie->ToggleDependant(&leaver);
  movie->ToggleDependant(&dependant);
  movie->Changed(~movie, Rect::emptyRect, -1);
  movie->Changed(~movie, Rect::emptyRect, -1);
  EXPECT_EQ(leaver.told, 1);
  EXPECT_TRUE(dependant.events.empty());
  movie->ToggleDependant(&dependant);
}

TEST_F(MovieTest, OnlyFramesThatAreMovedOrHiddenAreDrawnDirectly) {
  SmartRef<CXform> moved = new CXform({0, 0, 10, 10}, {5, 5, 15, 15});
  SmartRef<CXform> scaled = new CXform({0, 0, 10, 10}, {0, 0, 20, 10});
  SmartRef<CXform> turned = new CXform({0, 0, 10, 10}, {0, 0, 10, 10});
  XformMatrix quarter{0, 1, -1, 0};
  turned->Decompose(quarter);
  ASSERT_EQ(turned->GetRotation() % 360, 90);
  EXPECT_TRUE(movie->CanDrawDirect(nullptr));
  EXPECT_TRUE(movie->CanDrawDirect(hiddenFrameXform));
  EXPECT_TRUE(movie->CanDrawDirect(~moved));
  EXPECT_FALSE(movie->CanDrawDirect(~scaled));
  EXPECT_FALSE(movie->CanDrawDirect(~turned));
}

TEST_F(MovieTest, PurgingFramesWithSoundsIsNoticedOnceAndFreesNothing) {
  AlertRecorder alerts;
  movie->InsertFrames(1, 3, true, false);
  SmartRef<Sound> sound = MakeSound("RIFF");
  movie->SetSound(0, 4, ~sound);
  EXPECT_FALSE(movie->PurgeFrame(CMovie::kNoFrames));
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_FALSE(movie->PurgeFrame(CMovie::kAllFrames));
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
  EXPECT_EQ(movie->GetSound(3), ~sound);
}

TEST_F(MovieTest, OperationsAKindDoesNotSupportAreNoticedAndAnswerNeutrally) {
  AlertRecorder alerts;
  EXPECT_EQ(movie->MergeSprite(nullptr), -1);
  EXPECT_FALSE(movie->GetFrameObject(0));
  movie->OffsetFrames(-1, 3, 4);
  EXPECT_FALSE(alerts.Alerts().empty());
  for (const RecordedAlert& alert : alerts.Alerts()) EXPECT_EQ(alert.text.rfind("Not implemented.", 0), 0u);
  EXPECT_EQ(movie->GetBounds(), Rect(10, 10, 60, 40));
}

}  // namespace
