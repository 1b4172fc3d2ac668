#include "core/FileSaveTarget.h"

#include "core/Exception.h"
#include "core/FileReference.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"

FileSaveTarget::FileSaveTarget(File& document) : document(document) {
  FileReference* reference = CHECK_NOT_NULL(document.GetFileReference());
  documentPath = CHECK_NOT_NULL(reference->GetPathText());
  // The replacement sits in the document's folder, so that putting it in place is a rename on one disk.
  replacementPath = documentPath + "~";
  if (replacementPath.size() > MAX_PATH - 1) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    CHECK_CALL(false);
  }
}

SmartRef<Stream> FileSaveTarget::OpenReplacement() {
  // A replacement left by an earlier save that was cut short is ours to overwrite.
  const HANDLE created = CreateFileA(replacementPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  CHECK_CALL(created != INVALID_HANDLE_VALUE);
  CloseHandle(created);
  ClearLastError();  // CREATE_ALWAYS over an old replacement leaves ERROR_ALREADY_EXISTS behind
  FileReference reference(replacementPath.c_str());
  SmartRef<File> replacement(new File(&reference, kFileModeRead | kFileModeWrite));
  CHECK_CALL(replacement->IsOpen());
  return SmartRef<Stream>(~replacement);
}

SmartRef<Stream> FileSaveTarget::Commit(SmartRef<Stream> replacement) {
  File* written = CastSmart<File>(~replacement);
  ASSERT(written != nullptr);
  try {
    written->Close();  // the last bytes reach the disk here, or the failure is known
  } catch (...) {
    Discard(replacement);
    throw;
  }
  // The document stays open until the new version is in its place, so that a failed rename leaves the
  // caller with the document it had.
  if (!MoveFileExA(replacementPath.c_str(), documentPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD failure = GetLastError();
    DeleteFileA(replacementPath.c_str());
    SetLastError(failure);
    CHECK_CALL(false);
  }
  const int mode = document.GetMode();
  try {
    document.Close();
  } catch (Exception*) {
    // The old version is no longer the document: nothing of it needs to reach the disk.
  }
  FileReference reference(documentPath.c_str());
  SmartRef<File> reopened(new File(&reference, mode));
  CHECK_CALL(reopened->IsOpen());
  return SmartRef<Stream>(~reopened);
}

void FileSaveTarget::Discard(SmartRef<Stream> replacement) noexcept {
  if (File* written = CastSmart<File>(~replacement)) {
    try {
      written->Close();
    } catch (Exception*) {
      // The replacement is being thrown away; what failed while closing it no longer matters.
    }
  }
  DeleteFileA(replacementPath.c_str());
  ClearLastError();
}
