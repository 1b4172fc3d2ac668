#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "support/TempFolder.h"

namespace {

HANDLE Open(const std::string& path, DWORD access, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE,
            DWORD disposition = OPEN_EXISTING) {
  return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(HANDLE file) {
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  EXPECT_TRUE(ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr));
  bytes.resize(read);
  return bytes;
}

TEST(Files, DispositionsCreateOpenAndRefuseAsTheSystemDoes) {
  TempFolder root;
  root.Write("old.txt", "contents");
  root.MakeFolder("dir");
  struct Case {
    const char* name;
    DWORD access;
    DWORD disposition;
    bool opens;
    DWORD error;        // left behind, also on success
    const char* bytes;  // the file's bytes afterwards, or null when it must not exist
  };
  const Case cases[] = {
      {"old.txt", GENERIC_READ, OPEN_EXISTING, true, 0, "contents"},
      {"OLD.TXT", GENERIC_READ, OPEN_EXISTING, true, 0, "contents"},
      {"old.txt", GENERIC_READ, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "contents"},
      {"old.txt", GENERIC_WRITE, CREATE_NEW, false, ERROR_FILE_EXISTS, "contents"},
      {"old.txt", GENERIC_WRITE, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
      {"new.txt", GENERIC_READ, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
      {"new.txt", GENERIC_READ, OPEN_ALWAYS, true, 0, ""},
      {"new2.txt", GENERIC_WRITE, CREATE_NEW, true, 0, ""},
      {"missing\\x.txt", GENERIC_READ, OPEN_ALWAYS, false, ERROR_PATH_NOT_FOUND, nullptr},
      {"dir", GENERIC_READ, OPEN_EXISTING, false, ERROR_ACCESS_DENIED, nullptr},
      {"a|b", GENERIC_READ, OPEN_ALWAYS, false, ERROR_INVALID_NAME, nullptr},
  };
  for (const auto& c : cases) {
    SetLastError(12345);
    HANDLE file = Open(root.WinPath(c.name), c.access, 3, c.disposition);
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << c.name << " " << c.disposition;
    if (c.error != 0 || !c.opens) {
      EXPECT_EQ(GetLastError(), c.error) << c.name << " " << c.disposition;
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (c.bytes) {
      std::string onDisk = c.name;
      for (char& ch : onDisk) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      EXPECT_EQ(root.Read(onDisk), c.bytes) << c.name;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(root.Path() / "missing"));
}

TEST(Files, ReadWriteSeekAndCut) {
  TempFolder root;
  HANDLE file = Open(root.WinPath("f.bin"), GENERIC_READ | GENERIC_WRITE, 3, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD count = 0;
  ASSERT_TRUE(WriteFile(file, "abcdefghij", 10, &count, nullptr));
  EXPECT_EQ(count, 10u);
  EXPECT_EQ(SetFilePointer(file, -3, nullptr, FILE_END), 7u);
  char buffer[8] = {};
  ASSERT_TRUE(ReadFile(file, buffer, 8, &count, nullptr));  // short at the end, no error
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(std::string(buffer, 3), "hij");
  EXPECT_EQ(SetFilePointer(file, -6, nullptr, FILE_CURRENT), 4u);
  ASSERT_TRUE(SetEndOfFile(file));
  DWORD high = 99;
  EXPECT_EQ(GetFileSize(file, &high), 4u);
  EXPECT_EQ(high, 0u);
  SetLastError(0);
  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  // Beyond 4 GB through the high half.
  LONG far = 1;
  EXPECT_EQ(SetFilePointer(file, 2, &far, FILE_BEGIN), 2u);
  EXPECT_EQ(far, 1);
  EXPECT_EQ(ReadAll(file), "abcd");
  BY_HANDLE_FILE_INFORMATION info{};
  ASSERT_TRUE(GetFileInformationByHandle(file, &info));
  EXPECT_EQ(info.nFileSizeLow, 4u);
  EXPECT_NE(info.ftLastWriteTime.dwHighDateTime, 0u);
  EXPECT_TRUE(CloseHandle(file));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(file));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(ReadFile(file, buffer, 1, &count, nullptr));
}

TEST(Files, AccessIsLimitedToWhatWasAsked) {
  TempFolder root;
  const std::string path = root.Write("f.txt", "abc");
  HANDLE reader = Open(path, GENERIC_READ);
  DWORD count = 0;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  CloseHandle(reader);
  HANDLE query = Open(path, 0);
  ASSERT_NE(query, INVALID_HANDLE_VALUE);
  char c = 0;
  EXPECT_FALSE(ReadFile(query, &c, 1, &count, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  EXPECT_TRUE(GetFileInformationByHandle(query, &info));
  CloseHandle(query);
}

TEST(Files, ReadOnlyFilesRefuseWritingAndDeleting) {
  TempFolder root;
  const std::string path = root.Write("locked.txt", "keep");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
  for (DWORD disposition : {OPEN_EXISTING, CREATE_ALWAYS}) {
    SetLastError(0);
    EXPECT_EQ(Open(path, GENERIC_WRITE, 3, disposition), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(root.Read("locked.txt"), "keep");
  HANDLE reader = Open(path, GENERIC_READ);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// Which second open succeeds while a first one holds the file.
struct ShareCase {
  DWORD firstAccess, firstShare, secondAccess, secondShare;
  bool secondOpens;
};
const ShareCase kShareCases[] = {
    {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, GENERIC_WRITE, 3, false},
    {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, 3, true},
    {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, 0, 3, true},
    {GENERIC_READ, 3, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, true},
    {GENERIC_WRITE, 3, GENERIC_READ, FILE_SHARE_READ, false},  // the second would refuse the first's writing
    {GENERIC_READ, 0, GENERIC_READ, 3, false},
    {GENERIC_READ, FILE_SHARE_WRITE, GENERIC_WRITE, 3, true},
    {GENERIC_READ | GENERIC_WRITE, 3, GENERIC_READ | GENERIC_WRITE, 3, true},
    {0, 0, GENERIC_READ | GENERIC_WRITE, 0, true},
};

TEST(Files, SharingIsEnforcedBetweenOpensOfOneProcess) {
  TempFolder root;
  const std::string path = root.Write("lockinfo", "x");
  for (const auto& c : kShareCases) {
    HANDLE first = Open(path, c.firstAccess, c.firstShare);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    SetLastError(0);
    HANDLE second = Open(path, c.secondAccess, c.secondShare);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens)
        << std::hex << c.firstAccess << "/" << c.firstShare << " then " << c.secondAccess << "/" << c.secondShare;
    if (second != INVALID_HANDLE_VALUE) {
      CloseHandle(second);
    } else {
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    }
    CloseHandle(first);
    // Closing gives the file back.
    HANDLE again = Open(path, c.secondAccess, c.secondShare);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
  }
}

TEST(Files, SharingIsEnforcedBetweenProcesses) {
  TempFolder root;
  const std::string path = root.Write("lockinfo", "x");
  int toParent[2], toChild[2];
  ASSERT_EQ(pipe(toParent), 0);
  ASSERT_EQ(pipe(toChild), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other program holds the project's lock file without write sharing until told to let go.
    HANDLE held = Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
    const char status = held != INVALID_HANDLE_VALUE ? 'y' : 'n';
    char go = 0;
    const bool ok = write(toParent[1], &status, 1) == 1 && read(toChild[0], &go, 1) == 1;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    _exit(ok ? 0 : 1);
  }
  char status = 0;
  ASSERT_EQ(read(toParent[0], &status, 1), 1);
  ASSERT_EQ(status, 'y');
  SetLastError(0);
  EXPECT_EQ(Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Open(path, GENERIC_WRITE), INVALID_HANDLE_VALUE);
  HANDLE reader = Open(path, GENERIC_READ);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  ASSERT_EQ(write(toChild[1], "g", 1), 1);
  int exitStatus = 0;
  ASSERT_EQ(waitpid(child, &exitStatus, 0), child);
  EXPECT_EQ(exitStatus, 0);
  HANDLE writer = Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  CloseHandle(writer);
  for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) close(fd);
}

TEST(Files, AttributesOfItems) {
  TempFolder root;
  root.Write("plain.txt");
  root.Write(".cache");
  root.MakeFolder("sub");
  EXPECT_EQ(GetFileAttributesA(root.WinPath("plain.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(GetFileAttributesA(root.WinPath("SUB").c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA(root.WinPath(".cache").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesA(root.WinPath("none").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesA(root.WinPath("none\\x").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  ASSERT_TRUE(SetFileAttributesA(root.WinPath("sub").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_EQ(GetFileAttributesA(root.WinPath("sub").c_str()),
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(SetFileAttributesA(root.WinPath("sub").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA(root.WinPath("sub").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Files, FoldersAreMadeRemovedAndRefusedAsFiles) {
  TempFolder root;
  const std::string sub = root.WinPath("Images");
  EXPECT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(root.WinPath("images").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectoryA(root.WinPath("a\\b").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  root.Write("Images/x.bmp");
  EXPECT_FALSE(DeleteFileA(sub.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(RemoveDirectoryA(sub.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(RemoveDirectoryA(root.WinPath("Images\\x.bmp").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_TRUE(DeleteFileA(root.WinPath("IMAGES\\X.BMP").c_str()));
  EXPECT_FALSE(DeleteFileA(root.WinPath("IMAGES\\X.BMP").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(RemoveDirectoryA(sub.c_str()));
}

TEST(Files, CurrentFolderInWindowsForm) {
  TempFolder root;
  root.MakeFolder("Projets");
  root.Write("file.txt");
  char saved[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(root.WinPath("PROJETS").c_str()));
  char now[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, now);
  EXPECT_EQ(std::string(now, length), root.WinPath("Projets"));
  EXPECT_EQ(GetCurrentDirectoryA(3, now), length + 1);  // too small: the size needed
  EXPECT_FALSE(SetCurrentDirectoryA(root.WinPath("file.txt").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(SetCurrentDirectoryA(root.WinPath("none").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  // Relative paths start from the current folder.
  HANDLE file = Open("..\\FILE.TXT", GENERIC_READ);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  ASSERT_TRUE(SetCurrentDirectoryA(saved));
}

std::vector<std::string> FindAll(const std::string& pattern, DWORD* error) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data{};
  SetLastError(0);
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return names;
  }
  do {
    names.push_back(data.cFileName);
  } while (FindNextFileA(search, &data));
  *error = GetLastError();
  EXPECT_TRUE(FindClose(search));
  return names;
}

TEST(Files, SearchesMatchNamesWithoutRegardToCase) {
  TempFolder root;
  root.Write("Sons/b.WAV");
  root.Write("Sons/a.wav");
  root.Write("Sons/c.wave");
  root.Write("Sons/readme");
  root.MakeFolder("Sons/dossier.wav");
  using Names = std::vector<std::string>;
  struct Case {
    std::string pattern;
    Names names;
    DWORD error;
  };
  const Case cases[] = {
      {"sons\\*.wav", {"a.wav", "b.WAV", "dossier.wav"}, ERROR_NO_MORE_FILES},
      {"Sons\\*.*", {".", "..", "a.wav", "b.WAV", "c.wave", "dossier.wav", "readme"}, ERROR_NO_MORE_FILES},
      {"Sons\\B.wav", {"b.WAV"}, ERROR_NO_MORE_FILES},
      {"Sons\\*.gif", {}, ERROR_FILE_NOT_FOUND},
      {"Nulle\\*.*", {}, ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    DWORD error = 0;
    EXPECT_EQ(FindAll(root.WinPath(c.pattern), &error), c.names) << c.pattern;
    EXPECT_EQ(error, c.error) << c.pattern;
  }
  WIN32_FIND_DATAA data{};
  HANDLE search = FindFirstFileA(root.WinPath("Sons\\dossier.wav").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(CloseHandle(nullptr));
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
}

// What a save needs of the layer beyond opening and writing.
TEST(Files, SavingCallsKeepTheFileAndReportTheirFailures) {
  TempFolder root;
  const std::string document = root.Write("real/page.zod", "old");
  std::filesystem::permissions(root.Path() / "real/page.zod", std::filesystem::perms::owner_read |
                                                                  std::filesystem::perms::owner_write);
  SetFileAttributesA(document.c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::filesystem::create_symlink("real/page.zod", root.Path() / "link.zod");

  // Through a link, the final path is the file the link points at.
  HANDLE opened = Open(root.WinPath("link.zod"), GENERIC_READ);
  ASSERT_NE(opened, INVALID_HANDLE_VALUE);
  char final[MAX_PATH];
  const DWORD length = GetFinalPathNameByHandleA(opened, final, MAX_PATH, 0);
  EXPECT_EQ(std::string(final, length), document);
  EXPECT_EQ(GetFinalPathNameByHandleA(opened, nullptr, 0, 0), length + 1);

  // A file made from a template takes its permissions and attributes.
  const std::string made = root.WinPath("real/page.zod~");
  HANDLE replacement = CreateFileA(made.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, opened);
  ASSERT_NE(replacement, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::filesystem::status(root.Path() / "real/page.zod~").permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(GetFileAttributesA(made.c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(replacement, "new", 3, &written, nullptr));
  EXPECT_TRUE(FlushFileBuffers(replacement));

  // A close that fails says so, and the handle is gone all the same.
  platform::FailNextClose(EIO);
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(replacement));
  EXPECT_EQ(GetLastError(), ERROR_IO_DEVICE);
  EXPECT_FALSE(CloseHandle(replacement));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_TRUE(CloseHandle(opened));

  EXPECT_TRUE(MoveFileExA(made.c_str(), document.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(root.Read("link.zod"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(root.Path() / "link.zod"));
  SetLastError(0);
}

TEST(Files, AFileRestrictedToItsOwnerStaysSoThroughItsReplacement) {
  TempFolder root;
  const std::string path = root.Write("secret.usr", "x");
  HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(platform::RestrictToOwner(file));
  const auto ownerOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
  EXPECT_EQ(std::filesystem::status(root.Path() / "secret.usr").permissions() & std::filesystem::perms::all, ownerOnly);
  HANDLE replacement = CreateFileA(root.WinPath("secret.usr~").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, file);
  ASSERT_NE(replacement, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::filesystem::status(root.Path() / "secret.usr~").permissions() & std::filesystem::perms::all, ownerOnly);
  EXPECT_TRUE(CloseHandle(replacement));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_FALSE(platform::RestrictToOwner(file));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  SetLastError(0);
}

// Each failure a file call can meet reaches the user as a system error of the same meaning.
TEST(Files, SystemFailuresHaveTheirWindowsMeaning) {
  const std::pair<int, DWORD> table[] = {
      {ENOSPC, ERROR_DISK_FULL},       {EFBIG, ERROR_DISK_FULL},           {EDQUOT, ERROR_DISK_FULL},
      {EIO, ERROR_IO_DEVICE},          {EXDEV, ERROR_NOT_SAME_DEVICE},     {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
      {ETXTBSY, ERROR_SHARING_VIOLATION}, {EOVERFLOW, ERROR_FILE_TOO_LARGE}, {ESTALE, ERROR_UNEXP_NET_ERR},
      {EROFS, ERROR_WRITE_PROTECT},    {ENXIO, ERROR_NOT_READY},           {EMLINK, ERROR_TOO_MANY_LINKS},
  };
  for (const auto& [err, code] : table) EXPECT_EQ(platform::ErrorFromErrno(err), code) << std::strerror(err);

  // A file-size limit met while writing is a full disk.
  TempFolder root;
  const std::string path = root.WinPath("big.bin");
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    HANDLE file = Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    const std::string bytes(8192, 'x');
    DWORD written = 0;
    const bool failed = !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    _exit(failed && GetLastError() == ERROR_DISK_FULL && written == 4096 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
