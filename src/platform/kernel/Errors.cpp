#include "platform/kernel/Errors.h"

#include <cerrno>

namespace {
// The program runs its interface on one thread, but helpers (audio callbacks) must not disturb its code.
thread_local DWORD tLastError = ERROR_SUCCESS;
}  // namespace

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD code) { tLastError = code; }

namespace platform {

DWORD ErrorFromErrno(int err) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EBUSY: return ERROR_BUSY;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case EILSEQ: return ERROR_INVALID_NAME;
    default: return ERROR_INVALID_FUNCTION;
  }
}

void SetLastErrorFromErrno() { SetLastError(ErrorFromErrno(errno)); }

}  // namespace platform
