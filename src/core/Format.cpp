#include "core/Format.h"

#include <cstring>
#include <vector>

#include "core/FileType.h"
#include "core/Resources.h"
#include "core/ListData.h"
#include "core/Stream.h"
#include "core/Text1252.h"

SMART_DEFINE_ABSTRACT(TypeIndex, "TypeIndex", SmartImplementation)
SMART_DEFINE_ABSTRACT(Format, "Format", SmartImplementation)

const Version gIndexVersion = MakeVersion(2);

TypeIndex::TypeIndex(const FileType* fileType, Version version, const char* name)
    : fileType(fileType), version(version), name(name) {}

void TypeIndex::AddType(const PersistentType* type) { types.Insert(&type, types.NumItems(), 1); }

void TypeIndex::AddEmptySlots(std::int32_t n) { types.Insert(nullptr, types.NumItems(), n); }

std::int32_t TypeIndex::IndexOf(const PersistentType* type) const {
  const std::int32_t n = type ? types.Find(&type) : 0;
  if (n == 0) ThrowException(new ClassNotInFormat(type ? type->classInfo->GetName() : ""));
  return n;
}

const PersistentType* TypeIndex::GetType(std::int32_t index) const {
  const PersistentType* type;
  std::memcpy(&type, types.At(index), sizeof type);
  return type;
}

void TypeIndex::SetType(std::int32_t index, const PersistentType* type) { types.Fill(&type, index, 1); }

ClassNotInFormat::ClassNotInFormat(const char* className)
    : ErrorException("Class not included in format:", __FILE__, __LINE__), className(className) {}

void ClassNotInFormat::Report(int iconKind) {
  if (IsReported()) return;
  char text[256];
  GetFrameworkString(text, 0, "Class not included in format:", className.c_str(), "", "");
  Alert(iconKind, kButtonsOK, text);
  SetReported(true);
}

Format::Format(SmartRef<TypeIndex> index) : typeIndex(std::move(index)) {
  const std::int32_t count = typeIndex->NumTypes();
  for (std::int32_t n = 1; n <= count; ++n) {
    const PersistentType* type = typeIndex->GetType(n);
    const std::int32_t version = type ? static_cast<std::int32_t>(type->currentVersion) : 0;
    const std::int32_t size = kSizeUnknown;
    versions.Insert(&version, n - 1, 1);
    sizes.Insert(&size, n - 1, 1);
  }
}

Format::Format(SmartRef<TypeIndex> index, Stream* stream) : typeIndex(std::move(index)) {
  const Version first = static_cast<Version>(ReadStoredLong(stream));
  Version blockVersion = first;
  Version indexVersion = MakeVersion(1);
  std::int32_t blockSize = 0;
  std::uint32_t afterSize = 0;
  // An index of version 1 starts with a 16-bit version and has no size field.
  const bool versionOne = (first >> 16) == 0;
  if (versionOne) {
    blockVersion = MakeVersion(1);
  } else {
    blockSize = ReadStoredLong(stream);
    afterSize = stream->GetPosition();
    indexVersion = static_cast<Version>(ReadStoredLong(stream));
  }
  if (blockVersion > gIndexVersion && !SameMajor(blockVersion, gIndexVersion))
    ThrowError("Impossible de lire le format", __FILE__, __LINE__);
  if (!SameMajor(indexVersion, typeIndex->GetVersion())) ThrowError("Can't read class index", __FILE__, __LINE__);
  // The name is not compared.
  const std::int32_t nameLength = ReadStoredLong(stream);
  CheckStoredCount(stream, nameLength, 1);
  stream->Seek(nameLength, kSeekRelative);
  const std::int32_t versionCount = ReadStoredLong(stream);
  CheckStoredCount(stream, versionCount, 4);
  for (std::int32_t n = 1; n <= versionCount; ++n) {
    std::uint32_t version = static_cast<std::uint32_t>(ReadStoredLong(stream));
    if (versionOne) version = (version & 0xFFFF) << 16;
    versions.Insert(&version, n - 1, 1);
  }
  if (versionOne) {
    const std::int32_t unknown = kSizeUnknown;
    sizes.InsertCopies(&unknown, 0, versionCount);
  } else {
    const std::int32_t sizeCount = ReadStoredLong(stream);
    CheckStoredCount(stream, sizeCount, 4);
    for (std::int32_t n = 1; n <= sizeCount; ++n) {
      const std::int32_t size = ReadStoredLong(stream);
      sizes.Insert(&size, n - 1, 1);
    }
  }
  if (blockSize > 0) {
    const std::uint64_t end = std::uint64_t{afterSize} + static_cast<std::uint32_t>(blockSize);
    if (end > stream->GetLength() || end < stream->GetPosition()) ThrowDamagedFile(__FILE__, __LINE__);
    stream->Seek(static_cast<std::int32_t>(end), kSeekFromStart);
  }
}

std::int32_t Format::Item(const GenericArray& array, std::int32_t index) {
  std::int32_t value;
  std::memcpy(&value, array.ItemAddress(index), sizeof value);
  return value;
}

std::int32_t Format::IndexOf(Persistent* object) const {
  if (object == nullptr) AssertFailed("obj.Valid()", __FILE__, __LINE__);
  return typeIndex->IndexOf(object->GetPersistentType());
}

void Format::WriteClass(Stream* stream, const ClassInfo* info) const {
  std::int32_t found = 0;
  if (info) {
    for (std::int32_t n = typeIndex->NumTypes(); n >= 1 && found == 0; --n) {
      const PersistentType* type = typeIndex->GetType(n);
      if (type && type->classInfo == info) found = n;
    }
    if (found == 0) ThrowException(new ClassNotInFormat(info->GetName()));
  }
  stream->WriteLong(found);
}

const ClassInfo* Format::ReadClass(Stream* stream) const {
  const std::int32_t index = ReadStoredLong(stream);
  if (index == 0) return nullptr;
  if (index < 0 || index > typeIndex->NumTypes()) ThrowDamagedFile(__FILE__, __LINE__);
  const PersistentType* type = typeIndex->GetType(index);
  return type ? type->classInfo : nullptr;
}

const PersistentType* Format::TypeAt(std::int32_t index) const {
  if (index < 1 || index > typeIndex->NumTypes()) return nullptr;
  return typeIndex->GetType(index);
}

Persistent* Format::CreateObject(std::int32_t index, Archive* archive) const {
  const PersistentType* type = TypeAt(index);
  if (type == nullptr || !type->HasReader()) ThrowError("Can't create object of that class!", __FILE__, __LINE__);
  return type->CreateObject(archive);
}

Version Format::GetCurrentVersion(std::int32_t index) const {
  const PersistentType* type = TypeAt(index);
  return type ? type->currentVersion : 0;
}

const char* Format::GetClassName(std::int32_t index) const {
  const PersistentType* type = TypeAt(index);
  return type ? type->classInfo->GetName() : "";
}

Version Format::GetStoredVersion(std::int32_t index) const {
  if (index < 1 || index > versions.NumItems()) return 0;
  const Version stored = static_cast<Version>(Item(versions, index));
  const Version current = GetCurrentVersion(index);
  if (stored <= current) return stored;
  const bool sizeKnown = index <= sizes.NumItems() && Item(sizes, index) != kSizeUnknown;
  return SameMajor(stored, current) && sizeKnown ? stored : 0;
}

void Format::RecordSize(std::int32_t index, std::int32_t size) {
  if (index < 1 || index > sizes.NumItems()) return;
  const std::int32_t recorded = Item(sizes, index);
  if (recorded == kSizeVaries || recorded == size) return;
  const std::int32_t updated = recorded == kSizeUnknown ? size : kSizeVaries;
  sizes.Fill(&updated, index, 1);
}

std::int32_t Format::GetStoredSize(std::int32_t index) const {
  if (index < 1 || index > sizes.NumItems()) return kSizeUnknown;
  const std::int32_t recorded = Item(sizes, index);
  return recorded == kSizeVaries ? kSizeUnknown : recorded;
}

void Format::WriteIndex(Stream* stream) {
  TextLock name(typeIndex->GetName());
  const std::int32_t versionCount = versions.NumItems();
  const std::int32_t sizeCount = sizes.NumItems();
  stream->WriteLong(static_cast<std::int32_t>(gIndexVersion));
  stream->WriteLong(16 + name.Length() + 4 * versionCount + 4 * sizeCount);
  stream->WriteLong(static_cast<std::int32_t>(typeIndex->GetVersion()));
  stream->WriteLong(name.Length());
  stream->Write(name.Chars(), static_cast<std::uint32_t>(name.Length()));
  stream->WriteLong(versionCount);
  stream->Write(versions.ItemAddress(1), static_cast<std::uint32_t>(versionCount) * 4);
  stream->WriteLong(sizeCount);
  stream->Write(sizes.ItemAddress(1), static_cast<std::uint32_t>(sizeCount) * 4);
}

namespace {

// The class numbering of documents: the order and the empty slots are part of the file format.
constexpr const char* kGenericSlotNames[kGenericTypeCount] = {
    "String",     nullptr,       "CSprite",      "CMovieGroup", "CMoviePic",     nullptr,        "CMovie",
    "CShow",      "CJumpFrame",  "CJumpMovie",   nullptr,       "CFrameIndex",   "CMovieText",   "CResource",
    "CLink",      "CXform",      nullptr,        "CDelta",      nullptr,         "CStamp",       "CMovieVideo",
    "CJump",      "CMovieRes",   "PathPoint",    "BitMap",      "String",        "FileReference", "GenericArray",
    "Area",       "ListData",    "Picture",      "ColorTable",  "Sound",         "StyledText",   "TextStyle",
    "LinkHREF",   "Time",
};

const PersistentType*& GenericSlot(std::int32_t index) {
  static const PersistentType* slots[kGenericTypeCount] = {};
  return slots[index - 1];
}

SmartRef<TypeIndex>& GenericTypeIndex() {
  static SmartRef<TypeIndex> index;
  return index;
}

// The framework's own classes of the table.
[[maybe_unused]] const bool gCoreTypesRegistered = [] {
  RegisterGenericType(1, &String::persistentType);
  RegisterGenericType(26, &String::persistentType);
  RegisterGenericType(28, &GenericArray::persistentType);
  RegisterGenericType(30, &ListData::persistentType);
  return true;
}();

}  // namespace

const char* GenericTypeSlotName(std::int32_t index) {
  return index >= 1 && index <= kGenericTypeCount ? kGenericSlotNames[index - 1] : nullptr;
}

void RegisterGenericType(std::int32_t index, const PersistentType* type) {
  const char* expected = GenericTypeSlotName(index);
  if (expected == nullptr || type == nullptr || std::strcmp(expected, type->classInfo->GetName()) != 0)
    AssertFailed("type fits its generic class index", __FILE__, __LINE__);
  GenericSlot(index) = type;
  if (GenericTypeIndex()) GenericTypeIndex()->SetType(index, type);
}

const FileType& MakeDocumentFileType() {
  static const SmartRef<FileType> documents(
      new FileType("Format Quillory", FourCharCode("ZOD "), FourCharCode("zod ")));
  return *documents;
}

SmartRef<TypeIndex> GetGenericTypeIndex() {
  SmartRef<TypeIndex>& index = GenericTypeIndex();
  if (!index) {
    index = new TypeIndex(&MakeDocumentFileType(), MakeVersion(1), "Fichier d'objet générique"_cp);
    for (std::int32_t n = 1; n <= kGenericTypeCount; ++n) {
      if (GenericSlot(n)) index->AddType(GenericSlot(n));
      else index->AddEmptySlots(1);
    }
  }
  return index;
}
