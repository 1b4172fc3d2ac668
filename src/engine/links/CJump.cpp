#include "engine/links/CJump.h"

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "engine/Storage.h"

SMART_DEFINE(CJump, "CJump", nullptr, nullptr, Persistent, SmartImplementation)
SMART_DEFINE(CJumpFrame, "CJumpFrame", &CreateDefault<CJumpFrame>, nullptr, CJump)
SMART_DEFINE(CJumpMovie, "CJumpMovie", nullptr, nullptr, CJump)

const PersistentType CJump::persistentType(&CJump::classInfo, MakeVersion(1), MakeVersion(2), &CJump::ReadNew);
// Version 2.1 stores the label and the frame; blocks of 2.0 and older are empty.
const PersistentType CJumpFrame::persistentType(&CJumpFrame::classInfo, MakeVersion(1), MakeVersion(2, 1),
                                                &CJumpFrame::ReadNew);
const PersistentType CJumpMovie::persistentType(&CJumpMovie::classInfo, MakeVersion(1), MakeVersion(2),
                                                &CJumpMovie::ReadNew);

namespace {
// Documents record jumps at these class indexes.
[[maybe_unused]] const bool gJumpsRegistered = [] {
  RegisterGenericType(9, &CJumpFrame::persistentType);
  RegisterGenericType(10, &CJumpMovie::persistentType);
  RegisterGenericType(22, &CJump::persistentType);
  return true;
}();
}  // namespace

Persistent* CJump::ReadNew(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  NOT_IMPLEMENTED();
  // Closed before the object is made: closing a damaged block fails, and nothing may be left unowned.
  block.Close();
  return new CJump();
}

void CJump::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  NOT_IMPLEMENTED();
}

CJumpFrame::CJumpFrame(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  if (block.GetVersion() < MakeVersion(2, 1)) {
    // Older programs kept neither label nor frame: the mark is still there, unnamed on frame 0.
    block.GetArchive()->NoteObsolete();
    return;
  }
  ArchiveBlock labelBlock(block, &String::persistentType);
  label = String(labelBlock);
  labelBlock.Close();
  SetFrame(block.GetStream()->ReadShort());
}

Persistent* CJumpFrame::ReadNew(Archive* archive) { return ReadFromBlock<CJumpFrame>(archive, &persistentType); }

// The label and the frame are the block's last bytes, so that a program that knows only empty blocks
// passes over them.
void CJumpFrame::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  label.Write(block.GetArchive());
  block.GetStream()->WriteShort(frame);
}

CJumpMovie::CJumpMovie(const FileReference& target) : file(new FileReference(target)) {}

CJumpMovie::CJumpMovie(ArchiveBlock& block) { file = CastSmart<FileReference>(block.GetArchive()->ReadObject()); }

Persistent* CJumpMovie::ReadNew(Archive* archive) { return ReadFromBlock<CJumpMovie>(archive, &persistentType); }

void CJumpMovie::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WritePersistent(block, ~file);
}

FileReference* CJumpMovie::GetFile() {
  if (file) return ~file;
  try {
    file = new FileReference(FileReference::OpenDialog{}, MakeDocumentFileType());
  } catch (Exception* failure) {
    const SmartRef<Exception> held = failure;
    if (!IsMember<UserCancelException>(failure)) throw;
    file = new FileReference();
  }
  return ~file;
}

bool CJumpMovie::Locate() {
  if (!file) return false;
  try {
    String name;
    file->GetName(name);
  } catch (Exception* failure) {
    const SmartRef<Exception> held = failure;
    return IsMember<UserCancelException>(failure);
  }
  return false;
}
