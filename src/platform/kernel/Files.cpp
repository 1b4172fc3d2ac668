#include "platform/kernel/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileTimes.h"

namespace {

// Kernel objects behind handles: the handle is the object's address, checked against the live table.
struct KernelObject {
  virtual ~KernelObject() = default;
};

struct OpenFile final : KernelObject {
  int fd;
  DWORD access;
  std::string path;  // as opened, for the call log
  OpenFile(int fd, DWORD access, std::string path) : fd(fd), access(access), path(std::move(path)) {}
  ~OpenFile() override {
    if (fd >= 0) close(fd);
  }
};

struct Search final : KernelObject {
  std::vector<WIN32_FIND_DATAA> entries;
  std::size_t next = 0;
};

std::mutex gHandlesLock;
// Never destroyed: objects released at exit (documents, previews) still close their files then, whatever
// the order in which the program's static objects go.
std::unordered_map<HANDLE, std::unique_ptr<KernelObject>>& Handles() {
  static auto& handles = *new std::unordered_map<HANDLE, std::unique_ptr<KernelObject>>;
  return handles;
}

HANDLE AddHandle(std::unique_ptr<KernelObject> object) {
  std::lock_guard guard(gHandlesLock);
  HANDLE handle = object.get();
  Handles().emplace(handle, std::move(object));
  return handle;
}

template <class T>
T* FromHandle(HANDLE handle) {
  std::lock_guard guard(gHandlesLock);
  const auto found = Handles().find(handle);
  T* object = found == Handles().end() ? nullptr : dynamic_cast<T*>(found->second.get());
  if (object == nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

std::atomic<platform::FileCallObserver> gObserver{nullptr};
std::atomic<int> gFailingCloseErrno{0};

void Tell(const char* call, const std::string& posix) {
  if (const platform::FileCallObserver observer = gObserver.load()) observer(call, posix);
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

BOOL FailFromErrno() {
  platform::SetLastErrorFromErrno();
  return FALSE;
}

// Sharing is kept as open-file-description locks on four bytes far beyond any content: each open holds
// a shared lock on the bytes that say what it has (read, write access) and what it refuses to share.
// Such locks belong to the open, not the process, so two opens in one process see each other, and they
// vanish with the open, also when a process dies.
enum ShareSlot : off_t { kHasRead, kHasWrite, kDeniesRead, kDeniesWrite };
constexpr off_t kShareLockBase = LLONG_MAX - 8;

struct flock ShareLock(short type, ShareSlot slot) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kShareLockBase + slot;
  lock.l_len = 1;
  return lock;
}

bool OtherOpenHolds(int fd, ShareSlot slot) {
  struct flock lock = ShareLock(F_WRLCK, slot);
  return fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

bool Hold(int fd, ShareSlot slot) {
  struct flock lock = ShareLock(F_RDLCK, slot);
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Checks and takes the sharing of a new open. The whole-file flock serialises the check and the taking
// against other opens doing the same.
bool TakeSharing(int fd, DWORD access, DWORD share) {
  const bool reads = access & GENERIC_READ, writes = access & GENERIC_WRITE;
  if (!reads && !writes) return true;
  while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  const bool conflict = (reads && OtherOpenHolds(fd, kDeniesRead)) || (writes && OtherOpenHolds(fd, kDeniesWrite)) ||
                        (!(share & FILE_SHARE_READ) && OtherOpenHolds(fd, kHasRead)) ||
                        (!(share & FILE_SHARE_WRITE) && OtherOpenHolds(fd, kHasWrite));
  bool taken = !conflict;
  if (taken && reads) taken = Hold(fd, kHasRead);
  if (taken && writes) taken = Hold(fd, kHasWrite);
  if (taken && !(share & FILE_SHARE_READ)) taken = Hold(fd, kDeniesRead);
  if (taken && !(share & FILE_SHARE_WRITE)) taken = Hold(fd, kDeniesWrite);
  flock(fd, LOCK_UN);
  return taken;
}

bool ParentExists(const std::string& posix) {
  const std::size_t slash = posix.find_last_of('/');
  if (slash == std::string::npos) return true;
  struct stat info {};
  return stat(slash == 0 ? "/" : posix.substr(0, slash).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// ENOENT says "file not found" when the folder exists, "path not found" when it does not.
void SetNotFound(const std::string& posix) {
  SetLastError(ParentExists(posix) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
}

bool IsReadOnly(const struct stat& info) { return !S_ISDIR(info.st_mode) && (info.st_mode & 0222) == 0; }

// The hidden and system bits set on an item, kept in an extended attribute; on a file system without
// them (older tmpfs), in memory for the run, by device and inode.
constexpr const char* kAttributeName = "user.quillory.attributes";
constexpr DWORD kStoredBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::mutex gBitsLock;
std::map<std::pair<dev_t, ino_t>, unsigned char>& BitsInMemory() {
  static auto& bits = *new std::map<std::pair<dev_t, ino_t>, unsigned char>;  // outlives exit, as Handles
  return bits;
}

bool NoExtendedAttributes() { return errno == ENOTSUP || errno == EOPNOTSUPP; }

DWORD StoredBits(const std::string& posix, const struct stat& info) {
  unsigned char bits = 0;
  if (getxattr(posix.c_str(), kAttributeName, &bits, 1) == 1) return bits & kStoredBits;
  if (!NoExtendedAttributes()) return 0;
  std::lock_guard guard(gBitsLock);
  const auto found = BitsInMemory().find({info.st_dev, info.st_ino});
  return found == BitsInMemory().end() ? 0 : (found->second & kStoredBits);
}

bool StoreBits(const std::string& posix, const struct stat& info, unsigned char bits) {
  const int result =
      bits == 0 ? removexattr(posix.c_str(), kAttributeName) : setxattr(posix.c_str(), kAttributeName, &bits, 1, 0);
  if (result == 0 || (bits == 0 && errno == ENODATA)) return true;
  if (!NoExtendedAttributes()) return false;
  std::lock_guard guard(gBitsLock);
  BitsInMemory()[{info.st_dev, info.st_ino}] = bits;
  return true;
}

DWORD AttributesOf(const std::string& posix, const struct stat& info) {
  DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (IsReadOnly(info)) attributes |= FILE_ATTRIBUTE_READONLY;
  const std::size_t slash = posix.find_last_of('/');
  const std::string_view name =
      slash == std::string::npos ? std::string_view(posix) : std::string_view(posix).substr(slash + 1);
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes | StoredBits(posix, info);
}

void SplitSize(std::uint64_t size, DWORD* high, DWORD* low) {
  *high = static_cast<DWORD>(size >> 32);
  *low = static_cast<DWORD>(size & 0xFFFFFFFFu);
}

FILETIME TimeOf(const timespec& time) { return platform::FileTimeFromUnix(time.tv_sec, time.tv_nsec); }

// A file made from a template takes its permissions and its hidden and system bits, so that a document
// saved through a new file stays as private as it was.
bool TakeAttributes(const OpenFile& made, HANDLE templateFile) {
  const OpenFile* model = FromHandle<OpenFile>(templateFile);
  struct stat info {};
  if (model == nullptr) return false;
  if (fstat(model->fd, &info) != 0 || fchmod(made.fd, info.st_mode & 07777) != 0) {
    platform::SetLastErrorFromErrno();
    return false;
  }
  struct stat own {};
  const DWORD bits = StoredBits(model->path, info);
  if (bits != 0 && (fstat(made.fd, &own) != 0 || !StoreBits(made.path, own, static_cast<unsigned char>(bits)))) {
    platform::SetLastErrorFromErrno();
    return false;
  }
  return true;
}

std::string FolderOf(const std::string& posix) {
  const std::size_t slash = posix.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : posix.substr(0, slash);
}

bool FlushFolder(const std::string& folder) {
  Tell("flush folder", folder);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return FailFromErrno();
  const bool flushed = fsync(fd) == 0;
  if (!flushed) platform::SetLastErrorFromErrno();
  close(fd);
  return flushed;
}

}  // namespace

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES*, DWORD disposition, DWORD,
                   HANDLE templateFile) {
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
      (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return INVALID_HANDLE_VALUE;
  const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  const int flags = O_CLOEXEC | ((access & GENERIC_WRITE) || truncates ? O_RDWR : O_RDONLY);
  const bool mayCreate = disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;

  Tell("open", posix);
  bool existed = true;
  int fd = -1;
  for (int attempt = 0; attempt < 2 && fd < 0; ++attempt) {
    fd = open(posix.c_str(), flags);
    if (fd >= 0 || errno != ENOENT || !mayCreate) break;
    fd = open(posix.c_str(), flags | O_CREAT | O_EXCL, 0666);
    existed = fd < 0;
    if (fd < 0 && errno != EEXIST) break;  // else another open made it meanwhile: open that one
  }
  if (fd < 0) {
    if (errno == ENOENT) {
      SetNotFound(posix);
    } else if (errno == EISDIR) {
      SetLastError(ERROR_ACCESS_DENIED);
    } else {
      platform::SetLastErrorFromErrno();
    }
    return INVALID_HANDLE_VALUE;
  }
  auto file = std::make_unique<OpenFile>(fd, access & (GENERIC_READ | GENERIC_WRITE), posix);
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    platform::SetLastErrorFromErrno();
    return INVALID_HANDLE_VALUE;
  }
  if (existed && disposition == CREATE_NEW) {
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
  }
  if (S_ISDIR(info.st_mode) || (existed && ((access & GENERIC_WRITE) || truncates) && IsReadOnly(info))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if (!TakeSharing(fd, file->access, shareMode)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;
  }
  if (existed && truncates && ftruncate(fd, 0) != 0) {
    platform::SetLastErrorFromErrno();
    return INVALID_HANDLE_VALUE;
  }
  if (!existed && templateFile != nullptr && templateFile != INVALID_HANDLE_VALUE && !TakeAttributes(*file, templateFile)) {
    unlink(posix.c_str());
    return INVALID_HANDLE_VALUE;
  }
  if (mayCreate) SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return AddHandle(std::move(file));
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD count, DWORD* read, LPVOID) {
  if (read) *read = 0;
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return FALSE;
  if (!(file->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  while (done < count) {
    const ssize_t got = ::read(file->fd, static_cast<char*>(buffer) + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FailFromErrno();
    if (got == 0) break;
    done += static_cast<DWORD>(got);
  }
  if (read) *read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, DWORD* written, LPVOID) {
  if (written) *written = 0;
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return FALSE;
  if (!(file->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  Tell("write", file->path);
  DWORD done = 0;
  while (done < count) {
    const ssize_t put = ::write(file->fd, static_cast<const char*>(buffer) + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      if (written) *written = done;
      return FailFromErrno();
    }
    done += static_cast<DWORD>(put);
  }
  if (written) *written = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return INVALID_SET_FILE_POINTER;
  const std::int64_t move =
      distanceHigh ? static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*distanceHigh)) << 32) |
                                               static_cast<DWORD>(distance))
                   : std::int64_t{distance};
  off_t base = 0;
  if (method == FILE_CURRENT) {
    base = lseek(file->fd, 0, SEEK_CUR);
  } else if (method == FILE_END) {
    struct stat info {};
    base = fstat(file->fd, &info) == 0 ? info.st_size : -1;
  } else if (method != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (base < 0) {
    platform::SetLastErrorFromErrno();
    return INVALID_SET_FILE_POINTER;
  }
  if ((move < 0 && base + move < 0) || (move > 0 && base > LLONG_MAX - move)) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  const off_t target = lseek(file->fd, base + move, SEEK_SET);
  if (target < 0) {
    platform::SetLastErrorFromErrno();
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(target) >> 32);
  // A low half equal to INVALID_SET_FILE_POINTER is no failure; the last error tells.
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(static_cast<std::uint64_t>(target) & 0xFFFFFFFFu);
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
  OpenFile* file = FromHandle<OpenFile>(handle);
  struct stat info {};
  if (file == nullptr || fstat(file->fd, &info) != 0) {
    if (file) platform::SetLastErrorFromErrno();
    return INVALID_FILE_SIZE;
  }
  DWORD high = 0, low = 0;
  SplitSize(static_cast<std::uint64_t>(info.st_size), &high, &low);
  if (sizeHigh) *sizeHigh = high;
  SetLastError(ERROR_SUCCESS);
  return low;
}

BOOL SetEndOfFile(HANDLE handle) {
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return FALSE;
  if (!(file->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const off_t position = lseek(file->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(file->fd, position) != 0) return FailFromErrno();
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return FALSE;
  Tell("flush", file->path);
  return fsync(file->fd) == 0 ? TRUE : FailFromErrno();
}

BOOL GetFileInformationByHandle(HANDLE handle, BY_HANDLE_FILE_INFORMATION* information) {
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return FALSE;
  struct stat info {};
  if (fstat(file->fd, &info) != 0) return FailFromErrno();
  std::memset(information, 0, sizeof *information);
  information->dwFileAttributes =
      IsReadOnly(info) ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_ARCHIVE;
  information->ftCreationTime = TimeOf(info.st_mtim);
  information->ftLastAccessTime = TimeOf(info.st_atim);
  information->ftLastWriteTime = TimeOf(info.st_mtim);
  information->dwVolumeSerialNumber = static_cast<DWORD>(info.st_dev);
  SplitSize(static_cast<std::uint64_t>(info.st_size), &information->nFileSizeHigh, &information->nFileSizeLow);
  information->nNumberOfLinks = static_cast<DWORD>(info.st_nlink);
  SplitSize(static_cast<std::uint64_t>(info.st_ino), &information->nFileIndexHigh, &information->nFileIndexLow);
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  std::unique_ptr<KernelObject> object;
  {
    std::lock_guard guard(gHandlesLock);
    const auto found = Handles().find(handle);
    if (found == Handles().end()) return Fail(ERROR_INVALID_HANDLE);
    object = std::move(found->second);
    Handles().erase(found);
  }
  auto* file = dynamic_cast<OpenFile*>(object.get());
  if (file == nullptr) return TRUE;
  // A file system may report only when the file is closed that its last bytes could not be stored (a
  // full disk on a shared folder, a quota): the close answers that failure.
  Tell("close", file->path);
  int result = close(file->fd);
  file->fd = -1;
  if (const int injected = gFailingCloseErrno.exchange(0); injected != 0) {
    errno = injected;
    result = -1;
  }
  return result == 0 ? TRUE : FailFromErrno();
}

DWORD GetFileAttributesA(LPCSTR path) {
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return INVALID_FILE_ATTRIBUTES;
  struct stat info {};
  if (stat(posix.c_str(), &info) != 0) {
    if (errno == ENOENT) {
      SetNotFound(posix);
    } else {
      platform::SetLastErrorFromErrno();
    }
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(posix, info);
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return FALSE;
  struct stat info {};
  if (stat(posix.c_str(), &info) != 0) return FailFromErrno();
  if (!S_ISDIR(info.st_mode)) {
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (info.st_mode & ~0222) : (info.st_mode | S_IWUSR);
    if (chmod(posix.c_str(), mode & 07777) != 0) return FailFromErrno();
  }
  return StoreBits(posix, info, static_cast<unsigned char>(attributes & kStoredBits)) ? TRUE : FailFromErrno();
}

BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES*) {
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return FALSE;
  if (mkdir(posix.c_str(), 0777) == 0) return TRUE;
  if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
  return FailFromErrno();
}

BOOL RemoveDirectoryA(LPCSTR path) {
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return FALSE;
  if (rmdir(posix.c_str()) == 0) return TRUE;
  if (errno == ENOTDIR) return Fail(ERROR_DIRECTORY);
  if (errno == ENOENT) {
    SetNotFound(posix);
    return FALSE;
  }
  return FailFromErrno();
}

BOOL DeleteFileA(LPCSTR path) {
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return FALSE;
  struct stat info {};
  if (stat(posix.c_str(), &info) != 0) {
    if (errno != ENOENT) return FailFromErrno();
    SetNotFound(posix);
    return FALSE;
  }
  if (S_ISDIR(info.st_mode) || IsReadOnly(info)) return Fail(ERROR_ACCESS_DENIED);
  // A file that some open holds for reading or writing cannot be deleted, as none of the program's opens
  // shares deleting.
  const int probe = open(posix.c_str(), O_RDONLY | O_CLOEXEC);
  if (probe >= 0) {
    const bool held = OtherOpenHolds(probe, kHasRead) || OtherOpenHolds(probe, kHasWrite);
    close(probe);
    if (held) return Fail(ERROR_SHARING_VIOLATION);
  }
  return unlink(posix.c_str()) == 0 ? TRUE : FailFromErrno();
}

BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
  std::string from, to;
  if (!platform::ToPosixPath(existing, &from) || !platform::ToPosixPath(target, &to)) return FALSE;
  struct stat source {};
  if (stat(from.c_str(), &source) != 0) return FailFromErrno();
  struct stat present {};
  if (stat(to.c_str(), &present) == 0) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(present.st_mode) || IsReadOnly(present)) return Fail(ERROR_ACCESS_DENIED);
  }
  Tell("rename", to);
  if (rename(from.c_str(), to.c_str()) != 0) return FailFromErrno();
  if (!(flags & MOVEFILE_WRITE_THROUGH)) return TRUE;
  // The rename is on the disk once the folders holding the old and the new name are.
  const std::string toFolder = FolderOf(to), fromFolder = FolderOf(from);
  if (!FlushFolder(toFolder)) return FALSE;
  return fromFolder == toFolder || FlushFolder(fromFolder) ? TRUE : FALSE;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  std::vector<char> posix(PATH_MAX);
  if (getcwd(posix.data(), posix.size()) == nullptr) {
    platform::SetLastErrorFromErrno();
    return 0;
  }
  const std::string path = platform::ToWindowsPath(posix.data());
  if (buffer == nullptr || size <= path.size()) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  std::string posix;
  if (!platform::ToPosixPath(path, &posix)) return FALSE;
  if (chdir(posix.c_str()) == 0) return TRUE;
  if (errno == ENOTDIR) return Fail(ERROR_DIRECTORY);
  if (errno == ENOENT) {
    SetNotFound(posix);
    return FALSE;
  }
  return FailFromErrno();
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
  if (pattern == nullptr || *pattern == '\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::string_view whole(pattern);
  const std::size_t separator = whole.find_last_of("\\/");
  std::string folder;
  if (separator == std::string_view::npos) {
    folder = ".";
  } else if (!platform::ToPosixPath(std::string(whole.substr(0, separator + 1)).c_str(), &folder)) {
    return INVALID_HANDLE_VALUE;
  }
  std::string_view namePattern = separator == std::string_view::npos ? whole : whole.substr(separator + 1);
  if (namePattern.find_first_of("*?") == std::string_view::npos)
    while (!namePattern.empty() && (namePattern.back() == '.' || namePattern.back() == ' '))
      namePattern.remove_suffix(1);

  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : platform::ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<Search>();
  const bool isRoot = folder == "/";
  while (dirent* entry = readdir(dir)) {
    const std::string_view posixName(entry->d_name);
    if (isRoot && (posixName == "." || posixName == "..")) continue;
    const std::string name = platform::ToWindowsName(posixName);
    if (name.size() >= MAX_PATH || !platform::MatchesPattern(name, namePattern)) continue;
    const std::string full = folder + (folder.back() == '/' ? "" : "/") + std::string(posixName);
    struct stat info {};
    if (stat(full.c_str(), &info) != 0) continue;  // a dangling link
    WIN32_FIND_DATAA found{};
    found.dwFileAttributes = AttributesOf(full, info);
    found.ftCreationTime = TimeOf(info.st_mtim);
    found.ftLastAccessTime = TimeOf(info.st_atim);
    found.ftLastWriteTime = TimeOf(info.st_mtim);
    if (!S_ISDIR(info.st_mode))
      SplitSize(static_cast<std::uint64_t>(info.st_size), &found.nFileSizeHigh, &found.nFileSizeLow);
    std::memcpy(found.cFileName, name.c_str(), name.size() + 1);
    search->entries.push_back(found);
  }
  closedir(dir);
  if (search->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // In name order, as the system's own file system lists a folder.
  std::sort(search->entries.begin(), search->entries.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    for (std::size_t i = 0;; ++i) {
      const auto x = platform::LowerCp1252(static_cast<unsigned char>(a.cFileName[i]));
      const auto y = platform::LowerCp1252(static_cast<unsigned char>(b.cFileName[i]));
      if (x != y || x == 0) return x < y;
    }
  });
  *data = search->entries[0];
  search->next = 1;
  return AddHandle(std::move(search));
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* data) {
  Search* search = FromHandle<Search>(handle);
  if (search == nullptr) return FALSE;
  if (search->next >= search->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  *data = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  if (FromHandle<Search>(handle) == nullptr) return FALSE;
  return CloseHandle(handle);
}

DWORD GetFinalPathNameByHandleA(HANDLE handle, LPSTR buffer, DWORD size, DWORD) {
  OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return 0;
  struct stat info {};
  if (fstat(file->fd, &info) != 0) return FailFromErrno();
  // A file deleted while open has no path left to give.
  if (info.st_nlink == 0) return Fail(ERROR_FILE_NOT_FOUND);
  std::vector<char> posix(PATH_MAX + 1);
  const std::string link = "/proc/self/fd/" + std::to_string(file->fd);
  const ssize_t length = readlink(link.c_str(), posix.data(), PATH_MAX);
  if (length < 0) {
    platform::SetLastErrorFromErrno();
    return 0;
  }
  const std::string path = platform::ToWindowsPath(std::string(posix.data(), static_cast<std::size_t>(length)));
  if (buffer == nullptr || size <= path.size()) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

namespace platform {

void SetFileCallObserver(FileCallObserver observer) { gObserver = observer; }

void FailNextClose(int err) { gFailingCloseErrno = err; }

BOOL RestrictToOwner(HANDLE handle) {
  const OpenFile* file = FromHandle<OpenFile>(handle);
  if (file == nullptr) return FALSE;
  return fchmod(file->fd, S_IRUSR | S_IWUSR) == 0 ? TRUE : FailFromErrno();
}

}  // namespace platform
