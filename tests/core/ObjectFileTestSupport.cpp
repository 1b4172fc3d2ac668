#include "ObjectFileTestSupport.h"

#include "core/Stream.h"
#include "support/UntrustedDocument.h"

using objectfile_testing::Node;

SMART_DEFINE(Node, "Node", &CreateDefault<Node>, nullptr, Persistent, SmartImplementation)

const PersistentType Node::type12(&Node::classInfo, MakeVersion(1), MakeVersion(1, 2), &Node::ReadNew);
const PersistentType Node::type13(&Node::classInfo, MakeVersion(1), MakeVersion(1, 3), &Node::ReadNew);

namespace objectfile_testing {

Node::Node(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  Archive* archive = block.GetArchive();
  number = stream->ReadLong();
  label = CastSmart<String>(archive->ReadObject());
  items = CastSmart<ListData>(archive->ReadObject());
  next = CastSmart<Node>(archive->ReadObject());
}

Persistent* Node::ReadNew(Archive* archive) {
  return ReadFromBlock<Node>(archive, &type12);
}

void Node::Write(Archive* archive) {
  ArchiveBlock block(archive, type);
  block.GetStream()->WriteLong(number);
  block.GetArchive()->WriteObject(~label);
  block.GetArchive()->WriteObject(~items);
  block.GetArchive()->WriteObject(~next);
  if (block.GetVersion() >= MakeVersion(1, 3)) {
    block.GetStream()->WriteLong(extra);
    for (std::int32_t i = 0; i < padding; ++i) block.GetStream()->WriteByte(0xEE);
  }
}

SmartRef<TypeIndex> MakeTestTypeIndex(const PersistentType* nodeType) {
  SmartRef<TypeIndex> index = new TypeIndex(nullptr, MakeVersion(1), "test");
  index->AddType(&String::persistentType);
  index->AddEmptySlots(1);
  index->AddType(nodeType);
  index->AddType(&ListData::persistentType);
  index->AddType(&GenericArray::persistentType);
  return index;
}

std::string SaveToBytes(SmartRef<Smart> root, const SmartRef<TypeIndex>& index) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  SmartRef<ObjectFile> file = new ObjectFile(index, stream);
  file->Write(root);
  return std::string(reinterpret_cast<const char*>(stream->GetMemory().GetData()), stream->GetLength());
}

SmartRef<Smart> ReadFromBytes(const std::string& bytes, const SmartRef<TypeIndex>& index,
                              SmartRef<ObjectFile>* kept) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  SmartRef<ObjectFile> file = new ObjectFile(index, stream);
  SmartRef<Smart> root;
  file->Read(&root);
  if (kept) *kept = file;
  return root;
}

SmartRef<Node> MakeTestGraph(const PersistentType* nodeType) {
  SmartRef<Node> a = new Node(), b = new Node();
  a->type = b->type = nodeType;
  a->number = 1;
  a->extra = 11;
  b->number = 2;
  b->extra = 22;
  a->label = new String("ab");
  SmartRef<String> shared = new String("c");
  a->items = new ListData(&String::classInfo);
  a->items->Append(~shared);
  a->items->Append(nullptr);
  a->items->Append(~b);
  a->next = b;
  b->label = shared;
  b->next = a;
  return a;
}

void BreakCycle(Node* a) {
  if (a && a->next) a->next->next = nullptr;
}

Bytes& Bytes::L(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    const int shift = big ? 24 - 8 * i : 8 * i;
    out.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  return *this;
}

std::string GraphFixture(bool bigEndian, bool version13) {
  const std::uint32_t n = version13 ? 4 : 0;  // the extra bytes of each node
  const std::uint32_t a = 93, s1 = 101, list = 111, s2 = 123, b = 136, table = 156 + 2 * n;
  Bytes f(bigEndian);
  f.B("OBJS").B(bigEndian ? "\x01" : "\x02").L(0x00020000).L(0).L(table).L(25).L(1);
  // Class index: version, size, type-index version, name, versions, sizes.
  f.L(0x00020000).L(60).L(0x00010000).L(4).B("test");
  f.L(5).L(0x00010000).L(0).L(version13 ? 0x00010003 : 0x00010002).L(0x00010000).L(0x00010000);
  f.L(5).L(-2u).L(-1u).L(16 + n).L(20).L(-2u);
  // A: number, label (S1 inline), items (the list inline), next (B, already written inside the list).
  f.L(1).L(2).L(2).B("ab").L(3);
  f.L(1).L(3).L(4).L(1).B("c").L(0).L(5);  // the list: class String, 3 elements; S2 inline
  f.L(2).L(4).L(0).L(1);                   // B inline: S2 again, no list, next A
  if (version13) f.L(22);
  f.L(5);
  if (version13) f.L(11);
  // Object table.
  f.L(5);
  f.L(3).L(a).L(63 + 2 * n);
  f.L(1).L(s1).L(6);
  f.L(4).L(list).L(41 + n);
  f.L(1).L(s2).L(5);
  f.L(3).L(b).L(16 + n);
  return f.out;
}

void ReadUntrusted(const std::uint8_t* data, std::size_t size, SmartRef<TypeIndex> index) {
  document_testing::ReadUntrustedDocument(data, size, std::move(index));
}

}  // namespace objectfile_testing
