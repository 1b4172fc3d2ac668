// Object files ("OBJS"): a graph of persistent objects, each stored once in class-versioned blocks, with a
// class index and an object table; read lazily, one object when a reference to it is read.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/Archive.h"
#include "core/Format.h"
#include "core/GenericArray.h"
#include "core/Geometry.h"
#include "core/ListData.h"
#include "core/Scribe.h"
#include "core/Stream.h"

class Progress;

extern const Version gObjectFileVersion;

struct ObjectTableEntry {
  std::int32_t classIndex;
  std::uint32_t position;  // 0 while the object is not written
  std::uint32_t length;    // including the objects nested in it
};

struct ObjectFileHeader {
  enum : std::uint8_t { kOlder = 1, kNewer = 2, kDamaged = 4, kClassTags = 8 };
  static constexpr std::uint32_t kSize = 25;

  char magic[4] = {'O', 'B', 'J', 'S'};
  std::uint8_t order = 2;
  Version version = 0;
  std::uint8_t flags = 0;
  std::uint32_t tableOffset = 0;
  std::uint32_t indexOffset = 0;
  std::int32_t root = 1;
};

// Where a save goes. A document is never overwritten in place: the save is written to a replacement,
// which takes the document's place only once the whole save succeeded. The file layer provides the
// replacement file beside the document; without it the save is built in memory and copied into the
// stream at the end.
class SaveTarget {
 public:
  virtual ~SaveTarget() = default;
  virtual SmartRef<Stream> OpenReplacement() = 0;
  // Puts the finished replacement in the document's place; answers the stream that now holds the document.
  virtual SmartRef<Stream> Commit(SmartRef<Stream> replacement) = 0;
  // The save failed or was stopped: the replacement goes and the document stays as it was.
  virtual void Discard(SmartRef<Stream> replacement) noexcept = 0;
};

class ObjectFile : public Archive, public Scribe, public SmartImplementation {
  SMART_ABSTRACT(ObjectFile)
 public:
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  ObjectFile(SmartRef<TypeIndex> typeIndex, SmartRef<Stream> stream);
  ~ObjectFile() override;

  // Archive
  std::int32_t BeginObject(const PersistentType* type) override;
  void ReadWriteVersion(Version* version, std::int32_t handle, Version current) override;
  void EndObject(std::int32_t handle, std::uint32_t start, bool skip) override;
  void WriteObject(Persistent* object) override;
  std::int32_t ObjectToIndex(Persistent* object) override;
  Persistent* IndexToObject(std::int32_t index) override;
  void WriteClass(const ClassInfo* info) override;
  const ClassInfo* ReadClass() override;
  Stream* GetStream() override { return ~stream; }
  std::uint32_t GetPosition() override { return stream->GetPosition() - baseOffset; }
  void NoteDamaged() override { header.flags |= ObjectFileHeader::kDamaged; }
  void NoteObsolete() override { header.flags |= ObjectFileHeader::kOlder; }
  virtual std::uint32_t BeginSave(Progress* progress);
  virtual void EndSave(Progress* progress, std::uint32_t start);
  void SetRootIndex(std::int32_t index);
  void SetMode(int newMode);

  // Saves a graph whose objects the caller numbers itself: listObjects runs inside the save, gives the
  // objects their numbers (ObjectToIndex) in the order they are to have them, and answers the root's
  // number. Like Write, it never overwrites the stored objects in place.
  void Save(const std::function<std::int32_t()>& listObjects);

  // Scribe
  void Write(SmartRef<Smart> object) override;
  void Read(SmartRef<Smart>* object) override;
  bool IsWritable() override { return stream->IsWritable(); }
  bool ReadsKindOf(const ClassInfo* info) override;

  void SetSaveTarget(std::unique_ptr<SaveTarget> target) { saveTarget = std::move(target); }
  const ObjectFileHeader& GetHeader() const { return header; }
  bool IsOlder() const { return header.flags & ObjectFileHeader::kOlder; }
  bool IsNewer() const { return header.flags & ObjectFileHeader::kNewer; }
  bool IsDamaged() const { return header.flags & ObjectFileHeader::kDamaged; }
  const SmartRef<Format>& GetFormat() const { return format; }

 private:
  enum : int { kReading = 0, kWriting = 1 };

  void ReadHeader();
  void WriteHeader();
  void ReadObjectTable();
  void WriteAllObjects();
  void WriteObjectBody(std::int32_t n);
  Persistent* BuildObject(std::int32_t n, const ObjectTableEntry& entry);
  void ShowReadNotice();
  std::int64_t PassOverNested(std::int64_t from, std::int64_t ownBytes, std::uint32_t* nested) const;
  void EndSaveState();
  ObjectTableEntry Entry(std::int32_t n) const;
  void SetEntry(std::int32_t n, const ObjectTableEntry& entry);

  SmartRef<TypeIndex> typeIndex;
  SmartRef<Stream> stream;
  ObjectFileHeader header;
  SmartRef<Format> format;
  int mode = kReading;
  List objList{&Persistent::classInfo};
  GenericArray objectTable{sizeof(ObjectTableEntry), 0};
  Progress* progress = nullptr;
  std::uint32_t baseOffset = 0;
  bool fileSaving = false;
  std::int32_t depth = 0;
  // Where the object being built stopped reading at a block it could not pass over, if it did.
  std::optional<std::uint32_t> unskippedEnd;
  // The end of the object being built, and the table's entries by position: what lies inside a block
  // that is passed over.
  std::int64_t objectEnd = 0;
  std::vector<ObjectTableEntry> byPosition;
  std::unique_ptr<SaveTarget> saveTarget;
};
