#include <gtest/gtest.h>

#include <vector>

#include "core/ListData.h"
#include "core/String.h"
#include "support/Raised.h"

namespace {

// Counts its own destruction, so that tests see when the last reference goes.
class Tracked : public SmartImplementation {
 public:
  explicit Tracked(int* deaths) : deaths(deaths) {}
  ~Tracked() override { ++*deaths; }

 private:
  int* deaths;
};

class Recorder : public ModelObserver {
 public:
  void Changed(const StringChange* change) override { changes.push_back(*change); }
  std::vector<StringChange> changes;
};

TEST(List, PutPastTheEndFillsWithNulls) {
  List list(&SmartImplementation::classInfo);
  SmartRef<Smart> a = new SmartImplementation(), b = new SmartImplementation(), c = new SmartImplementation();
  list.Append(~a);
  list.Append(~b);
  list.Put(~c, 5);
  ASSERT_EQ(list.NumItems(), 5);
  EXPECT_EQ(list.At(3), nullptr);
  EXPECT_EQ(list.At(4), nullptr);
  EXPECT_EQ(list.At(5), ~c);
  EXPECT_EQ(list.At(0), nullptr);
  EXPECT_EQ(list.At(6), nullptr);
  EXPECT_EQ(RaisedText(Raised([&] { list->Remove(0, 1); })), "Range error");
}

TEST(ListData, ElementsLiveWhileAnyReferenceHoldsThem) {
  int deaths = 0;
  List list(&SmartImplementation::classInfo);
  {
    SmartRef<Smart> kept = new Tracked(&deaths);
    list.Append(~kept);
    list.Append(new Tracked(&deaths));
    list->Remove(1, 1);
    EXPECT_EQ(deaths, 0);  // still held by `kept`
  }
  EXPECT_EQ(deaths, 1);
  list->RemoveAll();
  EXPECT_EQ(deaths, 2);
}

// Putting back the element already at a position, when only the list holds it, must not free it.
TEST(ListData, PutOfTheSameElementKeepsItAlive) {
  int deaths = 0;
  List list(&SmartImplementation::classInfo);
  list.Append(new Tracked(&deaths));
  Smart* element = list.At(1);
  list->Put(element, 1, 1);
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(list.At(1), element);
  SmartRef<ListData> other = new ListData(&SmartImplementation::classInfo);
  other->Append(element);
  list->Assign(*other);  // the element is in both lists
  EXPECT_EQ(deaths, 0);
  other = nullptr;
  list->RemoveAll();
  EXPECT_EQ(deaths, 1);
}

TEST(ListData, ObserversHearEveryChangeLastRegisteredFirst) {
  Recorder first, second;
  List list(&SmartImplementation::classInfo);
  list->ToggleObserver(&first);
  list->ToggleObserver(&second);
  std::vector<int> order;
  struct Order : ModelObserver {
    std::vector<int>* order;
    int id;
    void Changed(const StringChange*) override { order->push_back(id); }
  } a, b;
  a.order = b.order = &order;
  a.id = 1;
  b.id = 2;
  list->ToggleObserver(&a);
  list->ToggleObserver(&b);
  SmartRef<Smart> x = new SmartImplementation();
  list.Insert(~x, 0, 3);                      // (1, 0, 3)
  list->Put(nullptr, 2, 2);                   // (2, 2, 0)
  list->Remove(1, 1);                         // (1, 1, -1)
  SmartRef<ListData> other = new ListData(&SmartImplementation::classInfo);
  other->Append(~x);
  list->Assign(*other);                       // (1, 2, -1)
  list->RemoveAll();                          // (1, 1, -1)
  const std::vector<StringChange> expected = {{1, 0, 3}, {2, 2, 0}, {1, 1, -1}, {1, 2, -1}, {1, 1, -1}};
  EXPECT_EQ(first.changes, expected);
  EXPECT_EQ(order, (std::vector<int>{2, 1, 2, 1, 2, 1, 2, 1, 2, 1}));
  list->ToggleObserver(&second);  // a second toggle unregisters
  list.Append(~x);
  EXPECT_EQ(second.changes.size(), expected.size());
  EXPECT_EQ(first.changes.size(), expected.size() + 1);
}

TEST(ListData, CopiesShareElementsAndCheckTheirClass) {
  List strings(&String::classInfo);
  strings.Append(new String("a"));
  strings.Append(nullptr);
  SmartRef<ListData> copy = CastSmart<ListData>(strings->Clone());
  ASSERT_EQ(copy->NumItems(), 2);
  EXPECT_EQ(copy->At(1), strings.At(1));
  EXPECT_EQ(copy->At(2), nullptr);  // a list that holds a null can be copied

  List anything(&SmartImplementation::classInfo);
  anything.Append(new SmartImplementation());
  EXPECT_EQ(RaisedText(Raised([&] { strings->Assign(*anything); })), "CanCopy(source,1,num,convertOnCopy)");
  EXPECT_EQ(strings.NumItems(), 2);  // a refused assignment changes nothing
  EXPECT_FALSE(strings->InsertItemConverted(0, anything.At(1)));
  EXPECT_TRUE(strings->AcceptsItem(strings.At(1)));
  EXPECT_FALSE(strings->AcceptsItem(anything.At(1)));

  SmartRef<ListData> cloned = strings->CloneRange(1, 1);
  ASSERT_EQ(cloned->NumItems(), 1);
  EXPECT_NE(cloned->At(1), strings.At(1));
  EXPECT_TRUE(*static_cast<String*>(CastSmart(cloned->At(1), &String::classInfo)) == String("a"));
  SmartRef<ListData> shared = strings->CopyRange(1, 2);
  EXPECT_EQ(shared->At(1), strings.At(1));
}

TEST(ListData, InsertListIntoItself) {
  List list(&SmartImplementation::classInfo);
  SmartRef<Smart> a = new SmartImplementation(), b = new SmartImplementation();
  list.Append(~a);
  list.Append(~b);
  list.AppendList(list);
  ASSERT_EQ(list.NumItems(), 4);
  EXPECT_EQ(list.At(3), ~a);
  EXPECT_EQ(list.At(4), ~b);
}

}  // namespace
