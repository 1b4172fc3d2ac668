#include "core/ObjectFile.h"

#include "core/File.h"
#include "core/FileSaveTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Progress.h"
#include "core/String.h"
#include "core/Text1252.h"

SMART_DEFINE_ABSTRACT(ObjectFile, "ObjectFile", Archive, Scribe)

const Version gObjectFileVersion = MakeVersion(2);

namespace {

// Objects nested deeper than this come from a damaged file: a real document is far shallower, and each
// level of nesting costs stack.
constexpr std::int32_t kMaxNesting = 1000;

// What a reference to an object under construction answers: the cycle closes with a null reference.
Persistent* Placeholder() {
  static String* placeholder = [] {
    auto* made = new String("En cours d'utilisation");
    made->MakePermanent();
    return made;
  }();
  return placeholder;
}

// A reader consumed more or fewer bytes than the object table gives its object.
class ObjectReadError : public Exception {
 public:
  ObjectReadError(const char* className, Version version, std::int64_t difference)
      : className(className), version(version), difference(difference) {}
  Smart* Clone() const override { return new ObjectReadError(*this); }
  void Report(int iconKind) override {
    char versionText[16];
    std::snprintf(versionText, sizeof versionText, "%u.%u", version >> 16, version & 0xFFFF);
    char differenceText[24];
    std::snprintf(differenceText, sizeof differenceText, "%lld",
                  static_cast<long long>(difference < 0 ? -difference : difference));
    char text[256];
    const int id = difference >= 0 ? kReadTooManyText : kReadTooFewText;
    gDocumentMessages.GetString(text, id - gDocumentMessages.GetFirst(), className, versionText, differenceText, "");
    Alert(iconKind, kButtonsOK, text);
  }

 private:
  const char* className;
  Version version;
  std::int64_t difference;
};

[[noreturn]] void ThrowUnskippable() {
  ThrowError("Impossible de lire le format de fichier obsolète ou inconnu."_cp, __FILE__, __LINE__);
}

// Seeks to an absolute position that must lie within the stream.
void SeekWithin(Stream* stream, std::uint64_t position) {
  if (position > stream->GetLength() || position > INT32_MAX) ThrowDamagedFile(__FILE__, __LINE__);
  stream->Seek(static_cast<std::int32_t>(position), kSeekFromStart);
}

}  // namespace

ObjectFile::ObjectFile(SmartRef<TypeIndex> typeIndex, SmartRef<Stream> stream)
    : typeIndex(std::move(typeIndex)), stream(std::move(stream)) {}

ObjectFile::~ObjectFile() = default;

ObjectTableEntry ObjectFile::Entry(std::int32_t n) const {
  ObjectTableEntry entry;
  std::memcpy(&entry, objectTable.ItemAddress(n), sizeof entry);
  return entry;
}

void ObjectFile::SetEntry(std::int32_t n, const ObjectTableEntry& entry) { objectTable.Fill(&entry, n, 1); }

void ObjectFile::SetMode(int newMode) {
  mode = newMode;
  stream->Seek(0, kSeekFromStart);
}

void ObjectFile::SetRootIndex(std::int32_t index) {
  if (!fileSaving) AssertFailed("fileSaving", __FILE__, __LINE__);
  header.root = index;
}

bool ObjectFile::ReadsKindOf(const ClassInfo* info) { return Persistent::classInfo.IsKindOf(info); }

// ---- Archive ----

std::int32_t ObjectFile::BeginObject(const PersistentType* type) { return format->IndexOfType(type); }

void ObjectFile::ReadWriteVersion(Version* version, std::int32_t handle, Version current) {
  if (mode == kWriting) {
    if (header.flags & ObjectFileHeader::kClassTags) stream->WriteLong(handle);
    *version = current;
    return;
  }
  const Version stored = format->GetStoredVersion(handle);
  if ((stored >> 16) < (current >> 16)) header.flags |= ObjectFileHeader::kOlder;
  if (stored > current) header.flags |= ObjectFileHeader::kNewer;
  if ((header.flags & ObjectFileHeader::kClassTags) && stored != 0 && stream->ReadLong() != handle)
    header.flags |= ObjectFileHeader::kDamaged;
  *version = stored;
}

// Handle 0 is a block of no class (a measuring block): there is nothing to record or pass over.
void ObjectFile::EndObject(std::int32_t handle, std::uint32_t start, bool skip) {
  if (handle == 0) return;
  if (mode == kWriting) {
    format->RecordSize(handle, static_cast<std::int32_t>(GetPosition() - start));
    return;
  }
  if (!skip && !(header.flags & ObjectFileHeader::kClassTags)) return;
  const std::int32_t stored = format->GetStoredSize(handle);
  if (stored == Format::kSizeUnknown) {
    if (!skip) return;
    // A class whose size varies has no recorded end for its block. When nothing more of the object is
    // read after this block, the object's length in the table passes over the rest (see BuildObject).
    if (depth > 0 && !unskippedEnd) {
      unskippedEnd = stream->GetPosition();
      return;
    }
    ThrowUnskippable();
  }
  const std::int64_t d = std::int64_t{stored} + start - GetPosition();
  if (d == 0) return;
  if (d < 0) {
    header.flags |= ObjectFileHeader::kDamaged;
    SeekWithin(~stream, static_cast<std::uint64_t>(std::int64_t{stream->GetPosition()} + d));
    return;
  }
  std::uint32_t nested = 0;
  SeekWithin(~stream, static_cast<std::uint64_t>(PassOverNested(stream->GetPosition(), d, &nested)));
  baseOffset += nested;
}

// The recorded size of a block leaves out the objects first referred to in it, which are written right
// after their index, inside the block. Passing over the unread rest of the block, from the given stream
// position, passes over those objects as well; answers where the block ends and gives their bytes.
std::int64_t ObjectFile::PassOverNested(std::int64_t from, std::int64_t ownBytes, std::uint32_t* nested) const {
  const auto before = [](const ObjectTableEntry& entry, std::int64_t position) { return entry.position < position; };
  std::int64_t at = from, left = ownBytes, total = 0;
  auto it = std::lower_bound(byPosition.begin(), byPosition.end(), at, before);
  // An object that starts where the block's own bytes end follows the block's last index; one that starts
  // at the end of the object being built is the next object of the file.
  while (it != byPosition.end() && it->position <= at + left && it->position < objectEnd) {
    left -= it->position - at;
    at = std::int64_t{it->position} + it->length;
    total += it->length;
    if (at > objectEnd) ThrowDamagedFile(__FILE__, __LINE__);
    it = std::lower_bound(it + 1, byPosition.end(), at, before);
  }
  *nested = static_cast<std::uint32_t>(total);
  return at + left;
}

void ObjectFile::WriteObject(Persistent* object) {
  const std::int32_t index = ObjectToIndex(object);
  stream->WriteLong(index);
  WriteObjectBody(index);
}

std::int32_t ObjectFile::ObjectToIndex(Persistent* object) {
  if (object == nullptr) return 0;
  Smart* smart = object;
  const std::int32_t listed = objList.IndexOf(smart);
  if (listed) return listed;
  objList.Append(smart);
  const ObjectTableEntry empty{0, 0, 0};
  objectTable.Insert(&empty, objectTable.NumItems(), 1);
  return objList.NumItems();
}

Persistent* ObjectFile::IndexToObject(std::int32_t n) {
  if (n == 0) return nullptr;
  if (n < 0 || n > objectTable.NumItems() || n > objList.NumItems()) ThrowDamagedFile(__FILE__, __LINE__);
  const std::uint32_t p = stream->GetPosition();
  const std::uint32_t b = baseOffset;
  const ObjectTableEntry entry = Entry(n);
  const std::uint32_t c = entry.position;
  const std::uint32_t len = entry.length;
  if (std::uint64_t{c} + len > stream->GetLength()) ThrowDamagedFile(__FILE__, __LINE__);

  Persistent* object = CastSmart<Persistent>(objList.At(n));
  if (object == Placeholder()) return nullptr;
  if (object == nullptr) {
    if (depth >= kMaxNesting) ThrowDamagedFile(__FILE__, __LINE__);
    if (progress) progress->Step(1);
    if (c != p) {
      SeekWithin(~stream, c);
      baseOffset = 0;
    }
    object = BuildObject(n, entry);
  }
  if (c == p) {
    stream->Seek(static_cast<std::int32_t>(p + len), kSeekFromStart);
    baseOffset = b + len;
  } else {
    stream->Seek(static_cast<std::int32_t>(p), kSeekFromStart);
    baseOffset = b;
  }
  return object;
}

Persistent* ObjectFile::BuildObject(std::int32_t n, const ObjectTableEntry& entry) {
  const std::uint32_t c = stream->GetPosition();
  objList.Put(Placeholder(), n);
  const std::optional<std::uint32_t> outerUnskipped = unskippedEnd;
  unskippedEnd.reset();
  const std::int64_t outerEnd = objectEnd;
  objectEnd = std::int64_t{c} + entry.length;
  ++depth;
  SmartRef<Smart> built;
  try {
    Persistent* object = format->CreateObject(entry.classIndex, this);
    built = object;
    // A block that could not be passed over was followed by more of the object: what came after it
    // was read from the wrong place.
    if (unskippedEnd && stream->GetPosition() != *unskippedEnd) ThrowUnskippable();
  } catch (...) {
    --depth;
    unskippedEnd = outerUnskipped;
    objectEnd = outerEnd;
    objList.Put(nullptr, n);
    throw;
  }
  --depth;
  const bool passedOverByLength = unskippedEnd.has_value();
  unskippedEnd = outerUnskipped;
  objectEnd = outerEnd;
  objList.Put(~built, n);
  const std::int64_t consumed = std::int64_t{stream->GetPosition()} - c;
  if (consumed != entry.length && !passedOverByLength) {
    SmartRef<Exception> notice = new ObjectReadError(format->GetClassName(entry.classIndex),
                                                     format->GetStoredVersion(entry.classIndex), consumed - entry.length);
    notice->Report(kAlertExclamation);
  }
  return CastSmart<Persistent>(~built);
}

void ObjectFile::WriteClass(const ClassInfo* info) { format->WriteClass(~stream, info); }

const ClassInfo* ObjectFile::ReadClass() { return format->ReadClass(~stream); }

// ---- Saving ----

void ObjectFile::WriteHeader() {
  stream->Write(header.magic, 4);
  stream->WriteByte(header.order);
  stream->WriteLong(static_cast<std::int32_t>(header.version));
  stream->WriteLong(0);
  stream->WriteLong(static_cast<std::int32_t>(header.tableOffset));
  stream->WriteLong(static_cast<std::int32_t>(header.indexOffset));
  stream->WriteLong(header.root);
}

std::uint32_t ObjectFile::BeginSave(Progress* range) {
  if (fileSaving) AssertFailed("!fileSaving", __FILE__, __LINE__);
  stream->SetSwap(false);
  SetMode(kWriting);
  range->Step(1);
  header = ObjectFileHeader();
  header.version = gObjectFileVersion;
  const std::uint32_t start = stream->GetPosition();
  WriteHeader();
  range->Step(1);
  format = new Format(typeIndex);
  header.indexOffset = stream->GetPosition();
  format->WriteIndex(~stream);
  objList->RemoveAll();
  objectTable.RemoveAll();
  fileSaving = true;
  baseOffset = 0;
  return start;
}

void ObjectFile::EndSave(Progress* range, std::uint32_t start) {
  if (!fileSaving) AssertFailed("fileSaving", __FILE__, __LINE__);
  WriteAllObjects();
  header.tableOffset = stream->GetPosition();
  range->Step(1);
  objectTable.Write(this);
  const std::uint32_t end = stream->GetPosition();
  range->Step(1);
  stream->Seek(static_cast<std::int32_t>(start), kSeekFromStart);
  WriteHeader();
  range->Step(1);
  stream->Seek(static_cast<std::int32_t>(header.indexOffset), kSeekFromStart);
  format->WriteIndex(~stream);
  stream->SetLength(end);
  SetMode(kWriting);
  EndSaveState();
}

void ObjectFile::EndSaveState() {
  objList->RemoveAll();
  objectTable.RemoveAll();
  fileSaving = false;
  baseOffset = 0;
}

void ObjectFile::WriteAllObjects() {
  for (std::int32_t n = 1; n <= objList.NumItems(); ++n) {
    baseOffset = 0;
    WriteObjectBody(n);
  }
}

void ObjectFile::WriteObjectBody(std::int32_t n) {
  if (n == 0) return;
  ObjectTableEntry entry = Entry(n);
  if (entry.position != 0) return;
  Persistent* object = CastSmart<Persistent>(objList.At(n));
  entry.classIndex = format->IndexOf(object);
  entry.position = stream->GetPosition();
  SetEntry(n, entry);
  const std::uint32_t entryBase = baseOffset;
  object->Write(this);
  const std::uint32_t length = stream->GetPosition() - entry.position;
  entry = Entry(n);
  entry.length = length;
  SetEntry(n, entry);
  baseOffset = entryBase + length;
}

void ObjectFile::Write(SmartRef<Smart> object) {
  Persistent* root = CastSmart<Persistent>(~object);
  if (object && root == nullptr) ThrowException(new ClassNotInFormat(object->GetClassInfo()->GetName()));
  Save([&] { return ObjectToIndex(root); });
}

void ObjectFile::Save(const std::function<std::int32_t()>& listObjects) {
  const SmartRef<Stream> document = stream;
  // A document in a file is always saved beside itself and then put in place.
  std::unique_ptr<SaveTarget> fileTarget;
  File* documentFile = CastSmart<File>(~document);
  if (!saveTarget && documentFile && documentFile->IsOpen()) fileTarget = std::make_unique<FileSaveTarget>(*documentFile);
  SaveTarget* target = saveTarget ? saveTarget.get() : fileTarget.get();
  stream = target ? target->OpenReplacement() : SmartRef<Stream>(new MemoryStream());
  try {
    Progress range(100, "Enregistrement des objets");
    const std::uint32_t start = BeginSave(&range);
    SetRootIndex(listObjects());
    EndSave(&range, start);
  } catch (...) {
    const SmartRef<Stream> replacement = stream;
    stream = document;
    EndSaveState();
    if (target) target->Discard(replacement);
    throw;
  }
  const SmartRef<Stream> replacement = stream;
  stream = document;
  if (target) {
    stream = target->Commit(replacement);
  } else {
    auto* saved = static_cast<MemoryStream*>(~replacement);
    const std::uint32_t length = saved->GetLength();
    stream->SetSwap(false);
    stream->Seek(0, kSeekFromStart);
    stream->Write(saved->GetMemory().GetData(), length);
    stream->SetLength(length);
  }
  SetMode(kWriting);
}

// ---- Reading ----

void ObjectFile::ReadHeader() {
  header = ObjectFileHeader();
  char magic[4];
  CheckStoredCount(~stream, 4, 1);
  stream->Read(magic, 4);
  if (std::memcmp(magic, "OBJS", 4) == 0) {
    CheckStoredCount(~stream, 1, 1);
    header.order = stream->ReadByte();
    if (header.order == 0) {
      stream->Seek(-1, kSeekRelative);
      header.order = 1;
    }
    stream->SetSwap(header.order != 2);
    header.version = static_cast<Version>(ReadStoredLong(~stream));
    if (header.version > gObjectFileVersion) header.flags |= ObjectFileHeader::kNewer;
    else if ((header.version >> 16) < (gObjectFileVersion >> 16)) header.flags |= ObjectFileHeader::kOlder;
    if (ReadStoredLong(~stream) & 1) header.flags |= ObjectFileHeader::kClassTags;
  } else {
    // A file of version 1.0: no magic, big-endian.
    header.order = 1;
    stream->SetSwap(true);
    header.version = MakeVersion(1);
    header.flags |= ObjectFileHeader::kOlder;
  }
  header.root = 0;
  if (header.version >= MakeVersion(2)) {
    header.tableOffset = static_cast<std::uint32_t>(ReadStoredLong(~stream));
    header.indexOffset = static_cast<std::uint32_t>(ReadStoredLong(~stream));
    header.root = ReadStoredLong(~stream);
  }
}

void ObjectFile::ReadObjectTable() {
  if (header.tableOffset != 0) SeekWithin(~stream, header.tableOffset);
  ArchiveBlock block(this, &GenericArray::persistentType);
  GenericArray table(sizeof(ObjectTableEntry), block);
  block.Close();
  // Tables of older files are laid out otherwise; their objects are not read (the file shows as obsolete).
  if (header.version < MakeVersion(2)) return;
  objectTable.Assign(table);
  for (std::int32_t n = 1; n <= objectTable.NumItems(); ++n) {
    ObjectTableEntry entry = Entry(n);
    if (header.order != 2) {
      entry.classIndex = stream->SwapLong(entry.classIndex);
      entry.position = static_cast<std::uint32_t>(stream->SwapLong(static_cast<std::int32_t>(entry.position)));
      entry.length = static_cast<std::uint32_t>(stream->SwapLong(static_cast<std::int32_t>(entry.length)));
      SetEntry(n, entry);
    }
    if (entry.position != 0) byPosition.push_back(entry);
  }
  std::sort(byPosition.begin(), byPosition.end(),
            [](const ObjectTableEntry& a, const ObjectTableEntry& b) { return a.position < b.position; });
}

void ObjectFile::Read(SmartRef<Smart>* result) {
  *result = nullptr;
  SetMode(kReading);
  byPosition.clear();
  ReadHeader();
  if (header.indexOffset != 0) SeekWithin(~stream, header.indexOffset);
  format = new Format(typeIndex, ~stream);
  ReadObjectTable();

  SmartRef<Smart> root;
  bool reported = false;
  if (IsDamaged()) {
    objectTable.RemoveAll();
  } else {
    if (objList.NumItems() != 0) AssertFailed("objList->NumItems() == 0", __FILE__, __LINE__);
    const std::int32_t count = objectTable.NumItems();
    try {
      Progress range(static_cast<std::uint32_t>(count) + 1, "Lecture d'objets");
      progress = &range;
      range.Step(1);
      objList.Put(nullptr, 1, count);
      const std::int32_t rootIndex = header.root == 0 ? count : header.root;
      baseOffset = 0;
      depth = 0;
      Persistent* object = IndexToObject(rootIndex);
      root = object ? static_cast<Smart*>(object) : nullptr;
      progress = nullptr;
    } catch (Exception* exception) {
      progress = nullptr;
      SmartRef<Exception> failure = exception;
      failure->Report(kAlertExclamation);
      reported = true;
      root = nullptr;
    }
  }
  SetMode(kReading);
  baseOffset = 0;
  if (!reported) ShowReadNotice();
  *result = root;
}

void ObjectFile::ShowReadNotice() {
  std::uint32_t text = 0;
  int icon = kAlertInformation;
  if (IsDamaged()) {
    text = kDamagedFileText;
    icon = kAlertExclamation;
  } else if (IsOlder()) {
    text = kOlderFileText;
  } else if (IsNewer()) {
    text = kNewerFileText;
  }
  if (text == 0) return;
  char notice[256];
  gDocumentMessages.GetString(notice, text - gDocumentMessages.GetFirst());
  Alert(icon, kButtonsOK, notice);
}
