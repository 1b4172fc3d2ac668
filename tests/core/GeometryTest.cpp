#include <gtest/gtest.h>

#include <string>

#include "core/Geometry.h"

namespace {

std::string Show(const Rect& r) {
  return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "}";
}

TEST(Rect, HalfOpenRules) {
  const Rect r{0, 0, 10, 10};
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(9, 9));
  EXPECT_FALSE(r.Contains(10, 5));
  EXPECT_FALSE(r.Contains(5, 10));
  Point p{15, -3};
  p.Constrain(r);
  EXPECT_EQ(p, (Point{10, 0})) << "clamping reaches right and bottom";
  struct Case {
    Rect a, b;
    bool overlaps;
    Rect intersection, unionRect;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {10, 0, 20, 10}, false, Rect::emptyRect, {0, 0, 20, 10}},
      {{0, 0, 10, 10}, {5, 5, 15, 15}, true, {5, 5, 10, 10}, {0, 0, 15, 15}},
      {Rect::emptyRect, {10, 10, 20, 20}, false, Rect::emptyRect, {0, 0, 20, 20}},
      {{0, 0, 10, 10}, {0, 10, 10, 20}, false, Rect::emptyRect, {0, 0, 10, 20}},
      {{-5, -5, 5, 5}, {-1, -1, 1, 1}, true, {-1, -1, 1, 1}, {-5, -5, 5, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.a) + " with " + Show(c.b));
    EXPECT_EQ(c.a.Overlaps(c.b), c.overlaps);
    EXPECT_EQ(c.b.Overlaps(c.a), c.overlaps);
    EXPECT_EQ(Show(c.a.Intersect(c.b)), Show(c.intersection));
    EXPECT_EQ(Show(c.a.Union(c.b)), Show(c.unionRect));
  }
}

TEST(Rect, CentresSizesAndRounding) {
  EXPECT_EQ((Rect{0, 0, 5, 5}.Center()), (Point{2, 2}));
  EXPECT_EQ((Rect{-5, -5, 0, 0}.Center()), (Point{-2, -2}));
  EXPECT_EQ(Show(Rect::FromSizeAndCenter({5, 5}, {10, 10})), "{8,8,13,13}");
  EXPECT_EQ(Show(Rect::FromSizeAndOrigin({3, 4}, {1, 2})), "{1,2,4,6}");
  EXPECT_EQ((Point{3, -3} * 0.5), (Point{2, -2}));
  Rect r{0, 0, 10, 10};
  r.Inset(2);
  EXPECT_EQ(Show(r), "{2,2,8,8}");
  r.Inset(-3);
  EXPECT_EQ(Show(r), "{-1,-1,11,11}");
  r.CenterAt({0, 0});
  EXPECT_EQ(Show(r), "{-6,-6,6,6}");
  r.CenterOn({100, 100, 110, 120});
  EXPECT_EQ(r.Center(), (Point{105, 110}));
  EXPECT_TRUE((Rect{5, 0, 5, 10}.IsEmpty()));
  EXPECT_TRUE((Rect{0, 5, 10, 4}.IsEmpty()));
}

TEST(Rect, MapAndFitAspect) {
  struct MapCase {
    Rect rect, source, destination, expected;
  };
  const MapCase maps[] = {
      {{0, 0, 10, 10}, {0, 0, 10, 10}, {3, 7, 30, 8}, {3, 7, 30, 8}},         // the source itself: exactly
      {{0, 0, 5, 5}, {0, 0, 10, 10}, {0, 0, 20, 20}, {0, 0, 10, 10}},
      {{5, 5, 10, 10}, {0, 0, 10, 10}, {0, 0, 3, 3}, {2, 2, 3, 3}},          // shares the bottom-right edge
      {{1, 1, 9, 9}, {0, 0, 10, 10}, {100, 100, 103, 103}, {100, 100, 103, 103}},
  };
  for (const MapCase& c : maps) {
    Rect r = c.rect;
    r.Map(c.source, c.destination);
    EXPECT_EQ(Show(r), Show(c.expected)) << Show(c.rect);
  }
  Point p{4, 4};
  p.Map({4, 4, 5, 5}, {40, 50, 60, 70});
  EXPECT_EQ(p, (Point{40, 50})) << "the source's top-left lands exactly";
  p = {5, 5};
  p.Map({0, 0, 0, 0}, {0, 0, 10, 10});  // an empty source must not stop the program
  EXPECT_EQ(Show(Rect{0, 0, 100, 50}.FitAspect({0, 0, 10, 10}, true)), "{25,0,75,50}");
  EXPECT_EQ(Show(Rect{0, 0, 100, 50}.FitAspect({0, 0, 10, 10}, false)), "{0,-25,100,75}");
}

}  // namespace
