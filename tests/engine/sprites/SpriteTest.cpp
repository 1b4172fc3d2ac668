#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/String.h"
#include "engine/geometry/XformTestSupport.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "support/Raised.h"

using namespace engine_test;

namespace {

class SpriteTest : public EngineTest {
 protected:
  // A sprite of six frames over six images of (0, 0, 40, 30): untransformed and moved; scaled twice and
  // moved; moved by its transform and clipped; hidden; stored hidden; an image without bounds.
  SmartRef<CSprite> MakeVariedSprite() {
    movie = new RecordingMovie(6, false);
    movie->imageBounds[5] = Rect::emptyRect;
    SmartRef<CSprite> sprite = new CSprite(0, ~movie, Rect::emptyRect);
    sprite->GetPathPoint(0)->offset = {10, 20};
    scaled = new CXform({0, 0, 40, 30}, {0, 0, 80, 60});
    sprite->GetPathPoint(1)->xform = scaled;
    sprite->GetPathPoint(1)->offset = {5, 5};
    clipped = new CXform({0, 0, 40, 30}, {100, 100, 140, 130});
    clipped->SetClip({100, 100, 120, 115});
    sprite->GetPathPoint(2)->xform = clipped;
    sprite->GetPathPoint(3)->xform = hiddenFrameXform;
    sprite->GetPathPoint(4)->xform = engine_testing::StoredXform(Rect::emptyRect, Rect::emptyRect, 0, 0);
    movie->Forget();
    return sprite;
  }

  SmartRef<RecordingMovie> movie;
  SmartRef<CXform> scaled, clipped;
};

TEST_F(SpriteTest, ANewSpriteCentresItsMovieOnThePlacementUnscaled) {
  struct Case {
    const char* name;
    Rect movieBounds, placement;
    Point origin;
    std::string frames;
  } const cases[] = {
      {"an empty placement keeps the movie's place", {0, 0, 40, 30}, Rect::emptyRect, {20, 15},
       "start 7: +0+0 +0+0 +0+0 | keys 0"},
      {"the movie's own bounds", {0, 0, 40, 30}, {0, 0, 40, 30}, {20, 15}, "start 7: +0+0 +0+0 +0+0 | keys 0"},
      {"another rectangle, of another size", {0, 0, 40, 30}, {100, 100, 120, 110}, {20, 15},
       "start 7: +90+90 +90+90 +90+90 | keys 0"},
      {"centres round toward zero", {-5, -5, 0, 0}, {0, 0, 5, 5}, {-2, -2}, "start 7: +4+4 +4+4 +4+4 | keys 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<RecordingMovie> shown = new RecordingMovie(3, false, c.movieBounds);
    const SmartRef<CSprite> sprite = new CSprite(7, ~shown, c.placement);
    ExpectSpriteInvariants(*sprite);
    EXPECT_EQ(Describe(*sprite), c.frames);
    EXPECT_EQ(sprite->GetOrigin(), c.origin);
    EXPECT_EQ(sprite->GetDefaultPoint()->offset, sprite->GetPathPoint(0)->offset);
    EXPECT_EQ(sprite->GetDefaultPoint()->xform, nullptr);
    EXPECT_NE(sprite->GetDefaultPoint(), sprite->GetPathPoint(0)) << "each frame has a point of its own";
    EXPECT_EQ(sprite->GetMovie(), ~shown);
  }
  EXPECT_EQ(RaisedText(Raised([] { CSprite(0, nullptr, Rect::emptyRect); })), "data != NULL");
}

TEST_F(SpriteTest, ImagesCycleOrHoldTheLastOne) {
  struct Case {
    bool cycles;
    std::vector<std::int16_t> images;  // at page frames 9 to 15
    std::int16_t atTwenty;
  } const cases[] = {
      {false, {0, 0, 1, 2, 2, 2, 2}, 2},
      {true, {0, 0, 1, 2, 0, 1, 2}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cycles ? "cycling" : "holding");
    const SmartRef<RecordingMovie> shown = new RecordingMovie(3, c.cycles);
    const SmartRef<CSprite> sprite = new CSprite(10, ~shown, Rect::emptyRect);
    sprite->SetFrameCount(5);
    ASSERT_EQ(shown->GetFrameCount(), 3) << "frames past the last image take no new images";
    std::vector<std::int16_t> images;
    for (std::int16_t f = 9; f <= 15; ++f) images.push_back(sprite->GetImageIndex(f));
    EXPECT_EQ(images, c.images);
    EXPECT_EQ(sprite->GetImageIndex(20), c.atTwenty);
  }
}

TEST_F(SpriteTest, FramesArePlacedBoundedAndMappedByTheirPathPoints) {
  const SmartRef<CSprite> sprite = MakeVariedSprite();
  const Rect empty = Rect::emptyRect;
  struct Case {
    const char* name;
    std::int16_t frame;
    Rect bounds, geometry;
    Point position;
    Rect mapping;
    bool shown;
    Rect placed;  // the placement's destination
  } const cases[] = {
      {"untransformed", 0, {10, 20, 50, 50}, {10, 20, 50, 50}, {30, 35}, {0, 0, 40, 30}, true, {10, 20, 50, 50}},
      {"scaled", 1, {5, 5, 85, 65}, {5, 5, 85, 65}, {45, 35}, {0, 0, 40, 30}, true, {5, 5, 85, 65}},
      {"clipped", 2, {100, 100, 140, 130}, {100, 100, 120, 115}, {120, 115}, {0, 0, 20, 15}, true, {100, 100, 140, 130}},
      {"hidden", 3, empty, empty, {20, 15}, empty, false, empty},
      // Only placement and visibility count a frame stored hidden as hidden.
      {"stored hidden", 4, {0, 0, 40, 30}, {0, 0, 40, 30}, {20, 15}, {0, 0, 40, 30}, false, empty},
      {"an image without bounds", 5, empty, empty, {20, 15}, empty, false, empty},
      {"before the sprite", -1, empty, empty, {20, 15}, empty, false, empty},
      {"after the sprite", 6, empty, empty, {20, 15}, empty, false, empty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rect r;
    Point p;
    sprite->GetFrameBounds(c.frame, &r);
    EXPECT_EQ(Text(r), Text(c.bounds));
    sprite->GetFrameGeometry(c.frame, &r, &p);
    EXPECT_EQ(Text(r), Text(c.geometry));
    EXPECT_EQ(Text(p), Text(c.position));
    sprite->GetFrameMapping(c.frame, &r, &p);
    EXPECT_EQ(Text(r), Text(c.mapping));
    EXPECT_EQ(p, sprite->GetOrigin());
    EXPECT_EQ(sprite->IsVisibleInRange(c.frame, 1), c.shown);

    SmartRef<CXform> xf;
    std::int16_t image = c.frame;
    Rect clip{0, 0, 1000, 1000};
    EXPECT_EQ(sprite->GetFramePlacement(&xf, &image, &clip), c.shown);
    if (c.shown) {
      ASSERT_TRUE(xf);
      EXPECT_EQ(Text(xf->GetDestination()), Text(c.placed));
      EXPECT_EQ(image, c.frame);
      EXPECT_EQ(Text(clip), c.frame == 2 ? Text({100, 100, 120, 115}) : Text({0, 0, 1000, 1000}));
    } else {
      EXPECT_EQ(~xf, hiddenFrameXform);
      EXPECT_EQ(clip, empty);
    }
  }
  // Placing a moved frame never moves the transform its frames share.
  EXPECT_EQ(scaled->GetDestination(), Rect(0, 0, 80, 60));
  SmartRef<CXform> xf;
  std::int16_t frame = 2;
  Rect clip;
  sprite->GetFramePlacement(&xf, &frame, &clip);
  EXPECT_EQ(~xf, ~clipped) << "an unmoved transformed frame is placed by its own transform";

  EXPECT_EQ(~sprite->GetXformAtFrame(1), ~scaled);
  EXPECT_EQ(sprite->GetXformAtFrame(0), nullptr);
  EXPECT_EQ(sprite->GetXformAtFrame(3), nullptr);
  EXPECT_TRUE(sprite->GetXformAtFrame(4));
  EXPECT_TRUE(sprite->IsVisibleInRange(-3, 5)) << "a range partly before the sprite";
  EXPECT_FALSE(sprite->IsVisibleInRange(3, 3));
  EXPECT_FALSE(sprite->IsVisibleInRange(0, 0));
}

TEST_F(SpriteTest, ThePlacementComesAfterTheSurroundingsTransform) {
  const SmartRef<CSprite> sprite = MakeVariedSprite();
  const SmartRef<CXform> doubling = new CXform({0, 0, 100, 100}, {0, 0, 200, 200});
  SmartRef<CXform> xf = doubling;
  std::int16_t frame = 0;
  Rect clip{0, 0, 1000, 1000};
  ASSERT_TRUE(sprite->GetFramePlacement(&xf, &frame, &clip));
  EXPECT_EQ(Text(xf->GetDestination()), Text({20, 40, 100, 100}));
  EXPECT_EQ(Text(xf->TransformPoint({0, 0})), Text({20, 40}));
  // The frame's clip is taken through the surroundings too.
  xf = doubling;
  frame = 2;
  ASSERT_TRUE(sprite->GetFramePlacement(&xf, &frame, &clip));
  EXPECT_EQ(Text(clip), Text({200, 200, 240, 230}));
  // Surroundings that hide hide every frame.
  xf = hiddenFrameXform;
  frame = 0;
  EXPECT_FALSE(sprite->GetFramePlacement(&xf, &frame, &clip));
  EXPECT_EQ(clip, Rect::emptyRect);
}

TEST_F(SpriteTest, DrawingCheckingAndChangesGoToTheMovieOnlyForShownFrames) {
  const SmartRef<CSprite> sprite = MakeVariedSprite();
  const SmartRef<OffScreen> page = new OffScreen(10, 10, 32, Color(0), true);
  DisplayPort port(~page, {0, 0, 10, 10});
  for (const std::int16_t frame : {3, 4, 5, 6, -1}) {
    SCOPED_TRACE(frame);
    movie->Forget();
    EXPECT_TRUE(sprite->Draw(port, nullptr, frame, Color(0)));
    EXPECT_TRUE(sprite->CheckFrame(nullptr, frame));
    if (frame != 5) {
      EXPECT_TRUE(movie->log->empty());
      EXPECT_EQ(movie->boundsAsked, 0) << "a hidden frame asks the movie nothing";
    }
  }
  movie->Forget();
  movie->answer = false;
  EXPECT_FALSE(sprite->Draw(port, nullptr, 1, Color(0)));
  EXPECT_FALSE(sprite->CheckFrame(nullptr, 1));
  Rect r1{0, 0, 500, 500}, r2{0, 0, 500, 500};
  EXPECT_FALSE(sprite->ComputeFrameChange(0, 3, nullptr, nullptr, &r1, &r2, nullptr));
  EXPECT_EQ(*movie->log, (std::vector<std::string>{
                             "draw 1 onto (5, 5, 85, 65)",
                             "check 1 onto (5, 5, 85, 65) 0 0",
                             "change 0 onto (10, 20, 50, 50) in (0, 0, 500, 500) to 3 hidden in (0, 0, 0, 0)",
                         }));
  movie->Forget();
  EXPECT_TRUE(sprite->ComputeFrameChange(3, 4, nullptr, nullptr, &r1, &r2, nullptr)) << "neither frame shown";
  EXPECT_TRUE(movie->log->empty());
}

TEST_F(SpriteTest, CopyFromSharesThePathAndCloneCopiesEverything) {
  for (const bool cycles : {false, true}) {
    SCOPED_TRACE(cycles ? "cycling" : "holding");
    const SmartRef<RecordingMovie> shown = new RecordingMovie(4, cycles);
    const SmartRef<CSprite> source = new CSprite(2, ~shown, Rect::emptyRect);
    source->SetFrameCount(3);
    const SmartRef<Sound> sound = MakeSound("RIFF");
    source->SetSound(2, 1, ~sound);
    source->SetName(new String("chat"));
    source->ToggleBackgroundFlag(true);
    shown->Forget();

    const SmartRef<CSprite> shared = new CSprite(3, ~shown, Rect::emptyRect);
    shared->CopyFrom(~source);
    shared->GetPathPoint(1)->offset = {4, 4};
    EXPECT_EQ(source->GetPathPoint(1)->offset, Point(4, 4)) << "the copy moves the source's path point";
    EXPECT_EQ(shared->GetMovie(), ~shown);
    EXPECT_EQ(shared->GetStartFrame(), 2);
    EXPECT_EQ(TextOf(*shared->GetName()), "chat");
    EXPECT_TRUE(shared->ToggleBackgroundFlag(false));
    EXPECT_TRUE(shown->log->empty());

    const SmartRef<Smart> cloned = source->Clone();
    const SmartRef<CSprite> clone = CastSmart<CSprite>(~cloned);
    ASSERT_TRUE(clone);
    ExpectSpriteInvariants(*clone);
    EXPECT_EQ(Describe(*clone), Describe(*source));
    clone->GetPathPoint(1)->offset = {9, 9};
    EXPECT_EQ(source->GetPathPoint(1)->offset, Point(4, 4)) << "the clone's path is its own";
    EXPECT_NE(clone->GetSoundAtFrame(2), nullptr);
    EXPECT_NE(clone->GetSoundAtFrame(2), ~sound);
    EXPECT_NE(clone->GetMovie(), ~shown);
    EXPECT_TRUE(clone->ToggleBackgroundFlag(false));
    // A held movie gives only the images the frames show; a cycling one all of them.
    EXPECT_EQ(*shown->log, std::vector<std::string>{cycles ? "extract 0 4" : "extract 0 3"});
  }
  const SmartRef<String> text = new String("x");
  const SmartRef<CSprite> sprite = new CSprite(0, new RecordingMovie(1, false), Rect::emptyRect);
  EXPECT_EQ(RaisedText(Raised([&] { sprite->CopyFrom(~text); })), "castPtr");
}

TEST_F(SpriteTest, AccessorsKeepTheirValues) {
  const SmartRef<RecordingMovie> shown = new RecordingMovie(2, false);
  const SmartRef<CSprite> sprite = new CSprite(5, ~shown, Rect::emptyRect);
  EXPECT_EQ(RaisedText(Raised([&] { sprite->SetName(nullptr); })), "~han != NULL");
  const SmartRef<String> name = new String("chien");
  sprite->SetName(name);
  const SmartRef<String> got = sprite->GetName();
  got->Set("autre");
  EXPECT_EQ(TextOf(*sprite->GetName()), "chien") << "the name answered is a copy";

  EXPECT_FALSE(sprite->ToggleBackgroundFlag(false));
  EXPECT_TRUE(sprite->ToggleBackgroundFlag(true));
  EXPECT_TRUE(sprite->ToggleBackgroundFlag(false));
  EXPECT_FALSE(sprite->ToggleBackgroundFlag(true));

  sprite->SetMovie(nullptr);
  EXPECT_EQ(sprite->GetMovie(), ~shown);
  const SmartRef<RecordingMovie> other = new RecordingMovie(2, false);
  sprite->SetMovie(~other);
  EXPECT_EQ(sprite->GetMovie(), ~other);

  sprite->SetStartFrame(-4);
  EXPECT_EQ(sprite->GetStartFrame(), -4);
  EXPECT_EQ(sprite->GetFrameCount(), 2) << "nothing else moves";
  const SmartRef<Sound> sound = MakeSound("RIFF");
  sprite->SetSound(-3, 1, ~sound);
  EXPECT_EQ(sprite->GetSoundAtFrame(-3), ~sound);
  for (const std::int16_t outside : {-5, -2, 5}) EXPECT_EQ(sprite->GetSoundAtFrame(outside), nullptr);
  EXPECT_EQ(sprite->GetLinkAtFrame(-3), nullptr);
}

TEST_F(SpriteTest, AMovieConvertsToASpriteAtItsOwnPlace) {
  SmartRef<Smart> slot = SmartRef<Smart>(new RecordingMovie(2, false, {10, 10, 50, 40}));
  CMovie* shown = CastSmart<CMovie>(~slot);
  ASSERT_TRUE(ConvertSmart(&slot, &CSprite::classInfo));
  const SmartRef<CSprite> sprite = CastSmart<CSprite>(~slot);
  ASSERT_TRUE(sprite);
  EXPECT_EQ(sprite->GetMovie(), shown);
  EXPECT_EQ(Describe(*sprite), "start 0: +0+0 +0+0 | keys 0");

  SmartRef<Smart> text = SmartRef<Smart>(new String("x"));
  Smart* before = ~text;
  EXPECT_FALSE(CSprite::FromMovie(&text));
  EXPECT_EQ(~text, before);
}

}  // namespace
