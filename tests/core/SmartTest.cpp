#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Smart.h"
#include "support/Raised.h"

namespace {

// A small multiply inherited family: Shape <- Polygon <- Square, with the mix-in Named beside Polygon.
class Shape : public SmartImplementation {
  SMART_CLASS(Shape)
 public:
  int sides = 0;
};
class Named : public virtual Smart {
  SMART_ABSTRACT(Named)
 public:
  const char* label = "none";
};
class Polygon : public Shape {
  SMART_CLASS(Polygon)
};
class Square : public Polygon, public Named {
  SMART_CLASS(Square)
};
class Circle : public Shape {
  SMART_CLASS(Circle)
};

SMART_DEFINE(Shape, "Shape", &CreateDefault<Shape>, nullptr, SmartImplementation)
SMART_DEFINE_ABSTRACT(Named, "Named")
SMART_DEFINE(Polygon, "Polygon", &CreateDefault<Polygon>, nullptr, Shape)
SMART_DEFINE(Square, "Square", &CreateDefault<Square>, nullptr, Polygon, Named)
SMART_DEFINE(Circle, "Circle", &CreateDefault<Circle>, nullptr, Shape)

TEST(ClassInfo, KindTestsAndCastsFollowTheParents) {
  struct Case {
    const ClassInfo* object;
    const ClassInfo* asked;
    bool kind;
  };
  const Case cases[] = {
      {&Square::classInfo, &Square::classInfo, true},
      {&Square::classInfo, &Polygon::classInfo, true},
      {&Square::classInfo, &Shape::classInfo, true},
      {&Square::classInfo, &Named::classInfo, true},
      {&Square::classInfo, &SmartImplementation::classInfo, true},
      {&Square::classInfo, &Smart::classInfo, true},
      {&Square::classInfo, &Circle::classInfo, false},
      {&Circle::classInfo, &Polygon::classInfo, false},
      {&Circle::classInfo, &Named::classInfo, false},
      {&Polygon::classInfo, &Square::classInfo, false},
      {&Shape::classInfo, &Shape::classInfo, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.object->GetName()) + " as " + c.asked->GetName());
    SmartRef<Smart> object(c.object->factory());
    EXPECT_EQ(c.object->IsKindOf(c.asked), c.kind);
    EXPECT_EQ(object->IsKindOf(c.asked), c.kind);
    EXPECT_EQ(CastSmart(~object, c.asked) != nullptr, c.kind);
    EXPECT_EQ(object->DynamicCast(c.asked), object->CastTo(c.asked));
    EXPECT_EQ(object->GetClassInfo(), c.object);
  }
}

TEST(ClassInfo, CastsLandOnTheRightPartOfAMultiplyInheritedObject) {
  SmartRef<Square> square(new Square);
  square->label = "carré";
  Named* named = CastSmart<Named>(~square);
  ASSERT_NE(named, nullptr);
  EXPECT_STREQ(named->label, "carré");
  EXPECT_EQ(static_cast<Named*>(~square), named);
  EXPECT_EQ(CastSmart<Polygon>(named), static_cast<Polygon*>(~square));
  EXPECT_EQ(Square::classInfo.toSmart(~square), static_cast<Smart*>(~square));
  EXPECT_EQ(Square::classInfo.toSmart(nullptr), nullptr);
  EXPECT_EQ(CastSmart<Square>(static_cast<Square*>(nullptr)), nullptr);
  EXPECT_EQ(CastSmart(nullptr, &Square::classInfo), nullptr);
  EXPECT_TRUE(IsMember<Shape>(named));
  EXPECT_FALSE(IsMember<Circle>(named));
}

TEST(ClassInfo, RecordsNameTheirParentsInOrder) {
  ASSERT_NE(Square::classInfo.parents, nullptr);
  EXPECT_EQ(Square::classInfo.parents[0], &Polygon::classInfo);
  EXPECT_EQ(Square::classInfo.parents[1], &Named::classInfo);
  EXPECT_EQ(Square::classInfo.parents[2], nullptr);
  EXPECT_EQ(Named::classInfo.parents[0], nullptr);
  EXPECT_EQ(Named::classInfo.factory, nullptr);
  EXPECT_STREQ(Smart::classInfo.GetName(), "Smart");
  EXPECT_EQ(Smart::classInfo.parents, nullptr);
  EXPECT_EQ(SmartImplementation::classInfo.parents[0], &Smart::classInfo);
  EXPECT_EQ(Square::classInfo.size, sizeof(Square));
  SmartRef<Square> square(new Square);
  EXPECT_EQ(square->GetMemorySize(), sizeof(Square));
}

TEST(ClassInfo, CopyFromChecksTheSourceClass) {
  SmartRef<Polygon> polygon(new Polygon);
  polygon->sides = 5;
  SmartRef<Square> square(new Square);
  EXPECT_TRUE(polygon->CanCopyFrom(~square));
  EXPECT_FALSE(square->CanCopyFrom(~polygon));
  square->sides = 4;
  polygon->CopyFrom(~square);
  EXPECT_EQ(polygon->sides, 4);
  SmartRef<Circle> circle(new Circle);
  const auto raised = Raised([&] { circle->CopyFrom(~polygon); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
}

TEST(SmartRef, CountsReferencesAndDeletesOnTheLastRelease) {
  static int destroyed;
  struct Watched : SmartImplementation {
    ~Watched() override { ++destroyed; }
  };
  destroyed = 0;
  auto* object = new Watched;
  EXPECT_TRUE(object->IsUnreferenced());
  {
    SmartRef<Watched> first(object);
    EXPECT_EQ(object->GetReferenceCount(), 1);
    EXPECT_FALSE(object->IsShared());
    SmartRef<Watched> second = first;
    EXPECT_TRUE(object->IsShared());
    second = first;  // the same object: unchanged
    first = first;   // itself: unchanged
    EXPECT_EQ(object->GetReferenceCount(), 2);
    second = nullptr;
    EXPECT_EQ(object->GetReferenceCount(), 1);
    SmartRef<Smart> asRoot = first;
    EXPECT_EQ(object->GetReferenceCount(), 2);
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(SmartRef, ReassigningKeepsAnObjectOnlyTheOldReferenceHeld) {
  // The new object is referenced before the old one is released.
  SmartRef<Shape> outer(new Shape);
  SmartRef<Shape> alias = outer;
  alias = ~outer;
  EXPECT_EQ(outer->GetReferenceCount(), 2);
  SmartRef<Shape> moved = std::move(alias);
  EXPECT_EQ(~alias, nullptr);
  EXPECT_EQ(outer->GetReferenceCount(), 2);
}

TEST(SmartRef, ArrowOnAnEmptyReferenceFailsItsAssertion) {
  SmartRef<Shape> empty;
  EXPECT_EQ(RaisedText(Raised([&] { (void)empty->sides; })), "data != NULL");
  EXPECT_EQ(~empty, nullptr);
}

TEST(SmartImplementation, PermanentAndUncountedObjects) {
  // The 0xFFFF-th reference makes the object permanent: never counted again, never freed.
  SmartImplementation permanentMaker;
  for (int i = 0; i < 0xFFFF; ++i) permanentMaker.Reference();
  EXPECT_EQ(permanentMaker.GetReferenceCount(), SmartImplementation::kPermanent);
  permanentMaker.Reference();
  EXPECT_FALSE(permanentMaker.Unreference());
  EXPECT_EQ(permanentMaker.GetReferenceCount(), SmartImplementation::kPermanent);

  // A release at count 0 does not wrap to the permanent value: the object stays managed.
  SmartImplementation* uncounted = new SmartImplementation;
  EXPECT_FALSE(uncounted->Unreference());
  EXPECT_EQ(uncounted->GetReferenceCount(), 0);
  { SmartRef<SmartImplementation> reference(uncounted); }  // frees it (ASan would see a leak otherwise)

  SmartImplementation stackObject;
  stackObject.MakePermanent();
  { SmartRef<SmartImplementation> reference(&stackObject); }  // must not delete a static-like object
  EXPECT_EQ(stackObject.GetReferenceCount(), SmartImplementation::kPermanent);
}

TEST(SmartImplementation, ClonesAndCopiesStartUnreferenced) {
  SmartRef<Square> square(new Square);
  SmartRef<Square> second = square, third = square;
  square->sides = 4;
  SmartRef<Smart> clone(square->Clone());
  EXPECT_EQ(CastSmart<Square>(~clone)->GetReferenceCount(), 1);  // only the reference made here
  EXPECT_EQ(CastSmart<Square>(~clone)->sides, 4);
  Square copy(*square);
  EXPECT_EQ(copy.GetReferenceCount(), 0);
  copy = *square;
  EXPECT_EQ(copy.GetReferenceCount(), 0);
}

// Conversions: Level0 -> Level1 -> ... -> Level5, each level converting from the one below.
template <int N>
class Level : public SmartImplementation {
 public:
  static const ClassInfo classInfo;
  static const ClassConversion conversions[];
  const ClassInfo* GetClassInfo() const override { return &classInfo; }
  void* CastTo(const ClassInfo* info) override {
    return info == &classInfo ? this : SmartImplementation::CastTo(info);
  }
  Smart* Clone() const override { return new Level(*this); }
  static bool From(SmartRef<Smart>* slot) {
    if (!IsMember<Level<N - 1>>(~*slot)) return false;
    *slot = new Level<N>;
    return true;
  }
};
template <>
const ClassConversion Level<0>::conversions[] = {{nullptr, nullptr, nullptr}};
template <int N>
const ClassConversion Level<N>::conversions[] = {{&Level<N - 1>::classInfo, &Level<N>::From, nullptr},
                                                  {nullptr, nullptr, nullptr}};
const ClassInfo* const kLevelParents[] = {&SmartImplementation::classInfo, nullptr};
template <int N>
const ClassInfo Level<N>::classInfo = {"Level", kLevelParents, &SmartBaseOf<Level<N>>, nullptr,
                                       Level<N>::conversions, sizeof(Level<N>)};

TEST(Conversion, ChainsOfUpToFourStepsSucceed) {
  struct Case {
    const ClassInfo* target;
    bool converts;
  };
  const Case cases[] = {{&Level<0>::classInfo, true}, {&Level<1>::classInfo, true}, {&Level<4>::classInfo, true},
                        {&Level<5>::classInfo, false}};
  for (const Case& c : cases) {
    SmartRef<Smart> slot(new Level<0>);
    EXPECT_EQ(CanConvertSmart(slot, c.target), c.converts);
    Smart* before = ~slot;
    EXPECT_EQ(ConvertSmart(&slot, c.target), c.converts);
    EXPECT_EQ(slot->IsKindOf(c.target), c.converts);
    if (!c.converts) {
      EXPECT_EQ(~slot, before);
    }
  }
}

TEST(Conversion, EmptySlots) {
  SmartRef<Smart> empty;
  EXPECT_TRUE(CanConvertSmart(empty, &Level<3>::classInfo));
  EXPECT_FALSE(ConvertSmart(&empty, &Level<3>::classInfo));
  EXPECT_EQ(~empty, nullptr);
}

}  // namespace
