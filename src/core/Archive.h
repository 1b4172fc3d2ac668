// Versioned persistence: persistent classes, their type records, archives and the blocks that bracket
// one class's part of one object.
#pragma once

#include <cstdint>
#include <memory>

#include "core/Smart.h"

class Archive;
class Stream;

// Versions are 16.16: major in the high half.
using Version = std::uint32_t;
constexpr Version MakeVersion(std::uint16_t major, std::uint16_t minor = 0) {
  return (Version{major} << 16) | minor;
}
constexpr bool SameMajor(Version a, Version b) { return (a >> 16) == (b >> 16); }
Version ReadVersion(Stream& stream);

// The document messages of the string table that reading object files shows.
enum : std::uint32_t {
  kDamagedFileText = 191,
  kOlderFileText = 192,
  kNewerFileText = 193,
  kReadTooManyText = 194,
  kReadTooFewText = 195,
};

// Raises the program's damaged-file error (text 191): a count, offset or size read from a file does not
// fit what the file holds.
[[noreturn]] void ThrowDamagedFile(const char* file, int line);
// A count of items read from a stream must be non-negative and its items must fit in the bytes that
// remain, before anything is allocated for them.
void CheckStoredCount(Stream* stream, std::int32_t count, std::uint32_t itemSize);
// A 32-bit value of a file's structure (header, class index): a file too short for it is damaged.
std::int32_t ReadStoredLong(Stream* stream);

class Persistent;

// The persistence record of one class: what it writes, what it can read back, and how.
struct PersistentType {
  using Reader = Persistent* (*)(Archive* archive);

  const ClassInfo* classInfo;
  Version currentVersion;
  Version oldestVersion;
  Reader reader;

  constexpr PersistentType(const ClassInfo* info, Version oldest, Version current, Reader read)
      : classInfo(info), currentVersion(current), oldestVersion(oldest), reader(read) {}

  Version GetCurrentVersion() const { return currentVersion; }
  // Older than the oldest readable version, or newer with another major number.
  bool IsIncompatible(Version stored) const {
    return stored < oldestVersion || (stored > currentVersion && !SameMajor(stored, currentVersion));
  }
  bool HasReader() const { return reader != nullptr; }
  Persistent* CreateObject(Archive* archive) const;
};

class Persistent : public virtual Smart {
  SMART_ABSTRACT(Persistent)
 public:
  virtual void Write(Archive* archive) = 0;
  virtual const PersistentType* GetPersistentType() const = 0;

 protected:
  Persistent() = default;
  Persistent(const Persistent&) = default;
  Persistent& operator=(const Persistent&) = default;
};

// Where objects go and come from. Objects are referred to by 1-based indexes (0 for none).
class Archive : public virtual Smart {
  SMART_ABSTRACT(Archive)
 public:
  virtual std::int32_t BeginObject(const PersistentType* type) = 0;
  virtual void ReadWriteVersion(Version* version, std::int32_t handle, Version current) = 0;
  virtual void EndObject(std::int32_t handle, std::uint32_t start, bool skip) = 0;
  virtual void WriteObject(Persistent* object);
  virtual std::int32_t ObjectToIndex(Persistent* object) = 0;
  virtual void WriteLong(std::int32_t value);
  virtual Persistent* ReadObject();
  virtual Persistent* IndexToObject(std::int32_t index) = 0;
  virtual std::int32_t ReadLong();
  virtual void WriteClass(const ClassInfo* info) = 0;
  virtual const ClassInfo* ReadClass() = 0;
  virtual Stream* GetStream() = 0;
  virtual std::uint32_t GetPosition();
  // A reader mended what it read: a value that cannot be (the file is damaged), or data that the program
  // which wrote the file could not store (an obsolete format). The archive tells the user once, after
  // the whole file is read; archives that show no notice ignore these.
  virtual void NoteDamaged() {}
  virtual void NoteObsolete() {}

 protected:
  Archive() = default;
};

// The archive that only measures or discards: writes vanish, reads give zeros and null objects.
class BitBucketArchive : public Archive, public SmartImplementation {
  SMART_CLASS(BitBucketArchive)
 public:
  BitBucketArchive() = default;
  BitBucketArchive(const BitBucketArchive& other) : Smart(), Archive(), SmartImplementation(other) {}
  BitBucketArchive& operator=(const BitBucketArchive&) { return *this; }
  std::int32_t BeginObject(const PersistentType*) override { return 0; }
  void ReadWriteVersion(Version* version, std::int32_t, Version) override { *version = 0; }
  void EndObject(std::int32_t, std::uint32_t, bool) override {}
  std::int32_t ObjectToIndex(Persistent*) override { return 0; }
  Persistent* IndexToObject(std::int32_t) override { return nullptr; }
  void WriteClass(const ClassInfo*) override {}
  const ClassInfo* ReadClass() override { return nullptr; }
  Stream* GetStream() override;
};

BitBucketArchive* gBitBucketArchive();

// Brackets one class's part of one object on the stack: exchanges the class's version with the archive
// and, on closing, lets the archive pass over whatever a reader of an older program did not consume.
class ArchiveBlock {
 public:
  ArchiveBlock(Archive* archive, const PersistentType* type);
  ArchiveBlock(ArchiveBlock& outer, const PersistentType* type);
  // A measuring block: it skips, so its stream is the bit bucket.
  explicit ArchiveBlock(Archive* archive);
  ArchiveBlock(const ArchiveBlock&) = delete;
  ArchiveBlock& operator=(const ArchiveBlock&) = delete;
  // Closing can fail (a read past the end of a damaged file); that failure is raised unless another one
  // is already unwinding.
  virtual ~ArchiveBlock() noexcept(false);

  Stream* GetStream() const;
  // The archive for object and class references: the bit bucket archive while the block skips.
  Archive* GetArchive() const;
  Version GetVersion() const { return version; }
  std::int32_t GetHandle() const { return handle; }
  std::uint32_t GetStart() const { return start; }
  bool IsSkipping() const { return flags & kSkip; }
  bool IsInert() const { return flags & kInert; }
  bool IsNewer() const { return flags & kNewer; }
  // Closes the block now rather than when it goes out of scope (once).
  void Close();

 private:
  enum : std::uint8_t { kSkip = 1, kInert = 2, kNewer = 4, kClosed = 8 };

  Archive* archive;
  std::int32_t handle = 0;
  Version version = 0;
  std::uint32_t start = 0;
  std::uint8_t flags = 0;
};

// A measuring block on the bit bucket archive, for code that needs a block without an archive.
ArchiveBlock& gNullArchiveBlock();

// The usual reader: builds an object of class T from a block of its type. Closing the block can still
// fail (a block that cannot be passed over); the object is then given up rather than leaked.
template <class T>
Persistent* ReadFromBlock(Archive* archive, const PersistentType* type) {
  ArchiveBlock block(archive, type);
  std::unique_ptr<T> made(new T(block));
  block.Close();
  return made.release();
}
