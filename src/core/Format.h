// Class numbering of object files: the type index of a kind of file, and the class index (format) of one
// open file with the versions and object sizes it records.
#pragma once

#include <cstdint>
#include <string>

#include "core/Archive.h"
#include "core/Exception.h"
#include "core/GenericArray.h"
#include "core/String.h"

class FileType;
class Stream;

// The class-index block's version.
extern const Version gIndexVersion;

class TypeIndex : public SmartImplementation {
  SMART_ABSTRACT(TypeIndex)
 public:
  SMART_NOT_COPYABLE

  // File types are static objects that live for the whole run.
  TypeIndex(const FileType* fileType, Version version, const char* name);

  void AddType(const PersistentType* type);
  void AddEmptySlots(std::int32_t n);
  // The first class index holding the type; ClassNotInFormat when there is none.
  std::int32_t IndexOf(const PersistentType* type) const;
  const PersistentType* GetType(std::int32_t index) const;
  void SetType(std::int32_t index, const PersistentType* type);
  const FileType* GetFileType() const { return fileType; }
  Version GetVersion() const { return version; }
  const String& GetName() const { return name; }
  std::int32_t NumTypes() const { return types.NumItems(); }

 private:
  const FileType* fileType;
  Version version;
  String name;
  GenericArray types{sizeof(const PersistentType*), 0};
};

// An object or class reference outside the file's type index.
class ClassNotInFormat : public ErrorException {
 public:
  explicit ClassNotInFormat(const char* className);
  Smart* Clone() const override { return new ClassNotInFormat(*this); }
  void Report(int iconKind) override;
  const char* GetClassName() const { return className.c_str(); }

 private:
  std::string className;
};

class Format : public SmartImplementation {
  SMART_ABSTRACT(Format)
 public:
  SMART_NOT_COPYABLE

  enum : std::int32_t { kSizeUnknown = -1, kSizeVaries = -2 };

  // For saving: every class at its current version, no size known yet.
  explicit Format(SmartRef<TypeIndex> typeIndex);
  // Reads a class-index block.
  Format(SmartRef<TypeIndex> typeIndex, Stream* stream);

  std::int32_t IndexOf(Persistent* object) const;
  std::int32_t IndexOfType(const PersistentType* type) const { return typeIndex->IndexOf(type); }
  // A class reference: the last class index of that class (0 for none).
  void WriteClass(Stream* stream, const ClassInfo* info) const;
  const ClassInfo* ReadClass(Stream* stream) const;
  Persistent* CreateObject(std::int32_t index, Archive* archive) const;
  Version GetCurrentVersion(std::int32_t index) const;
  const char* GetClassName(std::int32_t index) const;
  Version GetStoredVersion(std::int32_t index) const;
  void RecordSize(std::int32_t index, std::int32_t size);
  std::int32_t GetStoredSize(std::int32_t index) const;
  void WriteIndex(Stream* stream);
  const SmartRef<TypeIndex>& GetTypeIndex() const { return typeIndex; }
  // A type with a reader at that class index, or null (empty slots and indexes outside the list).
  const PersistentType* TypeAt(std::int32_t index) const;

 private:
  static std::int32_t Item(const GenericArray& array, std::int32_t index);

  SmartRef<TypeIndex> typeIndex;
  GenericArray versions{4, 0};
  GenericArray sizes{4, 0};
};

inline bool SameMajorVersion(Version a, Version b) { return SameMajor(a, b); }

// The file type of documents (pages and the project index "index.zod"): "Format Quillory", 'ZOD ', .zod.
const FileType& MakeDocumentFileType();

// The class numbering of documents, of the document file type. Slots of classes that other subsystems
// bring are filled when those classes register themselves (from their static initialisers); until then
// such a slot is empty.
inline constexpr std::int32_t kGenericTypeCount = 37;
SmartRef<TypeIndex> GetGenericTypeIndex();
// The class name the generic type index expects at a slot (null for the empty slots).
const char* GenericTypeSlotName(std::int32_t index);
// Registers a class of another subsystem at its class index; its class name must be the slot's.
void RegisterGenericType(std::int32_t index, const PersistentType* type);
