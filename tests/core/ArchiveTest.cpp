#include <gtest/gtest.h>

#include <vector>

#include "core/Archive.h"
#include "core/GenericArray.h"
#include "core/Stream.h"
#include "support/Raised.h"

namespace {

const PersistentType kType12(&SmartImplementation::classInfo, MakeVersion(1), MakeVersion(1, 2), nullptr);

// An archive that hands out a chosen stored version and records how blocks close.
class ScriptedArchive : public Archive, public SmartImplementation {
 public:
  struct Closed {
    std::int32_t handle;
    bool skip;
  };
  const ClassInfo* GetClassInfo() const override { return &SmartImplementation::classInfo; }
  void* CastTo(const ClassInfo* info) override { return SmartImplementation::CastTo(info); }
  std::int32_t BeginObject(const PersistentType*) override { return ++begun; }
  void ReadWriteVersion(Version* version, std::int32_t, Version) override {
    *version = stored;
    ++exchanged;
  }
  void EndObject(std::int32_t handle, std::uint32_t, bool skip) override { closed.push_back({handle, skip}); }
  std::int32_t ObjectToIndex(Persistent* object) override { return object ? 7 : 0; }
  Persistent* IndexToObject(std::int32_t) override { return nullptr; }
  void WriteClass(const ClassInfo*) override {}
  const ClassInfo* ReadClass() override { return nullptr; }
  Stream* GetStream() override { return &stream; }

  Version stored = 0;
  std::int32_t begun = 0;
  int exchanged = 0;
  std::vector<Closed> closed;
  MemoryStream stream;
};

TEST(PersistentType, CompatibilityOfStoredVersions) {
  struct Case {
    Version stored;
    bool incompatible;
    bool newer;
  } cases[] = {
      {MakeVersion(1, 0), false, false}, {MakeVersion(1, 1), false, false}, {MakeVersion(1, 2), false, false},
      {MakeVersion(1, 3), false, true},  {MakeVersion(2, 0), true, true},   {MakeVersion(0, 9), true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(kType12.IsIncompatible(c.stored), c.incompatible);
    ScriptedArchive archive;
    archive.stored = c.stored;
    {
      ArchiveBlock block(&archive, &kType12);
      EXPECT_EQ(block.IsSkipping(), c.incompatible);
      EXPECT_EQ(block.IsNewer(), c.newer);
      EXPECT_EQ(block.GetVersion(), c.stored);
    }
    ASSERT_EQ(archive.closed.size(), 1u);
    // An unreadable or newer block asks the archive to pass over the rest of its stored bytes.
    EXPECT_EQ(archive.closed[0].skip, c.incompatible || c.newer);
  }
}

TEST(ArchiveBlock, BlockNestedInSkippingBlockSkipsAndClosesSilently) {
  ScriptedArchive archive;
  archive.stored = MakeVersion(3);
  {
    ArchiveBlock outer(&archive, &kType12);
    ASSERT_TRUE(outer.IsSkipping());
    archive.stored = MakeVersion(1, 1);
    ArchiveBlock inner(outer, &kType12);
    EXPECT_TRUE(inner.IsSkipping());
    EXPECT_TRUE(inner.IsInert());
    EXPECT_EQ(inner.GetVersion(), 0u);
    EXPECT_EQ(archive.exchanged, 1);  // only the outer block exchanged a version
  }
  ASSERT_EQ(archive.closed.size(), 1u);
  EXPECT_EQ(archive.closed[0].handle, 1);
}

TEST(ArchiveBlock, SkippingBlockReadsZerosAndNullObjects) {
  ScriptedArchive archive;
  archive.stream.WriteLong(0x01020304).WriteShort(5).WriteByte(6);
  archive.stream.Seek(0, kSeekFromStart);
  archive.stored = MakeVersion(2);
  ArchiveBlock block(&archive, &kType12);
  ASSERT_TRUE(block.IsSkipping());
  EXPECT_EQ(block.GetStream(), gBitBucket());
  EXPECT_EQ(block.GetStream()->ReadLong(), 0);
  EXPECT_EQ(block.GetStream()->ReadShort(), 0);
  EXPECT_EQ(block.GetStream()->ReadByte(), 0);
  Rect rect{1, 2, 3, 4};
  block.GetStream()->ReadRect(&rect);
  EXPECT_EQ(rect, Rect{});
  EXPECT_EQ(block.GetArchive(), gBitBucketArchive());
  EXPECT_EQ(block.GetArchive()->ReadObject(), nullptr);
  EXPECT_EQ(block.GetArchive()->ReadClass(), nullptr);
  EXPECT_EQ(archive.stream.GetPosition(), 0u);  // nothing was taken from the real stream
  // A stored array behind a skipping block reads as empty.
  GenericArray array(4, block);
  EXPECT_EQ(array.NumItems(), 0);
}

TEST(ArchiveBlock, MeasuringBlockUsesTheBitBucketAndClosesWithHandleZero) {
  ScriptedArchive archive;
  {
    ArchiveBlock block(&archive);
    EXPECT_EQ(block.GetStream(), gBitBucket());
    EXPECT_EQ(block.GetHandle(), 0);
    EXPECT_EQ(block.GetVersion(), 0u);
    EXPECT_EQ(block.GetStart(), 0u);
    block.GetStream()->WriteLong(42);
  }
  EXPECT_EQ(archive.stream.GetLength(), 0u);
  ASSERT_EQ(archive.closed.size(), 1u);
  EXPECT_EQ(archive.closed[0].handle, 0);
  EXPECT_TRUE(gNullArchiveBlock().IsSkipping());
  EXPECT_EQ(gNullArchiveBlock().GetStream(), gBitBucket());
}

// An archive nobody counts (one on the stack) still receives every object reference written through a
// block: dropping them would silently lose parts of a document.
TEST(ArchiveBlock, UncountedArchiveStillReceivesObjectReferences) {
  ScriptedArchive archive;
  ASSERT_EQ(archive.GetReferenceCount(), 0);
  archive.stored = MakeVersion(1, 2);
  ArchiveBlock block(&archive, &kType12);
  EXPECT_EQ(block.GetArchive(), &archive);
  GenericArray someObject(4, 0);
  block.GetArchive()->WriteObject(&someObject);
  archive.stream.Seek(0, kSeekFromStart);
  EXPECT_EQ(archive.stream.ReadLong(), 7);
}

TEST(BitBucketArchive, WritesVanishAndReadsGiveNothing) {
  BitBucketArchive* archive = gBitBucketArchive();
  archive->WriteLong(5);
  EXPECT_EQ(archive->ReadLong(), 0);
  EXPECT_EQ(archive->GetPosition(), 0u);
  EXPECT_EQ(archive->ObjectToIndex(nullptr), 0);
  Version version = 9;
  archive->ReadWriteVersion(&version, 0, MakeVersion(1));
  EXPECT_EQ(version, 0u);
}

TEST(PersistentType, CreatingAnObjectWithoutReaderFailsTheAssertion) {
  EXPECT_EQ(RaisedText(Raised([] { kType12.CreateObject(gBitBucketArchive()); })), "reader != NULL");
}

}  // namespace
