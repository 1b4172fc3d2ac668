#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/geometry/CXform.h"
#include "engine/geometry/PathPoint.h"
#include "engine/geometry/XformTestSupport.h"
#include "support/DocumentBytes.h"

using namespace engine_testing;
using namespace document_testing;

namespace {

constexpr double kDegree = 0.01745329252;

// The unscaled matrix of the angles, as the transform builds it.
XformMatrix Turn(int rotation, int skew) {
  const double a = (rotation + skew) * kDegree, b = (skew - rotation) * kDegree;
  return {std::cos(a), std::sin(a), std::sin(b), std::cos(b)};
}

bool Near(const Point& a, const Point& b, int tolerance) {
  return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

std::string Text(const Point& p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

TEST(CXform, MapsPointsAndAnswersItsKind) {
  const Rect big{-100, -100, 100, 100};
  struct Case {
    const char* name;
    Rect source, destination;
    std::int16_t rotation, skew;
    Point in, out;
    int kind;
  };
  const Case cases[] = {
      {"scaled", {0, 0, 100, 50}, {10, 10, 210, 110}, 0, 0, {50, 25}, {110, 60}, kScalingTransform},
      {"an empty source maps onto itself", Rect::emptyRect, {10, 10, 20, 20}, 0, 0, {7, 9}, {7, 9}, kScalingTransform},
      {"equal rectangles are a translation", {0, 0, 40, 30}, {0, 0, 40, 30}, 0, 0, {5, 6}, {5, 6},
       kTranslationTransform},
      {"moved", {0, 0, 40, 30}, {10, -5, 50, 25}, 0, 0, {5, 6}, {15, 1}, kTranslationTransform},
      {"360 and -720 are no turn", {0, 0, 40, 30}, {0, 0, 40, 30}, 360, -720, {5, 6}, {5, 6},
       kTranslationTransform},
      {"90 turns about the origin", big, big, 90, 0, {10, 0}, {0, -10}, kGeneralTransform},
      {"-90 then moved", big, {-95, -95, 105, 105}, -90, 0, {0, 10}, {-5, 5}, kGeneralTransform},
      {"skew alone", big, big, 0, 15, {10, 0}, {10, 3}, kGeneralTransform},
      {"turned and scaled", big, {-200, -200, 200, 200}, 180, 0, {10, 5}, {-20, -10}, kGeneralTransform},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CXform> x = StoredXform(c.source, c.destination, c.rotation, c.skew);
    EXPECT_EQ(Text(x->TransformPoint(c.in)), Text(c.out));
    EXPECT_EQ(x->GetKind(), c.kind);
    EXPECT_EQ(x->IsUnrotated(), c.kind != kGeneralTransform);
  }
  // Halves go away from zero, on both sides.
  EXPECT_EQ(ApplyMatrix({0.5, 0, 0, -0.5}, 1, 1), Point(1, -1));
  EXPECT_EQ(ApplyMatrix({0.5, 0, 0, 0.5}, -3, 3), Point(-2, 2));
}

TEST(CXform, AnglesComeFromDegreesAndBackWithTheStoredConstants) {
  // pi is 3.14159265 in every branch, not the library's.
  struct Case {
    double y, x, expected;
  } const cases[] = {
      {0, -1, 3.14159265},      {0, 1, 0},         {0, 0, 0},
      {2, 0, 3.14159265 * 0.5}, {-2, 0, -3.14159265 * 0.5},
      {1, -1, std::atan(-1.0) + 3.14159265},   {-1, -1, std::atan(1.0) - 3.14159265}, {1, 1, std::atan(1.0)},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Atan2(c.y, c.x), c.expected) << c.y << ", " << c.x;

  const SmartRef<CXform> turned = StoredXform({0, 0, 10, 10}, {0, 0, 10, 10}, 30, 0);
  const XformMatrix m = turned->MakeMatrix();
  EXPECT_DOUBLE_EQ(m[0], std::cos(30 * kDegree));
  EXPECT_DOUBLE_EQ(m[2], std::sin(-30 * kDegree));

  // The scaled matrix takes the destination's size over the source's, row by row.
  const SmartRef<CXform> scaled = StoredXform({0, 0, 10, 20}, {0, 0, 30, 10}, 30, 0);
  const XformMatrix s = scaled->GetScaledMatrix();
  EXPECT_DOUBLE_EQ(s[1], 3 * std::sin(30 * kDegree));
  EXPECT_DOUBLE_EQ(s[3], 0.5 * std::cos(-30 * kDegree));
  XformMatrix inverse;
  ASSERT_TRUE(scaled->GetInverseMatrix(&inverse));
  const XformMatrix one = MultiplyMatrices(s, inverse);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(one[i], i == 0 || i == 3 ? 1 : 0, 1e-12);

  // A singular matrix stays as it was.
  XformMatrix flat{1, 2, 2, 4};
  EXPECT_FALSE(InvertMatrix(&flat));
  EXPECT_EQ(flat, (XformMatrix{1, 2, 2, 4}));
}

TEST(CXform, DecomposingKeepsTheRotationNearestTheOldOne) {
  struct Case {
    std::int16_t oldRotation;
    int turn, skew;
    std::int16_t rotation, newSkew;
  } const cases[] = {
      {350, 10, 0, 370, 0}, {0, 10, 0, 10, 0},    {-350, 10, 0, -350, 0}, {0, 190, 0, -170, 0},
      {720, 30, 0, 750, 0}, {0, 0, -20, 0, 340}, {0, 30, 15, 30, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.oldRotation) + " turned by " + std::to_string(c.turn));
    const SmartRef<CXform> x = StoredXform({0, 0, 40, 20}, {5, 6, 45, 26}, c.oldRotation, 0);
    x->Decompose(Turn(c.turn, c.skew));
    EXPECT_EQ(x->GetRotation(), c.rotation);
    EXPECT_EQ(x->GetSkew(), c.newSkew);
    EXPECT_EQ(x->GetDestination(), Rect(5, 6, 45, 26)) << "an unscaled matrix keeps the size";
  }
  // A scaled matrix gives the destination its size, from its top-left corner.
  const SmartRef<CXform> x = StoredXform({0, 0, 40, 20}, {5, 6, 45, 26}, 0, 0);
  XformMatrix m = Turn(30, 0);
  m[0] *= 2, m[1] *= 2, m[2] *= 3, m[3] *= 3;
  x->Decompose(m);
  EXPECT_EQ(x->GetDestination(), Rect(5, 6, 85, 66));
  EXPECT_EQ(x->GetRotation(), 30);
}

TEST(CXform, ComposesAndInverts) {
  const SmartRef<CXform> scale = new CXform({0, 0, 100, 50}, {10, 10, 210, 110});
  // After a transform that changes nothing, the very same object comes back.
  const SmartRef<CXform> nothing = new CXform({3, 3, 30, 30}, {3, 3, 30, 30});
  for (CXform* other : {~nothing, hiddenFrameXform}) {
    const SmartRef<Transform> composed(scale->Compose(*other, false));
    EXPECT_EQ(~composed, static_cast<Transform*>(~scale));
    EXPECT_EQ(~scale->ComposeRef(other), ~scale);
  }
  EXPECT_NE(~scale->ComposeRef(nullptr), ~scale);
  // Only transforms of its own class compose with it.
  const Translation move(5, 5);
  EXPECT_EQ(scale->Compose(move, false), nullptr);
  EXPECT_FALSE(scale->ComposeRef(&move));

  EXPECT_EQ(CXform({0, 0, 10, 10}, Rect::emptyRect).Inverse(), nullptr);
  const SmartRef<Transform> back(scale->Inverse());
  EXPECT_EQ(back->TransformPoint({110, 60}), Point(50, 25));
  // Turned transforms away from the origin invert too: the inverse takes the image back where it was.
  for (const SmartRef<CXform>& turned : {StoredXform({-50, -50, 50, 50}, {-50, -50, 50, 50}, 30, 10),
                                         StoredXform({100, 80, 200, 180}, {300, -20, 400, 80}, 30, 0),
                                         StoredXform({100, 80, 200, 180}, {300, -20, 500, 180}, -90, 0),
                                         StoredXform({0, 0, 80, 60}, {40, 40, 120, 100}, 0, 15)}) {
    const SmartRef<Transform> unturned(turned->Inverse());
    const Rect s = turned->GetSource();
    for (const Point p : {s.TopLeft(), s.Center(), s.BottomRight(), Point(s.left, s.bottom)})
      EXPECT_TRUE(Near(unturned->TransformPoint(turned->TransformPoint(p)), p, 2))
          << Text(p) << " came back at " << Text(unturned->TransformPoint(turned->TransformPoint(p)));
  }
}

// A random transform: angles from a few, rectangles anywhere, sometimes empty.
class RandomXforms {
 public:
  explicit RandomXforms(unsigned seed) : random(seed) {}
  int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
  Rect AnyRect(int emptyOdds) {
    const int l = Between(-300, 300), t = Between(-300, 300);
    if (Between(1, emptyOdds) == 1) return {l, t, l + Between(-5, 0), t + Between(0, 40)};
    return {l, t, l + Between(1, 200), t + Between(1, 200)};
  }
  std::int16_t AnyAngle() {
    static const std::int16_t angles[] = {0, 0, 0, 15, 30, 90, -45, 180, 360, -720, 200};
    return angles[Between(0, 10)];
  }
  SmartRef<CXform> Any(int emptyOdds = 8) {
    return StoredXform(AnyRect(emptyOdds), AnyRect(emptyOdds), AnyAngle(), Between(1, 3) == 1 ? AnyAngle() : 0);
  }
  // The other one moved: the same angles, both rectangles moved apart.
  SmartRef<CXform> MovedCopy(const CXform& x) {
    Rect s = x.GetSource(), d = x.GetDestination();
    s.Offset(Between(-50, 50), Between(-50, 50));
    d.Offset(Between(-50, 50), Between(-50, 50));
    return StoredXform(s, d, static_cast<std::int16_t>(x.GetRotation() + 360 * Between(-1, 1)), x.GetSkew());
  }

 private:
  std::mt19937 random;
};

TEST(CXform, DiffersByTranslationOnlyWhenItMapsAsTheOtherMoved) {
  RandomXforms random(1994);
  int answeredTrue = 0;
  for (int round = 0; round < 400; ++round) {
    const SmartRef<CXform> other = random.Between(1, 10) == 1 ? nullptr : random.Any();
    SmartRef<CXform> x;
    if (other && random.Between(1, 2) == 1) x = random.MovedCopy(*other);
    else if (!other && random.Between(1, 2) == 1) x = StoredXform({5, 5, 45, 25}, {-7, 30, 33, 50}, 360, 0);
    else x = random.Any();
    Point d;
    if (!x->DiffersByTranslation(~other, &d)) continue;
    ++answeredTrue;
    for (int y = -60; y <= 60; y += 15)
      for (int px = -60; px <= 60; px += 15) {
        const Point p = x->GetSource().TopLeft() + Point(px, y);
        const Point expected = (other ? other->TransformPoint(p) : p) - d;
        ASSERT_TRUE(Near(x->TransformPoint(p), expected, 1))
            << "round " << round << " point " << Text(p) << ": " << Text(x->TransformPoint(p)) << " for "
            << Text(expected);
      }
  }
  EXPECT_GT(answeredTrue, 100);
  // A transform that shows nothing is not the image moved, so that a path point given it hides its frame.
  Point d;
  const SmartRef<CXform> storedHidden = StoredXform(Rect::emptyRect, Rect::emptyRect, 0, 0);
  EXPECT_FALSE(storedHidden->DiffersByTranslation(nullptr, &d));
  EXPECT_FALSE(hiddenFrameXform->DiffersByTranslation(nullptr, &d));
  EXPECT_FALSE(CXform({0, 0, 5, 5}, {0, 0, 5, 5}).DiffersByTranslation(hiddenFrameXform, &d));
}

TEST(CXform, ComposedAndRelativeTransformsMapAsTheTwoInTurn) {
  RandomXforms random(2024);
  const auto sized = [&] {
    const int l = random.Between(-100, 100), t = random.Between(-100, 100);
    return Rect(l, t, l + random.Between(40, 200), t + random.Between(40, 200));
  };
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    // Scales and moves; a turn is kept unscaled, where its matrix is a rotation.
    const bool turning = random.Between(1, 3) == 1;
    const auto make = [&] {
      if (!turning) return StoredXform(sized(), sized(), 0, 0);
      Rect s = sized(), d = s;
      d.Offset(random.Between(-40, 40), random.Between(-40, 40));
      return StoredXform(s, d, random.AnyAngle(), 0);
    };
    const SmartRef<CXform> first = make(), then = make();
    const SmartRef<CXform> composed = then->ComposeRef(~first);
    const SmartRef<CXform> relative = then->RelativeTo(~first);
    // Mapping twice rounds twice: the first rounding grows by the second transform's scale.
    const auto roundingOf = [&](const CXform* second) {
      Point from, to;
      second->GetSizes(&from, &to);
      return (turning ? 2 : 1) + static_cast<int>(std::ceil(0.5 * std::max(1.0 * to.x / from.x, 1.0 * to.y / from.y)));
    };
    const Rect s = first->GetSource();
    for (const Point p : {s.TopLeft(), s.BottomRight(), s.Center(), Point(s.left, s.bottom)}) {
      const Point both = then->TransformPoint(first->TransformPoint(p));
      EXPECT_TRUE(Near(composed->TransformPoint(p), both, roundingOf(~then)))
          << Text(p) << " composed " << Text(composed->TransformPoint(p)) << " for " << Text(both);
      if (relative) {
        EXPECT_TRUE(Near(relative->TransformPoint(first->TransformPoint(p)), then->TransformPoint(p), roundingOf(~relative)))
            << Text(p) << " relative " << Text(relative->TransformPoint(first->TransformPoint(p))) << " for "
            << Text(then->TransformPoint(p));
      }
    }
  }
}

TEST(CXform, EquivalenceAndItsSpecialCases) {
  const SmartRef<CXform> a = new CXform({0, 0, 10, 10}, {20, 20, 40, 40});
  const SmartRef<CXform> sameMap = new CXform({5, 5, 15, 15}, {30, 30, 50, 50});
  const SmartRef<CXform> unmoved = new CXform({0, 0, 10, 10}, {0, 0, 10, 10});
  EXPECT_TRUE(XformsEquivalent(~a, ~sameMap));
  EXPECT_FALSE(XformsEquivalent(~a, ~unmoved));
  EXPECT_TRUE(XformsEquivalent(~unmoved, nullptr));
  EXPECT_TRUE(XformsEquivalent(nullptr, ~unmoved));
  EXPECT_TRUE(XformsEquivalent(nullptr, nullptr));
  EXPECT_TRUE(XformsEquivalent(hiddenFrameXform, hiddenFrameXform));
  EXPECT_FALSE(XformsEquivalent(hiddenFrameXform, nullptr));
  EXPECT_FALSE(XformsEquivalent(~unmoved, hiddenFrameXform));
  EXPECT_FALSE(XformsEquivalent(StoredXform({0, 0, 10, 10}, {0, 0, 10, 10}, 90, 0).operator->(), ~unmoved));
  EXPECT_TRUE(XformsEquivalent(StoredXform({0, 0, 10, 10}, {0, 0, 10, 10}, 360, 0).operator->(), ~unmoved));
  // RelativeTo needs another real transform that is not equivalent.
  EXPECT_FALSE(a->RelativeTo(nullptr));
  EXPECT_FALSE(a->RelativeTo(hiddenFrameXform));
  EXPECT_FALSE(a->RelativeTo(~sameMap));
}

TEST(CXform, RefitsOffsetsAndMovesWithItsClip) {
  const SmartRef<CXform> x = new CXform({0, 0, 10, 10}, {100, 100, 120, 120});
  x->SetClip({100, 100, 110, 110});
  x->Offset(5, -5);
  Rect clip;
  EXPECT_TRUE(x->GetClip(&clip));
  EXPECT_EQ(clip, Rect(105, 95, 115, 105));
  EXPECT_EQ(x->GetDestination(), Rect(105, 95, 125, 115));
  x->MoveOriginTo({0, 0}, {0, 0}, false);
  EXPECT_EQ(x->GetDestination(), Rect(0, 0, 20, 20));
  x->GetClip(&clip);
  EXPECT_EQ(clip, Rect(105, 95, 115, 105));
  x->MoveOriginTo({10, 10}, {30, 30}, true);
  EXPECT_EQ(x->GetDestination(), Rect(10, 10, 30, 30));
  x->GetClip(&clip);
  EXPECT_EQ(clip, Rect(115, 105, 125, 115));

  // Refitting takes the clip back onto the old source and lays that onto the new destination.
  const SmartRef<CXform> fitted = new CXform({0, 0, 10, 10}, {0, 0, 20, 20});
  fitted->SetClip({0, 0, 10, 10});
  fitted->Refit({0, 0, 30, 30}, {100, 100, 160, 160});
  EXPECT_EQ(fitted->GetSource(), Rect(0, 0, 30, 30));
  EXPECT_EQ(fitted->GetDestination(), Rect(100, 100, 160, 160));
  fitted->GetClip(&clip);
  EXPECT_EQ(clip, Rect(100, 100, 110, 110));
  // Under a turn the new source is the given one's corners turned.
  const SmartRef<CXform> turned = StoredXform({0, 0, 10, 10}, {0, 0, 10, 10}, 30, 0);
  turned->Refit({0, 0, 16, 16}, {0, 0, 22, 22});
  EXPECT_EQ(turned->GetSource(), Rect(0, 0, 22, 6));
  EXPECT_EQ(turned->TransformRect({0, 0, 16, 16}), Rect(0, 0, 22, 22));
  // A quarter turn refitted stays a quarter turn: the source's top-right corner lands top-left.
  const SmartRef<CXform> quarter = StoredXform({0, 0, 10, 10}, {0, 0, 10, 10}, 90, 0);
  quarter->Refit({0, 0, 16, 16}, {0, 0, 22, 22});
  EXPECT_EQ(quarter->GetSource(), Rect(0, -16, 16, 0));
  EXPECT_EQ(quarter->TransformPoint({16, 0}), Point(0, 0));
  EXPECT_EQ(quarter->TransformPoint({0, 0}), Point(0, 22));
  EXPECT_EQ(quarter->TransformPoint({16, 16}), Point(22, 0));
}

TEST(CXform, StoredFieldsReadBackAndHiddenFramesStayHidden) {
  const SmartRef<CXform> x = StoredXform({1, 2, 3, 4}, {5, 6, 7, 8}, -30, 375, {9, 10, 11, 12});
  const std::string saved = SaveDocument(SmartRef<Smart>(~x));
  EXPECT_EQ(ObjectBody(saved, 1), XformBody({1, 2, 3, 4}, {5, 6, 7, 8}, -30, 375, {9, 10, 11, 12}));

  // A hidden point comes back with a transform of its own that shows nothing, not the shared marker.
  const SmartRef<PathPoint> hidden = new PathPoint();
  hidden->offset = {3, -4};
  hidden->xform = hiddenFrameXform;
  const std::string hiddenSaved = SaveDocument(SmartRef<Smart>(~hidden));
  EXPECT_EQ(ObjectBody(hiddenSaved, 1), Long(3) + Long(static_cast<std::uint32_t>(-4)) + Long(2) +
                                            XformBody(Rect::emptyRect, Rect::emptyRect, 0, 0));
  SmartRef<ObjectFile> file;
  const SmartRef<PathPoint> read = CastSmart<PathPoint>(~ReadDocument(hiddenSaved, &file));
  ASSERT_TRUE(read && read->xform);
  EXPECT_NE(~read->xform, hiddenFrameXform);
  EXPECT_FALSE(read->xform->HasDestination());
  EXPECT_EQ(read->offset, Point(3, -4));
  EXPECT_EQ(SaveDocument(SmartRef<Smart>(~read)), hiddenSaved);
}

// The cases a transform must get right, side by side: each row answers a text.
TEST(CXform, TheCasesThatMatter) {
  const SmartRef<CXform> scale = new CXform({0, 0, 100, 50}, {10, 10, 210, 110});
  const SmartRef<CXform> nothing = new CXform({3, 3, 30, 30}, {3, 3, 30, 30});
  struct Case {
    const char* name;
    std::function<std::string()> answer;
    std::string expected;
  } const cases[] = {
      {"(50, 25) maps to (110, 60)", [&] { return Text(scale->TransformPoint({50, 25})); }, "(110, 60)"},
      {"equal rectangles are a translation, never the identity",
       [&] { return std::to_string(nothing->GetKind()); }, "1"},
      {"a scaling", [&] { return std::to_string(scale->GetKind()); }, "2"},
      {"a turn", [] { return std::to_string(StoredXform({0, 0, 9, 9}, {0, 0, 9, 9}, 45, 0)->GetKind()); }, "3"},
      {"360 and -720 are unrotated",
       [] { return std::to_string(StoredXform({0, 0, 9, 9}, {0, 0, 9, 9}, 360, -720)->IsUnrotated()); }, "1"},
      {"350 decomposed from a turn of 10 becomes 370",
       [] {
         const SmartRef<CXform> x = StoredXform({0, 0, 40, 20}, {0, 0, 40, 20}, 350, 0);
         x->Decompose(Turn(10, 0));
         return std::to_string(x->GetRotation()) + " " + std::to_string(x->GetSkew());
       },
       "370 0"},
      {"after a transform equivalent to none, the same object",
       [&] { return std::string(~scale->ComposeRef(~nothing) == ~scale ? "same" : "another"); }, "same"},
      {"after the hidden-frame transform, the same object",
       [&] { return std::string(~scale->ComposeRef(hiddenFrameXform) == ~scale ? "same" : "another"); }, "same"},
      {"a move of (5, -3) keeps the shared transform in the offset",
       [&] {
         const SmartRef<CXform> shared = new CXform({0, 0, 100, 50}, {10, 10, 110, 60});
         const SmartRef<PathPoint> point = new PathPoint();
         point->xform = shared;
         PathPoint::SetXform(point, new CXform({0, 0, 100, 50}, {15, 7, 115, 57}));
         return std::string(~point->xform == ~shared ? "kept " : "replaced ") + Text(point->offset);
       },
       "kept (5, -3)"},
      {"no inverse without a destination",
       [] { return std::string(CXform({0, 0, 10, 10}, Rect::emptyRect).Inverse() ? "an inverse" : "null"); }, "null"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.answer(), c.expected) << c.name;
}

}  // namespace
