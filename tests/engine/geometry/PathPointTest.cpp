#include <gtest/gtest.h>

#include "core/String.h"
#include "engine/geometry/PathPoint.h"
#include "engine/geometry/XformTestSupport.h"
#include "support/Raised.h"

using namespace engine_testing;

namespace {

SmartRef<PathPoint> PointWith(CXform* xform, Point offset = Point::origin) {
  SmartRef<PathPoint> point = new PathPoint();
  point->xform = xform;
  point->offset = offset;
  return point;
}

TEST(PathPoint, SetXformKeepsASharedTransformWhenOnlyTheFrameMoves) {
  const SmartRef<CXform> shared = new CXform({0, 0, 10, 10}, {100, 100, 110, 110});
  const SmartRef<CXform> moved = new CXform({0, 0, 10, 10}, {105, 97, 115, 107});
  const SmartRef<CXform> scaled = new CXform({0, 0, 10, 10}, {100, 100, 120, 120});
  const SmartRef<CXform> translation = new CXform({0, 0, 10, 10}, {3, 4, 13, 14});
  const SmartRef<CXform> storedHidden = StoredXform(Rect::emptyRect, Rect::emptyRect, 0, 0);
  struct Case {
    const char* name;
    CXform* before;
    CXform* given;
    CXform* after;
    Point offset;
  } const cases[] = {
      {"moved by (5, -3)", ~shared, ~moved, ~shared, {5, -3}},
      {"more than a move", ~shared, ~scaled, ~scaled, {0, 0}},
      {"none", ~shared, nullptr, nullptr, {0, 0}},
      {"hidden", ~shared, hiddenFrameXform, hiddenFrameXform, {0, 0}},
      {"a move shows a hidden frame untransformed", hiddenFrameXform, ~translation, nullptr, {3, 4}},
      {"a move of an untransformed frame", nullptr, ~translation, nullptr, {3, 4}},
      {"a stored hidden transform hides an untransformed frame", nullptr, ~storedHidden, ~storedHidden, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<PathPoint> point = PointWith(c.before, {7, 7});
    const SmartRef<PathPoint> sharer = PointWith(c.before);
    PathPoint::SetXform(point, c.given);
    EXPECT_EQ(~point->xform, c.after);
    EXPECT_EQ(point->offset, c.offset);
    EXPECT_EQ(~sharer->xform, c.before) << "the other frame keeps its transform";
  }
}

TEST(PathPoint, PlacesAndMapsPoints) {
  const SmartRef<CXform> doubled = new CXform({0, 0, 10, 10}, {0, 0, 20, 20});
  struct Case {
    const char* name;
    CXform* xform;
    Point offsetAfterPlacing;  // (5, 5) placed on (50, 50)
    Point mapped;              // (1, 2) after that placing
  } const cases[] = {
      {"untransformed", nullptr, {45, 45}, {46, 47}},
      {"transformed", ~doubled, {40, 40}, {42, 44}},
      {"hidden", hiddenFrameXform, {45, 45}, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<PathPoint> point = PointWith(c.xform, {9, 9});
    PathPoint::PlaceOrigin(point, {5, 5}, {50, 50});
    EXPECT_EQ(point->offset, c.offsetAfterPlacing);
    Point at{1, 2};
    PathPoint::MapPoint(point, &at);
    EXPECT_EQ(at, c.mapped);
  }
}

TEST(PathPoint, ClipsThroughATransformOfItsOwn) {
  // A shared transform is cloned first, so the other frame keeps its clip.
  const SmartRef<CXform> shared = new CXform({0, 0, 10, 10}, {0, 0, 10, 10});
  const SmartRef<PathPoint> point = PointWith(~shared, {10, 20});
  const SmartRef<PathPoint> sharer = PointWith(~shared);
  PathPoint::SetClip(point, {10, 20, 15, 25});
  ASSERT_NE(~point->xform, ~shared);
  Rect clip;
  EXPECT_TRUE(point->xform->GetClip(&clip));
  EXPECT_EQ(clip, Rect(0, 0, 5, 5)) << "in the transform's own coordinates, before the offset";
  EXPECT_FALSE(shared->GetClip(&clip));
  // The same clip again changes nothing, even when the transform has become shared.
  const SmartRef<CXform> own = point->xform;
  sharer->xform = own;
  PathPoint::SetClip(point, {10, 20, 15, 25});
  EXPECT_EQ(~point->xform, ~own);

  // An untransformed or hidden point takes a transform of the clip onto itself, which shows it.
  for (CXform* start : {static_cast<CXform*>(nullptr), hiddenFrameXform}) {
    const SmartRef<PathPoint> plain = PointWith(start, {1, 1});
    PathPoint::SetClip(plain, Rect::emptyRect);
    EXPECT_EQ(~plain->xform, start) << "an empty clip changes nothing";
    PathPoint::SetClip(plain, {1, 1, 9, 9});
    ASSERT_TRUE(plain->xform);
    EXPECT_FALSE(plain->IsHidden());
    EXPECT_EQ(plain->xform->GetSource(), Rect(0, 0, 8, 8));
    EXPECT_EQ(plain->xform->GetDestination(), Rect(0, 0, 8, 8));
    plain->xform->GetClip(&clip);
    EXPECT_EQ(clip, Rect(0, 0, 8, 8));
  }
}

TEST(PathPoint, CopiesShareTheTransform) {
  const SmartRef<CXform> shared = new CXform({0, 0, 10, 10}, {0, 0, 20, 20});
  const SmartRef<PathPoint> point = PointWith(~shared, {4, 5});
  const SmartRef<Smart> clone = point->Clone();
  const SmartRef<PathPoint> copy = CastSmart<PathPoint>(~clone);
  ASSERT_TRUE(copy);
  EXPECT_EQ(~copy->xform, ~shared);
  EXPECT_EQ(copy->offset, Point(4, 5));
  const SmartRef<PathPoint> other = new PathPoint();
  other->CopyFrom(~point);
  EXPECT_EQ(~other->xform, ~shared);
  const SmartRef<String> text = new String("x");
  EXPECT_EQ(RaisedText(Raised([&] { other->CopyFrom(~text); })), "castPtr");
  EXPECT_EQ(RaisedText(Raised([&] { shared->CopyFrom(~point); })), "castPtr");
}

}  // namespace
