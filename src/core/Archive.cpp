#include "core/Archive.h"

#include <exception>

#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Stream.h"

SMART_DEFINE_ABSTRACT(Persistent, "Persistent", Smart)
SMART_DEFINE_ABSTRACT(Archive, "Archive", Smart)
SMART_DEFINE(BitBucketArchive, "BitBucketArchive", &CreateDefault<BitBucketArchive>, nullptr, Archive,
             SmartImplementation)

Version ReadVersion(Stream& stream) { return static_cast<Version>(stream.ReadLong()); }

void ThrowDamagedFile(const char* file, int line) {
  char text[256];
  gDocumentMessages.GetString(text, kDamagedFileText - gDocumentMessages.GetFirst());
  ThrowError(text, file, line);
}

void CheckStoredCount(Stream* stream, std::int32_t count, std::uint32_t itemSize) {
  const std::uint32_t length = stream->GetLength();
  const std::uint32_t position = stream->GetPosition();
  const std::uint64_t bytes = std::uint64_t{static_cast<std::uint32_t>(count)} * itemSize;
  if (count < 0 || position > length || bytes > length - position) ThrowDamagedFile(__FILE__, __LINE__);
}

std::int32_t ReadStoredLong(Stream* stream) {
  CheckStoredCount(stream, 1, 4);
  return stream->ReadLong();
}

Persistent* PersistentType::CreateObject(Archive* archive) const {
  if (reader == nullptr) AssertFailed("reader != NULL", __FILE__, __LINE__);
  return reader(archive);
}

void Archive::WriteObject(Persistent* object) { WriteLong(ObjectToIndex(object)); }
void Archive::WriteLong(std::int32_t value) { GetStream()->WriteLong(value); }
Persistent* Archive::ReadObject() { return IndexToObject(ReadLong()); }
std::int32_t Archive::ReadLong() { return GetStream()->ReadLong(); }
std::uint32_t Archive::GetPosition() { return GetStream()->GetPosition(); }

Stream* BitBucketArchive::GetStream() { return gBitBucket(); }

BitBucketArchive* gBitBucketArchive() {
  static BitBucketArchive* archive = NewPermanent<BitBucketArchive>();
  return archive;
}

ArchiveBlock::ArchiveBlock(Archive* archive, const PersistentType* type) : archive(archive) {
  handle = archive->BeginObject(type);
  archive->ReadWriteVersion(&version, handle, type->currentVersion);
  start = archive->GetPosition();
  if (type->IsIncompatible(version)) flags |= kSkip;
  if (version > type->currentVersion) flags |= kNewer;
}

ArchiveBlock::ArchiveBlock(ArchiveBlock& outer, const PersistentType* type) : archive(outer.archive) {
  handle = archive->BeginObject(type);
  if (outer.IsSkipping()) {
    version = 0;
    flags |= kSkip | kInert;
  } else {
    archive->ReadWriteVersion(&version, handle, type->currentVersion);
    if (type->IsIncompatible(version)) flags |= kSkip;
  }
  start = archive->GetPosition();
  if (version > type->currentVersion) flags |= kNewer;
}

ArchiveBlock::ArchiveBlock(Archive* archive) : archive(archive), flags(kSkip) {}

ArchiveBlock::~ArchiveBlock() noexcept(false) {
  if (std::uncaught_exceptions() == 0) {
    Close();
    return;
  }
  // Closing while another failure unwinds: that failure is the one to report. Raising the new one took
  // the program's hold on it, so the hold is given back before it is caught.
  const SmartRef<Exception> unwinding = gLastException;
  try {
    Close();
  } catch (Exception*) {
    gLastException = unwinding;
  }
}

void ArchiveBlock::Close() {
  if (flags & kClosed) return;
  flags |= kClosed;
  if (!(flags & kInert)) archive->EndObject(handle, start, (flags & (kSkip | kNewer)) != 0);
}

Stream* ArchiveBlock::GetStream() const { return IsSkipping() ? gBitBucket() : archive->GetStream(); }

// Only a skipping block hands out the bit bucket archive. (Whether any reference holds the archive does
// not matter: an archive made on the stack must still write every object reference it is given.)
Archive* ArchiveBlock::GetArchive() const { return IsSkipping() ? gBitBucketArchive() : archive; }

ArchiveBlock& gNullArchiveBlock() {
  static ArchiveBlock* block = new ArchiveBlock(gBitBucketArchive());
  return *block;
}
