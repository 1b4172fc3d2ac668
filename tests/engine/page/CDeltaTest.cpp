#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/kinds/CMoviePic.h"
#include "engine/memory/CMemory.h"
#include "engine/page/PageTestSupport.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "graphics/DisplayPort.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/graphics/SurfaceDevice.h"

using namespace engine_test;

namespace {

class DeltaTest : public PageTest {
 protected:
  // The first pixel where the two surfaces differ, outside the point given; empty when none does.
  static std::string FirstDifference(const SurfaceDevice& a, const SurfaceDevice& b, const Rect& bounds,
                                     const Point& except) {
    for (int y = bounds.top; y < bounds.bottom; ++y)
      for (int x = bounds.left; x < bounds.right; ++x)
        if (Point(x, y) != except && a.Pixel(x, y) != b.Pixel(x, y))
          return Text(Point(x, y)) + ": " + std::to_string(a.Pixel(x, y)) + " for " + std::to_string(b.Pixel(x, y));
    return "";
  }
};

TEST_F(DeltaTest, FrameZeroChangesFromTheLastFrame) {
  const SmartRef<CShow> page = MakePage({0, 0, 100, 80}, 5);
  const SmartRef<RecordingMovie> movie = new RecordingMovie(5, false, {0, 0, 10, 10});
  AddSprite(GroupOf(*page), *movie, 0, 5);
  movie->Forget();
  ASSERT_TRUE(page->GetDelta(0, true));
  const std::vector<std::string> changes = movie->Calls("change");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].substr(0, 9), "change 4 ");
  EXPECT_NE(changes[0].find(" to 0 "), std::string::npos);
}

TEST_F(DeltaTest, APageWithNothingShownHasNothingToReplay) {
  const SmartRef<CShow> page = MakePage({0, 0, 40, 40}, 2);
  CSprite* sprite = AddSprite(GroupOf(*page), *SolidPicture(8, 8, 4), 0, 2);
  sprite->HideFrames(0, 2);
  const SmartRef<CDelta> delta = page->GetDelta(1, true);
  ASSERT_TRUE(delta);
  EXPECT_EQ(delta->GetImprints().NumItems(), 0);
  ASSERT_TRUE(delta->GetChangedArea());
  EXPECT_TRUE(delta->GetChangedArea()->IsEmpty());
  SurfaceDevice screen(40, 40, Color(2));
  DisplayPort port(&screen, {0, 0, 40, 40});
  EXPECT_TRUE(delta->CheckStamps(port));
  const std::uint32_t before = screen.Pixel(20, 20);
  EXPECT_TRUE(delta->Replay(port));
  EXPECT_EQ(screen.Pixel(20, 20), before) << "nothing drawn";
}

// A movie that hands the record the imprints it is given, whatever the frames.
class ScriptedMovie : public TestMovie {
 public:
  struct Imprinted {
    Rect rect, changed;
  };
  explicit ScriptedMovie(std::vector<Imprinted> script) : TestMovie({0, 0, 40, 40}), script(std::move(script)) {}
  ScriptedMovie(const ScriptedMovie& other) : Smart(), TestMovie(other), script(other.script), checks(other.checks) {}
  Smart* Clone() const override { return new ScriptedMovie(*this); }
  SmartRef<CMovie> ExtractFrames(std::int16_t, std::int16_t, bool) override { return new ScriptedMovie(*this); }
  bool ComputeFrameChange(std::int16_t, std::int16_t to, CXform*, CXform* toXform, Rect*, Rect*,
                          FrameChangeRecord* record) override {
    for (const Imprinted& i : script) record->AddImprint(this, to, toXform, i.rect, Area(i.changed), true);
    UncoveredArea().Union(Area(Rect{30, 30, 35, 35}));  // what an image left
    return true;
  }
  bool CheckFrame(CXform*, std::int16_t frame, Smart* object, std::int32_t a, std::int32_t) override {
    checks->push_back(std::to_string(frame) + (object ? " with the changed area" : "") + " " + std::to_string(a));
    return true;
  }
  std::vector<Imprinted> script;
  std::shared_ptr<std::vector<std::string>> checks = std::make_shared<std::vector<std::string>>();
};

TEST_F(DeltaTest, TheOverlapPassDropsImprintsThatChangeNothing) {
  const SmartRef<CShow> page = MakePage({0, 0, 40, 40}, 2);
  const SmartRef<ScriptedMovie> movie = new ScriptedMovie({
      {{0, 0, 10, 10}, {0, 0, 10, 10}},
      {{5, 5, 20, 20}, Rect::emptyRect},  // lands but changes nothing: dropped
      {Rect::emptyRect, Rect::emptyRect},  // lands nowhere: kept
      {{20, 0, 30, 8}, {22, 0, 30, 8}},
  });
  AddSprite(GroupOf(*page), *movie, 0, 2);
  const SmartRef<CDelta> delta = page->GetDelta(1, true);
  ASSERT_TRUE(delta);
  std::vector<Rect> kept;
  for (std::int32_t i = 1; i <= delta->GetImprints().NumItems(); ++i)
    kept.push_back(CastSmart<Imprint>(delta->GetImprints().At(i))->rect);
  EXPECT_EQ(kept, (std::vector<Rect>{{0, 0, 10, 10}, Rect::emptyRect, {20, 0, 30, 8}}));
  const Area& changed = *delta->GetChangedArea();
  EXPECT_EQ(changed.GetBounds(), Rect(0, 0, 35, 35));
  EXPECT_FALSE(changed.Overlaps(Area(Rect{20, 0, 22, 8})));
  EXPECT_TRUE(changed.Overlaps(Area(Rect{30, 30, 35, 35})));
  EXPECT_TRUE(UncoveredArea().IsEmpty() && CoveredArea().IsEmpty()) << "the scratch areas are left empty";
}

TEST_F(DeltaTest, StampsAreKeptWhileTheyFit) {
  struct Case {
    const char* name;
    Rect rect;
    Point stampSize;
    bool aboveThreshold;
    bool kept;
  } const cases[] = {
      {"small images keep any stamp", {0, 0, 4, 8}, {6, 6}, false, true},
      {"a stamp of the image's size", {10, 10, 30, 20}, {20, 10}, false, true},
      {"a stamp of another size goes", {0, 0, 20, 12}, {20, 10}, false, false},
      {"short of memory every stamp stays", {0, 0, 20, 12}, {20, 10}, true, true},
  };
  const SmartRef<CShow> page = MakePage({0, 0, 40, 40}, 1);
  SurfaceDevice screen(40, 40);
  DisplayPort port(&screen, {0, 0, 40, 40});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDelta delta(*page);
    delta.AddImprint(nullptr, 0, nullptr, c.rect, Area(c.rect), true);
    Imprint* imprint = CastSmart<Imprint>(delta.GetImprints().At(1));
    imprint->stamp = new CStamp(new BitMap(c.stampSize.x, c.stampSize.y, ColorTable::GetStandard(8)), Color(0));
    CMemory::Get().SetLevel(c.aboveThreshold ? 4 : 0);
    EXPECT_EQ(delta.CheckStamps(port), c.kept);
    CMemory::Get().SetLevel(0);
    EXPECT_EQ(imprint->stamp != nullptr, c.kept);
  }
}

TEST_F(DeltaTest, PurgingMarksTheStampsForTheNextCheck) {
  const SmartRef<CShow> page = MakePage({0, 0, 60, 40}, 2);
  CSprite* sprite = AddSprite(GroupOf(*page), *SolidPicture(10, 10, 4), 0, 2);
  PlaceAt(*sprite, 1, {20, 10});
  SurfaceDevice screen(60, 40);
  DisplayPort port(&screen, {0, 0, 60, 40});
  ASSERT_TRUE(page->PrepareDelta(port, 1, {0, 0, 60, 40}, 2));
  const SmartRef<CDelta> delta = page->GetDelta(1, false);
  EXPECT_TRUE(delta->Purge());
  EXPECT_FALSE(delta->Purge()) << "already marked";
  EXPECT_FALSE(delta->CheckStamps(port)) << "the marked stamps are released";
  EXPECT_TRUE(delta->MakeStamps(port, *page));
  EXPECT_TRUE(delta->CheckStamps(port));

  // An imprint that can be made neither from a stamp nor from its movie leaves the frame to a full draw.
  CDelta orphan(*page);
  orphan.AddImprint(nullptr, 0, nullptr, {0, 0, 10, 10}, Area(Rect{0, 0, 10, 10}), true);
  EXPECT_FALSE(orphan.MakeStamps(port, *page));
  EXPECT_FALSE(orphan.Replay(port));
}

// Each scene is stepped frame by frame with the records replayed, and on to frame 0 again; every step
// must leave the pixels a full draw of that frame gives.
TEST_F(DeltaTest, ReplayingGivesThePixelsOfAFullDraw) {
  const Rect bounds{0, 0, 120, 90};
  struct Scene {
    const char* name;
    std::int16_t frames;
    std::function<void(CMovieGroup&)> build;
  } const scenes[] = {
      {"a move over the page colour", 5,
       [](CMovieGroup& group) {
         CSprite* s = AddSprite(group, *SolidPicture(20, 20, 4, true), 0, 5);
         for (std::int16_t f = 0; f < 5; ++f) PlaceAt(*s, f, {10 + 15 * f, 30});
       }},
      {"an overlap, over and under", 5,
       [](CMovieGroup& group) {
         CSprite* low = AddSprite(group, *SolidPicture(30, 20, 7, true), 0, 5);
         CSprite* still = AddSprite(group, *SolidPicture(30, 30, 5), 0, 5);
         CSprite* high = AddSprite(group, *SolidPicture(20, 20, 4, true), 0, 5);
         for (std::int16_t f = 0; f < 5; ++f) {
           PlaceAt(*low, f, {5 + 20 * f, 40});
           PlaceAt(*still, f, {45, 30});
           PlaceAt(*high, f, {20 + 15 * f, 35});
         }
       }},
      {"a hide", 4,
       [](CMovieGroup& group) {
         CSprite* s = AddSprite(group, *SolidPicture(16, 16, 3), 0, 4);
         for (std::int16_t f = 0; f < 4; ++f) PlaceAt(*s, f, {10 + 20 * f, 20});
         s->HideFrames(2, 1);
       }},
      {"a keyed sprite over an opaque one", 4,
       [](CMovieGroup& group) {
         const SmartRef<CMovie> opaque = SolidPicture(40, 30, 6, true);
         opaque->ToggleMode4(true);
         CSprite* below = AddSprite(group, *opaque, 0, 4);
         CSprite* above = AddSprite(group, *SolidPicture(20, 20, 2, true), 0, 4);
         for (std::int16_t f = 0; f < 4; ++f) {
           PlaceAt(*below, f, {40, 30});
           PlaceAt(*above, f, {25 + 12 * f, 35});
         }
       }},
      {"a move over a painted background", 4,
       [](CMovieGroup& group) {
         AddSprite(group, *SolidPicture(120, 90, 10), 0, 4)->ToggleBackgroundFlag(true);
         CSprite* s = AddSprite(group, *SolidPicture(20, 20, 4, true), 0, 4);
         for (std::int16_t f = 0; f < 4; ++f) PlaceAt(*s, f, {10 + 20 * f, 30});
       }},
      {"a still keyed sprite over a move", 4,
       [](CMovieGroup& group) {
         CSprite* below = AddSprite(group, *SolidPicture(30, 20, 7), 0, 4);
         CSprite* above = AddSprite(group, *SolidPicture(30, 30, 2, true), 0, 4);
         for (std::int16_t f = 0; f < 4; ++f) {
           PlaceAt(*below, f, {20 + 10 * f, 40});
           PlaceAt(*above, f, {40, 35});
         }
       }},
      {"a sprite partly off the page", 3,
       [](CMovieGroup& group) {
         CSprite* s = AddSprite(group, *SolidPicture(30, 30, 4, true), 0, 3);
         for (std::int16_t f = 0; f < 3; ++f) PlaceAt(*s, f, {100 + 5 * f, 70});
       }},
  };
  const Point marker{0, 0};  // no scene draws there
  for (const Scene& scene : scenes) {
    SCOPED_TRACE(scene.name);
    const SmartRef<CShow> page = MakePage(bounds, scene.frames);
    scene.build(GroupOf(*page));
    SurfaceDevice played(120, 90), drawn(120, 90);
    DisplayPort playPort(&played, bounds);
    page->PlayFrame(playPort, 0, bounds, true);
    for (std::int16_t step = 1; step <= scene.frames; ++step) {
      const auto f = static_cast<std::int16_t>(step % scene.frames);
      SCOPED_TRACE(f);
      // A full draw would paint the page colour over this pixel.
      playPort.DrawRect({marker.x, marker.y, marker.x + 1, marker.y + 1}, Color(9), Color(9));
      page->PlayFrame(playPort, f, bounds, false);
      EXPECT_NE(played.Pixel(marker.x, marker.y), 0xFFFFFFu) << "the frame was replayed, not drawn";
      {
        DisplayPort drawPort(&drawn, bounds);
        page->DrawFrame(drawPort, f, bounds, 0, nullptr, Rect::emptyRect);
      }
      EXPECT_EQ(FirstDifference(played, drawn, bounds, marker), "");
    }
  }
}

// A painted page background that never moves must not make each step repaint the whole page: the step
// changes what the moving sprite leaves and where it lands, and the background is repainted there alone.
TEST_F(DeltaTest, AnUnmovingBackgroundChangesOnlyWhereAMoveExposesIt) {
  const Rect bounds{0, 0, 120, 90};
  const SmartRef<CShow> page = MakePage(bounds, 3);
  AddSprite(GroupOf(*page), *SolidPicture(120, 90, 10), 0, 3)->ToggleBackgroundFlag(true);
  CSprite* mover = AddSprite(GroupOf(*page), *SolidPicture(10, 10, 4, true), 0, 3);
  for (std::int16_t f = 0; f < 3; ++f) PlaceAt(*mover, f, {10 + 30 * f, 20});
  const SmartRef<CDelta> delta = page->GetDelta(2, true);
  ASSERT_TRUE(delta);
  const Area& changed = *delta->GetChangedArea();
  EXPECT_EQ(changed.GetBounds(), Rect(40, 20, 80, 30)) << "the sprite's place in frames 1 and 2";
  EXPECT_FALSE(changed.Overlaps(Area(Rect{50, 20, 70, 30}))) << "nor what lies between";
  ASSERT_EQ(delta->GetImprints().NumItems(), 2);
  const auto* background = CastSmart<Imprint>(delta->GetImprints().At(2));
  EXPECT_EQ(background->rect, bounds);
  EXPECT_EQ(background->changedArea->GetBounds(), Rect(40, 20, 80, 30));

  // Nothing moves from frame 0 to itself on a one-frame page: nothing to repaint.
  const SmartRef<CShow> still = MakePage(bounds, 1);
  AddSprite(GroupOf(*still), *SolidPicture(120, 90, 10), 0, 1)->ToggleBackgroundFlag(true);
  const SmartRef<CDelta> none = still->GetDelta(0, true);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->GetChangedArea()->IsEmpty());
  EXPECT_EQ(none->GetImprints().NumItems(), 0);
}

TEST_F(DeltaTest, ARefusedChangeIsDrawnInFull) {
  const Rect bounds{0, 0, 60, 40};
  const SmartRef<CShow> page = MakePage(bounds, 2);
  const SmartRef<RecordingMovie> movie = new RecordingMovie(2, false, {0, 0, 10, 10});
  movie->answer = false;
  AddSprite(GroupOf(*page), *movie, 0, 2);
  SurfaceDevice screen(60, 40);
  DisplayPort port(&screen, bounds);
  page->PlayFrame(port, 0, bounds, true);
  movie->Forget();
  page->PlayFrame(port, 1, bounds, false);
  ASSERT_TRUE(page->GetDelta(1, false));
  EXPECT_FALSE(page->GetDelta(1, false)->IsComplete());
  EXPECT_EQ(movie->Calls("draw").size(), 1u) << "the frame was drawn";
}

// Movies drawn straight from themselves hear of every full draw of a frame their imprints are in.
TEST_F(DeltaTest, AFullDrawRefreshesTheMoviesDrawnDirectly) {
  const Rect bounds{0, 0, 40, 40};
  const SmartRef<CShow> page = MakePage(bounds, 2);
  const SmartRef<ScriptedMovie> movie = new ScriptedMovie({{{0, 0, 10, 10}, {0, 0, 10, 10}}});
  AddSprite(GroupOf(*page), *movie, 0, 2);
  SurfaceDevice screen(40, 40);
  DisplayPort port(&screen, bounds);
  movie->checks->clear();
  page->PlayFrame(port, 1, bounds, true);
  EXPECT_EQ(*movie->checks, std::vector<std::string>{"0 with the changed area 1"}) << "its one image";
}

}  // namespace
