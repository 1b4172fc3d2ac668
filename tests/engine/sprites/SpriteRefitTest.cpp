#include <gtest/gtest.h>

#include <vector>

#include "engine/kinds/CMoviePic.h"
#include "engine/media/CResource.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/Raised.h"

using namespace engine_test;

namespace {

const Rect kImage{0, 0, 40, 32};
const Rect kDoubled{0, 0, 80, 64};

// A sprite at page frame 10 over a picture movie whose frames show the pictures R, R, Q, R; the sprite
// shows image f at its frame f, each frame doubled in size, frame 1 moved by (100, 0) and frame 3 hidden.
class SpriteRefitTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    movie = new CMoviePic(~r);
    movie->InsertFrames(1, 3, false, false);
    movie->SetFrames(2, 1, ~q, false, 0);
    sprite = new CSprite(10, movie, Rect::emptyRect);
    for (std::int16_t f = 0; f < 4; ++f) sprite->GetPathPoint(f)->xform = doubled;
    sprite->GetPathPoint(1)->offset = {100, 0};
    sprite->GetPathPoint(3)->xform = hiddenFrameXform;
    movie->ToggleDependant(&dependant);
  }
  void TearDown() override {
    movie->ToggleDependant(&dependant);
    EngineTest::TearDown();
  }
  static SmartRef<CResource> Picture() {
    return new CResource(SmartRef<Smart>(new BitMap(kImage.Width(), kImage.Height(), ColorTable::GetStandard(32))));
  }
  // Where the sprite's anchor lands on the page at a frame.
  Point AnchorAt(std::int16_t frame) const {
    Point position;
    sprite->GetFrameGeometry(frame, nullptr, &position);
    return position;
  }
  std::vector<std::int16_t> ChangedFrames() const {
    std::vector<std::int16_t> frames;
    for (const DependantEvent& event : dependant.events) frames.push_back(event.frame);
    return frames;
  }

  SmartRef<CResource> r = Picture(), q = Picture();
  SmartRef<CMoviePic> movie;
  SmartRef<CXform> doubled = new CXform(kImage, kDoubled);
  SmartRef<CSprite> sprite;
  RecordingDependant dependant;
};

// The reference frame's picture goes onto the target; the other frame of that picture scales with it,
// both keeping their anchor on the page; the frame of another picture and the hidden frame stay.
TEST_F(SpriteRefitTest, TheFramesOfTheReferencePictureFollowItOntoTheTarget) {
  const Rect target{0, 0, 160, 128};
  const Point anchors[] = {AnchorAt(10), AnchorAt(11)};
  sprite->RefitFrames(10, target, 10, 4);

  Rect bounds;
  sprite->GetFrameBounds(10, &bounds);
  EXPECT_EQ(bounds, target);
  sprite->GetFrameBounds(11, &bounds);
  EXPECT_EQ(bounds, Rect(100, 0, 260, 128));
  EXPECT_EQ(AnchorAt(10), anchors[0]);
  EXPECT_EQ(AnchorAt(11), anchors[1]);
  EXPECT_EQ(sprite->GetOrigin(), Point(10, 8)) << "the anchor in the picture's own coordinates, as now fitted";
  EXPECT_EQ(~sprite->GetPathPoint(2)->xform, ~doubled);
  EXPECT_EQ(sprite->GetPathPoint(2)->offset, Point::origin);
  EXPECT_TRUE(sprite->GetPathPoint(3)->IsHidden());
  EXPECT_EQ(ChangedFrames(), (std::vector<std::int16_t>{0, 0, 1, 1})) << "told in the movie's own frames";
  ExpectSpriteInvariants(*sprite);
}

// An untransformed reference frame has nothing to pass on: only the anchor is expressed anew.
TEST_F(SpriteRefitTest, AnUntransformedReferenceMovesNoFrame) {
  sprite->GetPathPoint(0)->xform = nullptr;
  sprite->RefitFrames(10, {0, 0, 80, 64}, 10, 4);
  EXPECT_EQ(sprite->GetOrigin(), Point(10, 8));
  EXPECT_EQ(sprite->GetPathPoint(0)->xform, nullptr);
  EXPECT_EQ(~sprite->GetPathPoint(1)->xform, ~doubled);
  EXPECT_EQ(sprite->GetPathPoint(1)->offset, Point(100, 0));
  EXPECT_TRUE(dependant.events.empty());
}

TEST_F(SpriteRefitTest, OnlyAResourceMovieCanBeRefitted) {
  const SmartRef<CSprite> other = new CSprite(0, new RecordingMovie(2, false), Rect::emptyRect);
  EXPECT_EQ(RaisedText(Raised([&] { other->RefitFrames(0, {0, 0, 10, 10}, 0, 2); })), "data != NULL");
}

}  // namespace
