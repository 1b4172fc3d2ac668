#include "platform/kernel/Errors.h"

#include <cerrno>

namespace {
// The program runs its interface on one thread, but helpers (audio callbacks) must not disturb its code.
thread_local DWORD tLastError = ERROR_SUCCESS;
}  // namespace

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD code) { tLastError = code; }

namespace platform {

// Every errno a file, folder or lock call can answer has a system error of the same meaning, so that the
// user reads what went wrong ("disk full", "access denied") and never an error number that says nothing.
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
    // A file-size limit stops a save exactly as a full disk does, and the user can act on it the same way.
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ERROR_DISK_FULL;
    case EOVERFLOW: return ERROR_FILE_TOO_LARGE;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EMLINK: return ERROR_TOO_MANY_LINKS;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EBUSY: return ERROR_BUSY;
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    case ENOLCK: return ERROR_LOCK_VIOLATION;
    case EDEADLK: return ERROR_POSSIBLE_DEADLOCK;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ESPIPE: return ERROR_SEEK_ON_DEVICE;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case ENOSYS: return ERROR_NOT_SUPPORTED;
    case EILSEQ: return ERROR_INVALID_NAME;
    case EIO: return ERROR_IO_DEVICE;
    case ENXIO:
    case ENODEV: return ERROR_NOT_READY;
    case ENOMEDIUM: return ERROR_NOT_READY;
    case EFAULT: return ERROR_INVALID_PARAMETER;
    case ERANGE: return ERROR_INSUFFICIENT_BUFFER;
    case ENODATA: return ERROR_NOT_FOUND;
    case EINTR:
    case ECANCELED: return ERROR_OPERATION_ABORTED;
    case ETIMEDOUT: return ERROR_SEM_TIMEOUT;
    // A shared folder whose server went away or changed the file under us.
    case ESTALE:
    case ENOLINK:
    case EREMOTEIO:
    case ECOMM:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ECONNRESET:
    case ECONNABORTED:
    case ENOTCONN: return ERROR_UNEXP_NET_ERR;
    default: return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno() { SetLastError(ErrorFromErrno(errno)); }

}  // namespace platform
