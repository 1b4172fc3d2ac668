#include "engine/links/CLink.h"

#include "core/Format.h"
#include "core/Stream.h"
#include "engine/Storage.h"
#include "engine/links/CFrameIndex.h"
#include "engine/links/WebAddress.h"

SMART_DEFINE(CLink, "CLink", &CreateDefault<CLink>, nullptr, Persistent, SmartImplementation)

// Version 2.1 adds the web address.
const PersistentType CLink::persistentType(&CLink::classInfo, MakeVersion(1), MakeVersion(2, 1), &CLink::ReadNew);

namespace {
[[maybe_unused]] const bool gLinkRegistered = (RegisterGenericType(15, &CLink::persistentType), true);
}  // namespace

// Links of older files have no web address; a page link among them still publishes its page's address
// (GetHref).
CLink::CLink(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  Archive* archive = block.GetArchive();
  kind = stream->ReadByte();
  mode = stream->ReadByte();
  jump = CastSmart<CJump>(archive->ReadObject());
  value = stream->ReadShort();
  movieJump = CastSmart<CJumpMovie>(archive->ReadObject());
  if (block.GetVersion() >= MakeVersion(2, 1)) href = AsWebAddress(archive->ReadObject());
}

Persistent* CLink::ReadNew(Archive* archive) { return ReadFromBlock<CLink>(archive, &persistentType); }

void CLink::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Stream* stream = block.GetStream();
  stream->WriteByte(static_cast<std::uint8_t>(kind));
  stream->WriteByte(static_cast<std::uint8_t>(mode));
  WritePersistent(block, ~jump);
  stream->WriteShort(value);
  WritePersistent(block, ~movieJump);
  WritePersistent(block, ~href);
}

void CLink::SetKind(std::int32_t newKind) {
  switch (newKind) {
    case kFrame:
    case kFrameWithReturn:
      if (!IsMember<CJumpFrame>(~jump)) return;
      break;
    case kPage:
    case kPageWithReturn:
      if (!IsMember<CJumpMovie>(~jump)) return;
      break;
    case 8:
    case 9:
      if (!jump) return;
      break;
    default:
      break;
  }
  kind = newKind;
}

SmartRef<Persistent> CLink::GetHref(int) {
  if (href) return href;
  CJumpMovie* page = GetJumpAsMovie();
  if (page == nullptr) return nullptr;
  FileReference* file = page->GetFile();
  if (!file->HasPath()) return nullptr;
  String pageName;
  file->GetBaseNameAndType(pageName);
  return MakePageAddress(pageName);
}

void CLink::SetHref(SmartRef<Persistent> address) {
  href = std::move(address);
  jump = nullptr;
  movieJump = nullptr;
  kind = kWebAddress;
}

std::int16_t CLink::ResolveFrame(CFrameIndex& index) {
  if (!IsMember<CJumpFrame>(~jump)) return CFrameIndex::kNoFrame;
  return index.ResolveJump(&jump);
}

void CLink::RemapFrames(CFrameIndex* other, CFrameIndex& index) {
  if (IsMember<CJumpFrame>(~jump)) index.RebindJump(other, &jump);
}

bool CLink::Locate() {
  CJumpMovie* page = GetJumpAsMovie();
  return page != nullptr && page->Locate();
}
