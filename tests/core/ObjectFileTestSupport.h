// A small persistent class and a type index of its own, for object-file tests and the fuzz corpus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ListData.h"
#include "core/ObjectFile.h"
#include "core/String.h"

namespace objectfile_testing {

// A node of a test graph: a number, a label, a list and a next node. Version 1.3 adds one more number.
class Node : public Persistent, public SmartImplementation {
  SMART_CLASS(Node)
 public:
  static const PersistentType type12;
  static const PersistentType type13;

  Node() = default;
  explicit Node(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return type; }

  std::int32_t number = 0;
  SmartRef<String> label;
  SmartRef<ListData> items;
  SmartRef<Node> next;
  std::int32_t extra = 0;
  std::int32_t padding = 0;  // bytes after the extra number in version 1.3, so that node sizes can vary
  const PersistentType* type = &type12;
};

// 1 String, 2 empty, 3 Node, 4 ListData, 5 GenericArray; the node at the given version.
SmartRef<TypeIndex> MakeTestTypeIndex(const PersistentType* nodeType = &Node::type12);

// Writes the root to a new memory stream and answers the file's bytes.
std::string SaveToBytes(SmartRef<Smart> root, const SmartRef<TypeIndex>& index);
// Reads bytes through an object file; the file is kept (it holds the loaded objects).
SmartRef<Smart> ReadFromBytes(const std::string& bytes, const SmartRef<TypeIndex>& index,
                              SmartRef<ObjectFile>* file = nullptr);

// The test graph: A {1, "ab", [S2 "c", null, B], B}, B {2, S2, null, A}: strings, an element shared by the
// list and B, a null and a cycle A -> list -> B -> A. Answers A; BreakCycle lets the graph be freed.
SmartRef<Node> MakeTestGraph(const PersistentType* nodeType = &Node::type12);
void BreakCycle(Node* a);

// Builds expected file bytes: 32-bit values in either byte order, raw bytes as they are.
class Bytes {
 public:
  explicit Bytes(bool bigEndian = false) : big(bigEndian) {}
  Bytes& L(std::uint32_t v);
  Bytes& B(const std::string& raw) {
    out += raw;
    return *this;
  }
  std::string out;

 private:
  bool big;
};

// The test graph as this program lays it out, built by hand; with nodes of version 1.3 every node carries
// one more number.
std::string GraphFixture(bool bigEndian = false, bool version13 = false);

// Reads a whole file as a user's document (see support/UntrustedDocument.h), of the test type index unless
// another is given.
void ReadUntrusted(const std::uint8_t* data, std::size_t size, SmartRef<TypeIndex> index = MakeTestTypeIndex());

}  // namespace objectfile_testing
