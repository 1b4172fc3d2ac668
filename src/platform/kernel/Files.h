// Files and folders, with Windows-form paths (see Paths.h) and the system's sharing rules.
#pragma once

#include "platform/kernel/Paths.h"
#include "platform/kernel/WinTypes.h"

enum : DWORD { GENERIC_READ = 0x80000000, GENERIC_WRITE = 0x40000000 };
enum : DWORD { FILE_SHARE_READ = 0x1, FILE_SHARE_WRITE = 0x2 };
enum : DWORD { CREATE_NEW = 1, CREATE_ALWAYS = 2, OPEN_EXISTING = 3, OPEN_ALWAYS = 4, TRUNCATE_EXISTING = 5 };
enum : DWORD {
  FILE_ATTRIBUTE_READONLY = 0x01,
  FILE_ATTRIBUTE_HIDDEN = 0x02,
  FILE_ATTRIBUTE_SYSTEM = 0x04,
  FILE_ATTRIBUTE_DIRECTORY = 0x10,
  FILE_ATTRIBUTE_ARCHIVE = 0x20,
  FILE_ATTRIBUTE_NORMAL = 0x80,
};
enum : DWORD { FILE_BEGIN = 0, FILE_CURRENT = 1, FILE_END = 2 };
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};

struct BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};

// Opens or creates a file. Sharing is enforced between every two opens, in one process or in two: an
// open asking read (write) access fails with ERROR_SHARING_VIOLATION while another open that did not share
// reading (writing) holds the file, and an open that does not share reading (writing) fails while another
// holds read (write) access. Opens with no access (0, to query) take part in no sharing. OPEN_ALWAYS and
// CREATE_ALWAYS on an existing file succeed with ERROR_ALREADY_EXISTS left behind. A folder cannot be
// opened (ERROR_ACCESS_DENIED), nor a read-only file for writing. A file created with a template (an open
// file) takes the template's permissions and attributes.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security, DWORD disposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
// Reads up to the count; fewer bytes at the end of the file, which is no error.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, DWORD* read, LPVOID overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, DWORD* written, LPVOID overlapped);
// Answers the new position's low half (its high half in *distanceHigh when given), or
// INVALID_SET_FILE_POINTER with the last error set; a position before the start is refused.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
// Cuts or extends the file at the current position.
BOOL SetEndOfFile(HANDLE file);
// Answers once the file's bytes are on the disk.
BOOL FlushFileBuffers(HANDLE file);
BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information);
// Closes a file or a search handle. The handle is gone either way; FALSE with the error when the system
// reports, on closing, that the file's bytes could not all be stored.
BOOL CloseHandle(HANDLE handle);
// The path of the open file as the system holds it, links resolved. Answers as GetCurrentDirectoryA.
DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR buffer, DWORD size, DWORD flags);

// INVALID_FILE_ATTRIBUTES with the last error set when the path does not exist. Names beginning with a
// dot are hidden, as on Linux; the hidden and system bits can also be set on any item.
DWORD GetFileAttributesA(LPCSTR path);
// Sets the read-only, hidden and system bits (the others are ignored).
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES* security);
BOOL RemoveDirectoryA(LPCSTR path);
// Refuses folders and read-only files (ERROR_ACCESS_DENIED).
BOOL DeleteFileA(LPCSTR path);
enum : DWORD { MOVEFILE_REPLACE_EXISTING = 0x1, MOVEFILE_WRITE_THROUGH = 0x8 };
// Renames a file, in one step: with MOVEFILE_REPLACE_EXISTING an existing target (not a folder, not
// read-only) is replaced, so that readers see either the old file or the new one, never a mixture. With
// MOVEFILE_WRITE_THROUGH it answers once the new name is on the disk. A target that is a symbolic link
// is itself replaced, not the file it points at.
BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags);

// Answers the length written, or the size needed (with the terminator) when the buffer is too small.
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR path);

// Searches a folder for the names matching the pattern of the path's last name ("*", "?"; letter case
// does not count; "*.*" matches every name). "." and ".." are found as in any folder but the root.
// ERROR_FILE_NOT_FOUND when nothing matches, ERROR_NO_MORE_FILES at the end of the search.
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);

namespace platform {
// Told of every call that changes what a disk holds ("open", "write", "flush", "close", "rename",
// "flush folder") with the system path concerned, before the call is made: tests follow the order of a
// save through it, and stop a process at a chosen point of one.
using FileCallObserver = void (*)(const char* call, const std::string& path);
void SetFileCallObserver(FileCallObserver observer);
// The next close of a file fails with this errno (after the file is closed), as on a disk that reports
// a failed write only then; for tests.
void FailNextClose(int err);
// Makes the open file readable and writable by its owner alone, as a file holding a password must be.
BOOL RestrictToOwner(HANDLE file);
}  // namespace platform
