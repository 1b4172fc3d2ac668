#include <gtest/gtest.h>

#include "graphics/Transform.h"

namespace {

TEST(Transform, Kinds) {
  EXPECT_EQ(Translation(0, 0).GetKind(), kIdentityTransform);
  EXPECT_EQ(Translation(3, 0).GetKind(), kTranslationTransform);
  EXPECT_EQ(ScaleTrans({0, 0, 10, 10}, {5, 5, 15, 15}).GetKind(), kTranslationTransform);
  EXPECT_EQ(ScaleTrans({0, 0, 10, 10}, {0, 0, 20, 20}).GetKind(), kScalingTransform);
  EXPECT_EQ(ScaleTrans({0, 0, 10, 10}, {0, 0, 10, 10}).GetKind(), kIdentityTransform);
}

TEST(Transform, ScalingPointsRectsAndInverse) {
  const ScaleTrans doubling({0, 0, 10, 10}, {0, 0, 20, 20});
  EXPECT_EQ(doubling.TransformPoint({5, 5}), (Point{10, 10}));
  EXPECT_EQ(doubling.TransformRect({0, 0, 10, 10}), (Rect{0, 0, 20, 20}));
  SmartRef<Transform> inverse(doubling.Inverse());
  EXPECT_EQ(inverse->TransformPoint({10, 10}), (Point{5, 5}));
  EXPECT_EQ(ScaleTrans({0, 0, 100, 50}, {0, 0, 100, 100}, true).GetDestination(), (Rect{0, 25, 100, 75}));
  EXPECT_EQ(ScaleTrans({0, 0, 10, 10}, {10, 0, 0, 10}).TransformRect({0, 0, 10, 10}), (Rect{10, 0, 0, 10}))
      << "a flip is not normalised";
}

TEST(Transform, ComposedByDoubleDispatch) {
  const Translation right(5, 0), down(0, 7), ten(10, 0);
  const ScaleTrans doubling({0, 0, 10, 10}, {0, 0, 20, 20});
  struct Case {
    const char* name;
    const Transform& first;
    const Transform& then;
    const ClassInfo* resultClass;
    Point probe, image;
  };
  const Case cases[] = {
      {"translations", right, down, &Translation::classInfo, {0, 0}, {5, 7}},
      {"translation then scaling", ten, doubling, &ScaleTrans::classInfo, {0, 0}, {20, 0}},
      {"scaling then translation", doubling, ten, &ScaleTrans::classInfo, {0, 0}, {10, 0}},
      {"scaling then scaling", doubling, doubling, &ScaleTrans::classInfo, {5, 5}, {20, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<Transform> composed(Transform::Compose(c.first, c.then));
    ASSERT_TRUE(composed);
    EXPECT_TRUE(composed->IsKindOf(c.resultClass));
    EXPECT_EQ(composed->TransformPoint(c.probe), c.image);
    EXPECT_EQ(composed->TransformPoint(c.probe), c.then.TransformPoint(c.first.TransformPoint(c.probe)));
  }
  SmartRef<Transform> a(Transform::Compose(ten, doubling));
  EXPECT_EQ(CastSmart<ScaleTrans>(~a)->GetSource(), (Rect{-10, 0, 0, 10}));
  EXPECT_EQ(CastSmart<ScaleTrans>(~a)->GetDestination(), (Rect{0, 0, 20, 20}));
  SmartRef<Transform> b(Transform::Compose(doubling, ten));
  EXPECT_EQ(CastSmart<ScaleTrans>(~b)->GetSource(), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(CastSmart<ScaleTrans>(~b)->GetDestination(), (Rect{10, 0, 30, 20}));
  EXPECT_EQ(ten.ComposeWith(doubling, true), nullptr);
}

}  // namespace
