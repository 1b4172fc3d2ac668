// The last-error code of the calling thread, with the system's error numbers.
#pragma once

#include "platform/kernel/WinTypes.h"

// The error numbers the program tests for or reports, with their system values.
enum : DWORD {
  ERROR_SUCCESS = 0,
  ERROR_INVALID_FUNCTION = 1,
  ERROR_FILE_NOT_FOUND = 2,
  ERROR_PATH_NOT_FOUND = 3,
  ERROR_TOO_MANY_OPEN_FILES = 4,
  ERROR_ACCESS_DENIED = 5,
  ERROR_INVALID_HANDLE = 6,
  ERROR_NOT_ENOUGH_MEMORY = 8,
  ERROR_OUTOFMEMORY = 14,
  ERROR_NO_MORE_FILES = 18,
  ERROR_WRITE_PROTECT = 19,
  ERROR_NOT_READY = 21,
  ERROR_SHARING_VIOLATION = 32,
  ERROR_LOCK_VIOLATION = 33,
  ERROR_HANDLE_EOF = 38,
  ERROR_NOT_SUPPORTED = 50,
  ERROR_FILE_EXISTS = 80,
  ERROR_INVALID_PARAMETER = 87,
  ERROR_BROKEN_PIPE = 109,
  ERROR_NEGATIVE_SEEK = 131,
  ERROR_DISK_FULL = 112,
  ERROR_INSUFFICIENT_BUFFER = 122,
  ERROR_INVALID_NAME = 123,
  ERROR_DIR_NOT_EMPTY = 145,
  ERROR_BUSY = 170,
  ERROR_ALREADY_EXISTS = 183,
  ERROR_FILENAME_EXCED_RANGE = 206,
  ERROR_DIRECTORY = 267,
  ERROR_NOT_FOUND = 1168,
  ERROR_INVALID_WINDOW_HANDLE = 1400,
  ERROR_CANNOT_FIND_WND_CLASS = 1407,
  ERROR_CLASS_ALREADY_EXISTS = 1410,
  ERROR_CLASS_DOES_NOT_EXIST = 1411,
  ERROR_CLASS_HAS_WINDOWS = 1412,
  ERROR_INVALID_INDEX = 1413,
  ERROR_CONTROL_ID_NOT_FOUND = 1421,
  ERROR_NO_SCROLLBARS = 1447,
  ERROR_INVALID_SCROLLBAR_RANGE = 1448,
  ERROR_RESOURCE_NAME_NOT_FOUND = 1814,
  ERROR_CANCELLED = 1223,
};

DWORD GetLastError();
void SetLastError(DWORD code);

namespace platform {
// The system error number that stands for a POSIX errno value; used at every system-call boundary.
DWORD ErrorFromErrno(int err);
// Sets the last-error code from the current errno.
void SetLastErrorFromErrno();
}  // namespace platform
