#include "core/FileSaveTarget.h"

#include <string>

#include "core/Exception.h"
#include "core/FileReference.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"

namespace {

// Names beside the document tried for its replacement: "name~", then "name~1" to "name~99".
constexpr int kReplacementNames = 100;

[[noreturn]] void FailWith(DWORD error, int line) { check_detail::Fail("Call failed.", error, __FILE__, line); }

// The file a document stands for. Through a symbolic link that is the file the link points at: the new
// version is put in its place, so that the link stays and leads to it.
std::string FinalPathOf(File& document, const std::string& fallback) {
  char path[MAX_PATH];
  const DWORD length = GetFinalPathNameByHandleA(document.GetOSHandle(), path, MAX_PATH, 0);
  ClearLastError();
  return length > 0 && length < MAX_PATH ? std::string(path, length) : fallback;
}

}  // namespace

FileSaveTarget::FileSaveTarget(File& document) : document(document) {
  FileReference* reference = CHECK_NOT_NULL(document.GetFileReference());
  referencePath = CHECK_NOT_NULL(reference->GetPathText());
  documentPath = FinalPathOf(document, referencePath);
}

SmartRef<Stream> FileSaveTarget::OpenReplacement() {
  // A read-only document cannot be replaced: that is known before anything is written.
  const DWORD attributes = GetFileAttributesA(documentPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) FailWith(ERROR_ACCESS_DENIED, __LINE__);
  ClearLastError();
  // The replacement sits in the document's folder, so that putting it in place is a rename on one disk.
  // Its name is taken only when free: a file of that name may be the user's own.
  for (int n = 0; n < kReplacementNames; ++n) {
    const std::string candidate = documentPath + "~" + (n == 0 ? std::string() : std::to_string(n));
    if (candidate.size() > MAX_PATH - 1) FailWith(ERROR_FILENAME_EXCED_RANGE, __LINE__);
    // The document's handle is the template: the new version keeps its permissions.
    const HANDLE created = CreateFileA(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, document.GetOSHandle());
    if (created == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
      CHECK_CALL(false);
    }
    replacementPath = candidate;
    if (!CloseHandle(created)) {
      const DWORD failure = GetLastError();
      DeleteFileA(replacementPath.c_str());
      FailWith(failure, __LINE__);
    }
    FileReference reference(replacementPath.c_str());
    SmartRef<File> replacement(new File(&reference, kFileModeRead | kFileModeWrite));
    if (!replacement->IsOpen()) {
      const DWORD failure = GetLastError();
      DeleteFileA(replacementPath.c_str());
      FailWith(failure != ERROR_SUCCESS ? failure : ERROR_FILE_NOT_FOUND, __LINE__);
    }
    return SmartRef<Stream>(~replacement);
  }
  FailWith(ERROR_FILE_EXISTS, __LINE__);
}

SmartRef<Stream> FileSaveTarget::Commit(SmartRef<Stream> replacement) {
  File* written = CastSmart<File>(~replacement);
  ASSERT(written != nullptr);
  try {
    // The new version is on the disk before it takes the document's place: after a power cut the name
    // holds one whole version, the old or the new. A failed close is a failed save.
    written->Flush();
    CHECK_CALL(FlushFileBuffers(written->GetOSHandle()));
    written->Close();
  } catch (...) {
    Discard(replacement);
    throw;
  }
  // The document stays open until the new version is in its place, so that a failed rename leaves the
  // caller with the document it had.
  if (!MoveFileExA(replacementPath.c_str(), documentPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD failure = GetLastError();
    DeleteFileA(replacementPath.c_str());
    FailWith(failure, __LINE__);
  }
  // Whatever took the replacement's reference while it was written (a page remembers the file it was
  // saved in) now names the document.
  if (FileReference* writtenReference = written->GetFileReference()) writtenReference->SetPath(referencePath.c_str());
  const int mode = document.GetMode();
  try {
    document.Close();
  } catch (Exception*) {
    // The old version is no longer the document: nothing of it needs to reach the disk.
  }
  FileReference reference(referencePath.c_str());
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
  if (!replacementPath.empty() && !DeleteFileA(replacementPath.c_str()) && GetLastError() == ERROR_ACCESS_DENIED) {
    // Made read-only after the document it copies: it is still ours to remove.
    SetFileAttributesA(replacementPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(replacementPath.c_str());
  }
  ClearLastError();
}
