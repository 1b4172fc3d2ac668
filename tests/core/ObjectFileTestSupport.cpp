#include "ObjectFileTestSupport.h"

#include "core/Stream.h"

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
  ArchiveBlock block(archive, &type12);
  return new Node(block);
}

void Node::Write(Archive* archive) {
  ArchiveBlock block(archive, type);
  block.GetStream()->WriteLong(number);
  block.GetArchive()->WriteObject(~label);
  block.GetArchive()->WriteObject(~items);
  block.GetArchive()->WriteObject(~next);
  if (block.GetVersion() >= MakeVersion(1, 3)) block.GetStream()->WriteLong(extra);
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

void ReadUntrusted(const std::uint8_t* data, std::size_t size) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(data, static_cast<std::uint32_t>(size));
  SmartRef<ObjectFile> file = new ObjectFile(MakeTestTypeIndex(), stream);
  SmartRef<Smart> root;
  try {
    file->Read(&root);
  } catch (Exception* failure) {
    SmartRef<Exception> reported = failure;
    reported->Report(kAlertExclamation);
  }
}

}  // namespace objectfile_testing
