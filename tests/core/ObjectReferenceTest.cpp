#include <gtest/gtest.h>

#include "core/ObjectReference.h"
#include "core/String.h"

namespace {

TEST(SimpleReference, HoldsReplacesAndReleases) {
  SmartRef<SimpleReference> empty = new SimpleReference(nullptr);
  EXPECT_FALSE(empty->ObjectExists());
  EXPECT_EQ(empty->GetObject(), nullptr);

  SmartRef<Smart> first = new String("a");
  SmartRef<SimpleReference> reference = new SimpleReference(first);
  EXPECT_TRUE(reference->ObjectExists());
  EXPECT_EQ(reference->GetObject(), ~first);
  EXPECT_FALSE(reference->AcceptsObject(first));
  EXPECT_TRUE(reference->CanReplaceObject());
  SmartRef<Smart> second = new String("b");
  reference->ReplaceObject(second);
  EXPECT_EQ(reference->GetObject(), ~second);
  EXPECT_FALSE(first->IsShared());  // the reference let go of the old object

  SmartRef<Smart> clone = reference->Clone();
  EXPECT_EQ(CastSmart<SimpleReference>(~clone)->GetObject(), ~second);
  empty->CopyFrom(~reference);
  EXPECT_EQ(empty->GetObject(), ~second);
}

TEST(Editable, ComposedTitles) {
  String container("ab");
  String object("cd");
  SmartRef<String> title;
  object.ComposeTitle(&title, &container);
  EXPECT_TRUE(*title == String("ab cd"));
  object.GetFullTitle(&title);
  EXPECT_TRUE(*title == String("cd"));
  EXPECT_EQ(object.DefaultSize(), (Point{100, 100}));
  EXPECT_TRUE(IsMember<Model>(&object));
  EXPECT_TRUE(IsMember<Editable>(&object));
  EXPECT_TRUE(IsMember<SystemScrap>(&object));
}

}  // namespace
