#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/Resources.h"
#include "core/GenericArray.h"
#include "core/Stream.h"
#include "support/Raised.h"

namespace {

// An archive that writes blocks straight to a memory stream with no framing, enough to see the array's
// own stored bytes.
class PlainArchive : public Archive, public SmartImplementation {
 public:
  explicit PlainArchive(Stream* stream) : stream(stream) {}
  const ClassInfo* GetClassInfo() const override { return &SmartImplementation::classInfo; }
  void* CastTo(const ClassInfo* info) override {
    if (void* found = Archive::CastTo(info)) return found;
    return SmartImplementation::CastTo(info);
  }
  std::int32_t BeginObject(const PersistentType*) override { return 1; }
  void ReadWriteVersion(Version* version, std::int32_t, Version current) override { *version = current; }
  void EndObject(std::int32_t, std::uint32_t, bool) override {}
  std::int32_t ObjectToIndex(Persistent*) override { return 0; }
  Persistent* IndexToObject(std::int32_t) override { return nullptr; }
  void WriteClass(const ClassInfo*) override {}
  const ClassInfo* ReadClass() override { return nullptr; }
  Stream* GetStream() override { return stream; }
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

 private:
  Stream* stream;
};

std::vector<std::int32_t> Items(const GenericArray& array) {
  std::vector<std::int32_t> items;
  for (std::int32_t n = 1; n <= array.NumItems(); ++n) items.push_back(*static_cast<std::int32_t*>(array.At(n)));
  return items;
}

TEST(GenericArray, RangeChecks) {
  struct Case {
    const char* name;
    std::int32_t count;
    std::function<void(GenericArray&)> action;
    bool fails;
  };
  const std::int32_t item = 9;
  const Case cases[] = {
      {"At(0)", 3, [](GenericArray& a) { a.At(0); }, true},
      {"At(count + 1)", 3, [](GenericArray& a) { a.At(4); }, true},
      {"At(1) on empty", 0, [](GenericArray& a) { a.At(1); }, true},
      {"At(count)", 3, [](GenericArray& a) { a.At(3); }, false},
      {"Insert after 0 on empty", 0, [&](GenericArray& a) { a.Insert(&item, 0, 1); }, false},
      {"Insert after 2 on empty", 0, [&](GenericArray& a) { a.Insert(&item, 2, 1); }, true},
      {"Insert after count", 3, [&](GenericArray& a) { a.Insert(&item, 3, 1); }, false},
      {"Insert after -1", 3, [&](GenericArray& a) { a.Insert(&item, -1, 1); }, true},
      {"Delete(2, 0) on empty", 0, [](GenericArray& a) { a.Delete(2, 0); }, false},
      {"Delete past the end", 3, [](GenericArray& a) { a.Delete(2, 3); }, true},
      {"Delete the last two", 3, [](GenericArray& a) { a.Delete(2, 2); }, false},
      {"Fill past the end", 3, [&](GenericArray& a) { a.Fill(&item, 3, 2); }, true},
      {"Fill nothing anywhere", 0, [&](GenericArray& a) { a.Fill(&item, 7, 0); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GenericArray array(4, c.count);
    const auto raised = Raised([&] { c.action(array); });
    EXPECT_EQ(RaisedText(raised), c.fails ? "Range error" : "(nothing raised)");
  }
}

TEST(GenericArray, InsertDeleteFillFind) {
  GenericArray array(4, 0);
  const std::int32_t values[] = {10, 20, 30};
  array.Insert(values, 0, 3);
  const std::int32_t five = 5;
  array.Insert(&five, 0, 1);
  array.InsertCopies(&five, 2, 2);
  EXPECT_EQ(Items(array), (std::vector<std::int32_t>{5, 10, 5, 5, 20, 30}));
  EXPECT_EQ(array.Find(&five), 1);
  const std::int32_t thirty = 30, missing = 31;
  EXPECT_EQ(array.Find(&thirty), 6);
  EXPECT_EQ(array.Find(&missing), 0);
  array.Delete(2, 3);
  EXPECT_EQ(Items(array), (std::vector<std::int32_t>{5, 20, 30}));
  array.Fill(nullptr, 2, 2);
  EXPECT_EQ(Items(array), (std::vector<std::int32_t>{5, 0, 0}));
  array.Insert(nullptr, 3, 1);
  EXPECT_EQ(Items(array), (std::vector<std::int32_t>{5, 0, 0, 0}));
  array.RemoveAll();
  EXPECT_EQ(array.NumItems(), 0);
}

TEST(GenericArray, FindComparesItemsOfEachWidth) {
  GenericArray bytes(1, 0), shorts(2, 0), records(3, 0);
  const std::uint8_t b[] = {1, 2, 2};
  bytes.Insert(b, 0, 3);
  EXPECT_EQ(bytes.Find(&b[1]), 2);
  const std::uint16_t s[] = {0x100, 0x1};
  shorts.Insert(s, 0, 2);
  EXPECT_EQ(shorts.Find(&s[1]), 2);
  records.Insert("abcabd", 0, 2);
  EXPECT_EQ(records.Find("abd"), 2);
}

TEST(GenericArray, EqualsAssignAndClone) {
  GenericArray a(4, 0), b(4, 0), c(2, 0);
  EXPECT_TRUE(a.Equals(b));
  EXPECT_FALSE(a.Equals(c)) << "another item size";
  const std::int32_t values[] = {1, 2};
  a.Insert(values, 0, 2);
  b.Assign(a);
  EXPECT_TRUE(b.Equals(a));
  b.Assign(b);
  EXPECT_EQ(b.NumItems(), 2);
  SmartRef<Smart> clone(a.Clone());
  EXPECT_TRUE(CastSmart<GenericArray>(~clone)->Equals(a));
  EXPECT_EQ(CastSmart<SmartImplementation>(~clone), nullptr) << "its record names Persistent only";
  EXPECT_EQ(a.GetMemorySize(), sizeof(GenericArray) + 32u);

  // Any array answers that it can copy any other: one of another item size is refused, not read past
  // its end.
  GenericArray bytes(1, 100), longs(4, 0);
  ASSERT_TRUE(longs.CanCopyFrom(&bytes));
  EXPECT_EQ(RaisedText(Raised([&] { longs.CopyFrom(&bytes); })), "itemSize == other.itemSize");
  EXPECT_EQ(longs.NumItems(), 0);
}

TEST(GenericArray, LockedArraysRefuseToResize) {
  GenericArray array(4, 2);
  const std::int32_t item = 1;
  {
    ArrayIterator iterator(array);
    EXPECT_EQ(iterator.At(0), nullptr);
    EXPECT_EQ(iterator.At(2), array.ItemAddress(2));
    EXPECT_EQ(iterator.At(3), nullptr);
    EXPECT_EQ(RaisedText(Raised([&] { array.Insert(&item, 2, 1); })), "lockCount == 0");
    EXPECT_EQ(RaisedText(Raised([&] { array.Delete(1, 1); })), "lockCount == 0");
    array.Fill(&item, 1, 2);  // no resize: allowed
  }
  array.Insert(&item, 2, 1);
  EXPECT_EQ(array.NumItems(), 3);
  GenericArray empty(4, 0);
  ArrayRange range(empty);
  EXPECT_EQ(range.First(), nullptr);
  ArrayRange full(array);
  EXPECT_EQ(full.First(), array.ItemAddress(1));
  EXPECT_EQ(full.Last(), array.ItemAddress(3));
}

TEST(GenericArray, StoredFormSwapsOnlyTheCount) {
  GenericArray array(2, 0);
  const std::uint16_t items[] = {0x0102, 0x0304};
  array.Insert(items, 0, 2);
  for (bool swap : {false, true}) {
    MemoryStream stream;
    stream.SetSwap(swap);
    SmartRef<PlainArchive> archive(new PlainArchive(&stream));
    array.Write(~archive);
    const unsigned char* bytes = stream.GetMemory().GetData();
    const std::vector<unsigned char> stored(bytes, bytes + stream.GetLength());
    const std::vector<unsigned char> count = swap ? std::vector<unsigned char>{0, 0, 0, 2}
                                                  : std::vector<unsigned char>{2, 0, 0, 0};
    std::vector<unsigned char> expected = count;
    expected.insert(expected.end(), {0x02, 0x01, 0x04, 0x03});
    EXPECT_EQ(stored, expected);

    stream.Seek(0, kSeekFromStart);
    ArchiveBlock block(~archive, &GenericArray::persistentType);
    GenericArray read(2, block);
    EXPECT_TRUE(read.Equals(array));
  }
}

TEST(GenericArray, ADamagedCountIsRefusedBeforeAllocating) {
  MemoryStream stream;
  stream.WriteLong(0x40000000).WriteLong(7);
  stream.Seek(0, kSeekFromStart);
  SmartRef<PlainArchive> archive(new PlainArchive(&stream));
  ArchiveBlock block(~archive, &GenericArray::persistentType);
  // The program's damaged-file error.
  char damaged[256];
  gDocumentMessages.GetString(damaged, kDamagedFileText - gDocumentMessages.GetFirst());
  EXPECT_EQ(RaisedText(Raised([&] { GenericArray read(4, block); })), damaged);
  ArchiveBlock skipping(~archive);
  GenericArray fromSkip(4, skipping);
  EXPECT_EQ(fromSkip.NumItems(), 0);
}

}  // namespace
