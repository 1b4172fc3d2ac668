#include <gtest/gtest.h>

#include <string>

#include "ObjectFileTestSupport.h"
#include "core/Resources.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

using namespace objectfile_testing;

namespace {

std::string Text(const String& text) {
  TextLock lock(text);
  return std::string(lock.Chars() ? lock.Chars() : "", static_cast<std::size_t>(lock.Length()));
}

std::string NumberedText(std::uint32_t id) {
  char text[256];
  gDocumentMessages.GetString(text, id - gDocumentMessages.GetFirst());
  return text;
}

// The bytes with one 32-bit little-endian value replaced.
std::string Patched(std::string bytes, std::size_t at, std::uint32_t value) {
  Bytes v;
  v.L(value);
  bytes.replace(at, 4, v.out);
  return bytes;
}

TEST(ObjectFile, SavedGraphMatchesTheHandBuiltLayoutAndRoundTrips) {
  AlertRecorder alerts;
  const SmartRef<TypeIndex> index = MakeTestTypeIndex();
  SmartRef<Node> graph = MakeTestGraph();
  const std::string saved = SaveToBytes(graph, index);
  BreakCycle(~graph);
  EXPECT_EQ(saved, GraphFixture());

  SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(saved, index));
  ASSERT_TRUE(a);
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_EQ(a->number, 1);
  EXPECT_EQ(Text(*a->label), "ab");
  ASSERT_TRUE(a->items);
  ASSERT_EQ(a->items->NumItems(), 3);
  EXPECT_EQ(a->items->GetElementClass(), &String::classInfo);
  EXPECT_EQ(a->items->At(2), nullptr);
  Node* b = CastSmart<Node>(a->items->At(3));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->next.operator~(), b);
  // One object referred to twice reads back as one object.
  EXPECT_EQ(CastSmart<String>(a->items->At(1)), ~b->label);
  EXPECT_EQ(Text(*b->label), "c");
  // The cycle closes with a null reference.
  EXPECT_FALSE(b->next);

  // Everything else came back as it was: with the cycle restored, the bytes are the same.
  b->next = a;
  EXPECT_EQ(SaveToBytes(a, index), saved);
  BreakCycle(~a);
}

TEST(ObjectFile, SelfCycleReadsBackAsNull) {
  AlertRecorder alerts;
  const SmartRef<TypeIndex> index = MakeTestTypeIndex();
  SmartRef<Node> self = new Node();
  self->next = self;
  const std::string saved = SaveToBytes(self, index);
  self->next = nullptr;
  SmartRef<Node> read = CastSmart<Node>(~ReadFromBytes(saved, index));
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->next);
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST(ObjectFile, BigEndianFileReadsBack) {
  AlertRecorder alerts;
  SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(GraphFixture(true), MakeTestTypeIndex()));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->number, 1);
  EXPECT_EQ(Text(*a->label), "ab");
  ASSERT_EQ(a->items->NumItems(), 3);
  EXPECT_EQ(CastSmart<Node>(a->items->At(3))->number, 2);
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST(ObjectFile, MissingOrderByteMeansBigEndian) {
  AlertRecorder alerts;
  std::string fixture = GraphFixture(true);
  // Without the order byte every offset moves one byte back.
  fixture.erase(4, 1);
  Bytes shifted(true);
  shifted.L(0x00020000).L(0).L(155).L(24).L(1);
  fixture.replace(4, 20, shifted.out);
  for (std::size_t entry = 0; entry < 5; ++entry) {
    const std::size_t at = 155 + 4 + entry * 12 + 4;
    std::uint32_t position = 0;
    for (int i = 0; i < 4; ++i) position = (position << 8) | static_cast<unsigned char>(fixture[at + i]);
    Bytes moved(true);
    moved.L(position - 1);
    fixture.replace(at, 4, moved.out);
  }
  SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(fixture, MakeTestTypeIndex()));
  ASSERT_TRUE(a);
  EXPECT_EQ(Text(*a->label), "ab");
  EXPECT_TRUE(alerts.Alerts().empty());
}

// A file whose nodes are of version 1.3 (one more field): this program reads the fields it knows, passes
// over the rest of each block by the recorded size, and says the file comes from a newer program.
TEST(ObjectFile, NewerMinorClassVersionIsSkippedAndNoticed) {
  AlertRecorder alerts;
  SmartRef<Node> graph = MakeTestGraph(&Node::type13);
  const std::string saved = SaveToBytes(graph, MakeTestTypeIndex(&Node::type13));
  BreakCycle(~graph);
  ASSERT_EQ(saved, GraphFixture(false, true));

  SmartRef<ObjectFile> file;
  SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(saved, MakeTestTypeIndex(), &file));
  ASSERT_TRUE(a);
  EXPECT_TRUE(file->IsNewer());
  EXPECT_FALSE(file->IsDamaged());
  EXPECT_EQ(Text(*a->label), "ab");
  Node* b = CastSmart<Node>(a->items->At(3));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->number, 2);
  EXPECT_EQ(~b->label, CastSmart<String>(a->items->At(1)));
  EXPECT_EQ(a->next.operator~(), b);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(kNewerFileText));
}

// Nodes of version 1.3 whose sizes vary have no recorded block size: each node's length in the object
// table passes over what this program does not know, as the last part of the object.
TEST(ObjectFile, NewerClassOfVaryingSizeIsPassedOverByObjectLength) {
  AlertRecorder alerts;
  SmartRef<Node> graph = MakeTestGraph(&Node::type13);
  graph->next->padding = 3;
  const std::string saved = SaveToBytes(graph, MakeTestTypeIndex(&Node::type13));
  BreakCycle(~graph);

  SmartRef<ObjectFile> file;
  SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(saved, MakeTestTypeIndex(), &file));
  ASSERT_TRUE(a);
  ASSERT_EQ(file->GetFormat()->GetStoredSize(3), Format::kSizeUnknown);
  EXPECT_EQ(Text(*a->label), "ab");
  Node* b = CastSmart<Node>(a->items->At(3));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->number, 2);
  EXPECT_EQ(a->next.operator~(), b);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(kNewerFileText));
}

// A pair whose first half is a nested block; its version 1.1 adds a reference to a label, so a newer file
// may hold a whole String inside the part this program passes over.
class Pair : public Persistent, public SmartImplementation {
  SMART_CLASS(Pair)
 public:
  static const PersistentType type;
  static const PersistentType head10;
  static const PersistentType head11;

  Pair() = default;
  explicit Pair(ArchiveBlock& block) {
    {
      ArchiveBlock head(block, &head10);
      first = head.GetStream()->ReadLong();
    }
    second = block.GetStream()->ReadLong();
  }
  static Persistent* ReadNew(Archive* archive) { return ReadFromBlock<Pair>(archive, &type); }
  void Write(Archive* archive) override {
    ArchiveBlock block(archive, &type);
    {
      ArchiveBlock head(block, &head11);
      head.GetStream()->WriteLong(first);
      head.GetArchive()->WriteObject(~label);
    }
    block.GetStream()->WriteLong(second);
  }
  const PersistentType* GetPersistentType() const override { return &type; }

  std::int32_t first = 0, second = 0;
  SmartRef<String> label;
};

}  // namespace

SMART_DEFINE(Pair, "Pair", &CreateDefault<Pair>, nullptr, Persistent, SmartImplementation)
const PersistentType Pair::type(&Pair::classInfo, MakeVersion(1), MakeVersion(1), &Pair::ReadNew);
const PersistentType Pair::head10(&Pair::classInfo, MakeVersion(1), MakeVersion(1), nullptr);
const PersistentType Pair::head11(&Pair::classInfo, MakeVersion(1), MakeVersion(1, 1), nullptr);

namespace {

SmartRef<TypeIndex> PairTypeIndex(const PersistentType* head) {
  SmartRef<TypeIndex> index = new TypeIndex(nullptr, MakeVersion(1), "pairs");
  index->AddType(&String::persistentType);
  index->AddType(&Pair::type);
  index->AddType(head);
  index->AddType(&GenericArray::persistentType);
  return index;
}

// The objects a newer block refers to are written inside it, after the bytes its recorded size counts:
// passing over the block passes over them too, and what follows the block reads from its own place.
TEST(ObjectFile, PassingOverANewerBlockPassesOverTheObjectsWrittenInIt) {
  AlertRecorder alerts;
  SmartRef<Pair> pair = new Pair();
  pair->first = 7;
  pair->second = 9;
  pair->label = new String("a label long enough to be seen");
  const std::string saved = SaveToBytes(~pair, PairTypeIndex(&Pair::head11));

  SmartRef<ObjectFile> file;
  SmartRef<Pair> read = CastSmart<Pair>(~ReadFromBytes(saved, PairTypeIndex(&Pair::head10), &file));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->first, 7);
  EXPECT_EQ(read->second, 9);
  EXPECT_FALSE(file->IsDamaged());
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(kNewerFileText));
}

TEST(ObjectFile, FileVersionNotices) {
  struct Case {
    const char* name;
    std::uint32_t version;
    std::uint32_t notice;  // 0: none
  } cases[] = {{"2.0", 0x00020000, 0}, {"2.1", 0x00020001, kNewerFileText}, {"3.0", 0x00030000, kNewerFileText}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlertRecorder alerts;
    const std::string fixture = Patched(GraphFixture(), 5, c.version);
    SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(fixture, MakeTestTypeIndex()));
    ASSERT_TRUE(a);
    if (c.notice == 0) {
      EXPECT_TRUE(alerts.Alerts().empty());
    } else {
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(c.notice));
    }
  }
}

// Without the magic a file is of version 1.0 (big-endian, no offsets); its objects are not read, and the
// user is told the file is obsolete.
TEST(ObjectFile, FileWithoutMagicIsObsolete) {
  AlertRecorder alerts;
  Bytes f(true);
  f.B("ZODx").L(1).L(0).L(1).L(1).L(0);  // version-1 index: one class of version 1; an empty table
  SmartRef<ObjectFile> file;
  EXPECT_FALSE(ReadFromBytes(f.out, MakeTestTypeIndex(), &file));
  EXPECT_TRUE(file->IsOlder());
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(kOlderFileText));
}

TEST(ObjectFile, IncompatibleOrDamagedFilesGiveTheirErrors) {
  const std::string good = GraphFixture();
  auto with = [&](std::size_t at, std::uint32_t value) { return Patched(good, at, value); };
  const std::string damaged = NumberedText(kDamagedFileText);
  struct Case {
    const char* name;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"class index of a newer major version", with(25, 0x00030000), "Impossible de lire le format"},
      {"type index of another major version", with(33, 0x00020000), "Can't read class index"},
      {"truncated header", good.substr(0, 20), damaged},
      {"truncated file", good.substr(0, 200), damaged},
      {"class index past the end", with(17, 5000), damaged},
      {"huge version count", with(45, 0x10000000), damaged},
      {"table offset past the end", with(13, 0x7FFFFFF0), damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlertRecorder alerts;
    EXPECT_EQ(RaisedText(Raised([&] { ReadFromBytes(c.bytes, MakeTestTypeIndex()); })), c.error);
  }
}

// Damage found while objects are built is reported at once and the read answers null.
TEST(ObjectFile, DamagedObjectsAreReportedAndReadAsNull) {
  const std::string good = GraphFixture();
  auto with = [&](std::size_t at, std::uint32_t value) { return Patched(good, at, value); };
  const std::string damaged = NumberedText(kDamagedFileText);
  struct Case {
    const char* name;
    std::string bytes;
    std::string alert;
  } cases[] = {
      {"root index outside the table", with(21, 9), damaged},
      {"object past the end of the file", with(160 + 4, 219), damaged},
      {"string count larger than the file", with(101, 0x7FFFFFFF), damaged},
      {"list count larger than the file", with(115, 1000000), damaged},
      {"class of no reader", with(160, 2), "Can't create object of that class!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlertRecorder alerts;
    EXPECT_FALSE(ReadFromBytes(c.bytes, MakeTestTypeIndex()));
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find(c.alert), std::string::npos) << alerts.Alerts()[0].text;
  }
}

// A reader that takes fewer bytes than its object's recorded length gets the read-error notice; the
// object is still used.
TEST(ObjectFile, ObjectLengthMismatchIsNoticed) {
  AlertRecorder alerts;
  const std::string bytes = Patched(GraphFixture(), 160 + 8, 64);  // the root's length 63 becomes 64
  SmartRef<Node> a = CastSmart<Node>(~ReadFromBytes(bytes, MakeTestTypeIndex()));
  ASSERT_TRUE(a);
  ASSERT_GE(alerts.Alerts().size(), 1u);
  char expected[256];
  gDocumentMessages.GetString(expected, kReadTooFewText - gDocumentMessages.GetFirst(), "Node", "1.2", "1", "");
  EXPECT_EQ(alerts.Alerts()[0].text, expected);
}

// An object whose Write fails part-way, for the safe-save tests.
class FailingNode : public Node {
 public:
  void Write(Archive* archive) override {
    Node::Write(archive);
    ThrowError("Disque plein", __FILE__, __LINE__);
  }
};

class StoppedDisplay : public SilentProgressDisplay {
 public:
  bool WasCancelled() override { return true; }
};

TEST(ObjectFile, FailedOrStoppedSaveLeavesTheDocumentAsItWas) {
  const SmartRef<TypeIndex> index = MakeTestTypeIndex();
  SmartRef<MemoryStream> document = new MemoryStream();
  SmartRef<ObjectFile> file = new ObjectFile(index, document);
  SmartRef<Node> graph = MakeTestGraph();
  file->Write(graph);
  BreakCycle(~graph);
  const std::string before(reinterpret_cast<const char*>(document->GetMemory().GetData()), document->GetLength());
  ASSERT_EQ(before, GraphFixture());

  SmartRef<Node> failing = new FailingNode();
  EXPECT_EQ(RaisedText(Raised([&] { file->Write(failing); })), "Disque plein");
  SetProgressDisplayMaker([](const char*) -> SmartRef<ProgressDisplay> { return new StoppedDisplay(); });
  const SmartRef<Exception> stopped = Raised([&] { file->Write(new Node()); });
  SetProgressDisplayMaker(nullptr);
  EXPECT_TRUE(dynamic_cast<UserCancelException*>(~stopped));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(document->GetMemory().GetData()), document->GetLength()), before);

  // The object file is still usable: the next save goes through.
  file->Write(new Node());
  EXPECT_NE(std::string(reinterpret_cast<const char*>(document->GetMemory().GetData()), document->GetLength()), before);
}

class RecordingTarget : public SaveTarget {
 public:
  explicit RecordingTarget(std::string* log) : log(log) {}
  SmartRef<Stream> OpenReplacement() override {
    *log += "open ";
    return new MemoryStream();
  }
  SmartRef<Stream> Commit(SmartRef<Stream> replacement) override {
    *log += "commit ";
    return replacement;
  }
  void Discard(SmartRef<Stream>) noexcept override { *log += "discard "; }

 private:
  std::string* log;
};

TEST(ObjectFile, SaveTargetReplacesTheDocumentOnlyAfterAWholeSave) {
  std::string log;
  SmartRef<MemoryStream> document = new MemoryStream();
  SmartRef<ObjectFile> file = new ObjectFile(MakeTestTypeIndex(), document);
  file->SetSaveTarget(std::make_unique<RecordingTarget>(&log));
  Raised([&] { file->Write(new FailingNode()); });
  EXPECT_EQ(log, "open discard ");
  EXPECT_EQ(file->GetStream(), ~document);
  file->Write(new Node());
  EXPECT_EQ(log, "open discard open commit ");
  EXPECT_NE(file->GetStream(), ~document);
  EXPECT_EQ(document->GetLength(), 0u);
}

TEST(ObjectFile, ObjectsOutsideTheTypeIndexAreRefused) {
  SmartRef<ObjectFile> file = new ObjectFile(MakeTestTypeIndex(), new MemoryStream());
  SmartRef<ListData> list = new ListData(&SmartImplementation::classInfo);
  const SmartRef<Exception> raised = Raised([&] { file->Write(list); });
  auto* notInFormat = dynamic_cast<ClassNotInFormat*>(~raised);
  ASSERT_NE(notInFormat, nullptr);
  EXPECT_STREQ(notInFormat->GetClassName(), "SmartImplementation");
  EXPECT_TRUE(file->ReadsKindOf(&Persistent::classInfo));
  EXPECT_TRUE(file->ReadsKindOf(&Smart::classInfo));
  EXPECT_FALSE(file->ReadsKindOf(&String::classInfo));
}

}  // namespace

namespace {

SmartRef<Node> MakeChain(int length) {
  SmartRef<Node> head;
  for (int i = 0; i < length; ++i) {
    SmartRef<Node> node = new Node();
    node->number = i;
    node->next = head;
    head = node;
  }
  return head;
}

// Unlinks a chain from its head, so that freeing it does not recurse through every node.
void FreeChain(SmartRef<Node> head) {
  while (head) head = SmartRef<Node>(head->next);
}

// Objects nest as deep as a real document needs; a file nested deeper than the reader allows is damaged,
// not a stack overflow.
TEST(ObjectFile, NestingDepthIsBounded) {
  const SmartRef<TypeIndex> index = MakeTestTypeIndex();
  {
    AlertRecorder alerts;
    SmartRef<Node> chain = MakeChain(1000);
    SmartRef<Node> read = CastSmart<Node>(~ReadFromBytes(SaveToBytes(chain, index), index));
    FreeChain(chain);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->number, 999);
    EXPECT_TRUE(alerts.Alerts().empty());
    FreeChain(read);
  }
  {
    AlertRecorder alerts;
    SmartRef<Node> chain = MakeChain(1001);
    EXPECT_FALSE(ReadFromBytes(SaveToBytes(chain, index), index));
    FreeChain(chain);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find(NumberedText(kDamagedFileText)), std::string::npos);
  }
}

}  // namespace

namespace {

// Whatever the damage, the reader's checks reach the user as the program's texts, never as an assertion
// (ReadUntrusted stops the process at one).
TEST(ObjectFile, DamagedFilesNeverShowAnAssertion) {
  const std::string good = GraphFixture();
  for (std::size_t length = 0; length < good.size(); ++length)
    ReadUntrusted(reinterpret_cast<const std::uint8_t*>(good.data()), length);
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (const char value : {'\0', '\x7F', '\xFF'}) {
      std::string bytes = good;
      bytes[at] = value;
      ReadUntrusted(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
  }
}

}  // namespace
