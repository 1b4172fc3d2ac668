#include "core/Archive.h"

#include <exception>

#include "core/Exception.h"
#include "core/Stream.h"

SMART_DEFINE_ABSTRACT(Persistent, "Persistent", Smart)
SMART_DEFINE_ABSTRACT(Archive, "Archive", Smart)
SMART_DEFINE(BitBucketArchive, "BitBucketArchive", &CreateDefault<BitBucketArchive>, nullptr, Archive,
             SmartImplementation)

Version ReadVersion(Stream& stream) { return static_cast<Version>(stream.ReadLong()); }

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
  try {
    Close();
  } catch (Exception*) {
    // Closing while another failure unwinds: that failure is the one to report.
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
