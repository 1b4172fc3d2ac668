#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/kernel/Codepage.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/FileTimes.h"
#include "platform/kernel/StringTable.h"
#include "platform/kernel/System.h"
#include "platform/user/MessageBox.h"

namespace {

TEST(Errors, ErrnoMapsToSystemNumbers) {
  const std::pair<int, DWORD> cases[] = {{0, 0},       {ENOENT, 2},   {ENOTDIR, 3},  {EACCES, 5},  {EBADF, 6},
                                         {ENOMEM, 8},  {EEXIST, 183}, {ENOSPC, 112}, {EINVAL, 87}, {ENAMETOOLONG, 206},
                                         {ENOTEMPTY, 145}};
  for (auto [err, code] : cases) EXPECT_EQ(platform::ErrorFromErrno(err), code) << std::strerror(err);
  errno = EACCES;
  platform::SetLastErrorFromErrno();
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  SetLastError(0);
}

TEST(System, TickCountIsReplaceableAndWraps) {
  const DWORD a = GetTickCount();
  Sleep(2);
  EXPECT_GE(static_cast<std::int32_t>(GetTickCount() - a), 1);
  platform::SetClockForTesting([] { return 0xFFFFFFFFu; });
  EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
  platform::SetClockForTesting(nullptr);
  SYSTEMTIME now;
  GetSystemTime(&now);
  EXPECT_GE(now.wYear, 2024);
  EXPECT_LT(now.wMilliseconds, 1000);
}

// Waits measured in dates (a splash held for some seconds) must see a test's clock move, across a minute
// and across the wrap of the millisecond count, and stop following it once the real clock is back.
TEST(System, DateFollowsTheTestClock) {
  DWORD tick = 0xFFFFF000u;
  platform::SetClockForTesting([&tick] { return tick; });
  SYSTEMTIME start;
  GetSystemTime(&start);
  const auto milliseconds = [](const SYSTEMTIME& t) {
    FILETIME file{};
    SystemTimeToFileTime(&t, &file);
    return static_cast<std::int64_t>((std::uint64_t{file.dwHighDateTime} << 32 | file.dwLowDateTime) / 10000);
  };
  const std::int64_t startMs = milliseconds(start);
  for (DWORD step : {0u, 999u, 5000u, 61000u}) {
    tick = 0xFFFFF000u + step;  // the last step wraps the count
    SYSTEMTIME now;
    GetSystemTime(&now);
    EXPECT_EQ(milliseconds(now) - startMs, step) << step;
  }
  platform::SetClockForTesting(nullptr);
  SYSTEMTIME real;
  GetSystemTime(&real);
  EXPECT_LT(milliseconds(real) - startMs, 2000) << "the date is the real one again";
}

TEST(System, GlobalMemoryBlocks) {
  HGLOBAL block = GlobalAlloc(GHND, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 16u);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  EXPECT_EQ(bytes[15], 0) << "zero-initialised";
  std::memcpy(bytes, "quill", 5);
  EXPECT_FALSE(GlobalUnlock(block));
  block = GlobalReAlloc(block, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT);
  ASSERT_NE(block, nullptr);
  bytes = static_cast<unsigned char*>(GlobalLock(block));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 5), "quill");
  EXPECT_EQ(bytes[4095], 0);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
  // A freed block, or a handle that never was one, is refused without being read.
  int notABlock = 0;
  for (HGLOBAL stale : {block, static_cast<HGLOBAL>(&notABlock)}) {
    SetLastError(0);
    EXPECT_EQ(GlobalLock(stale), nullptr);
    EXPECT_EQ(GlobalSize(stale), 0u);
    EXPECT_EQ(GlobalFree(stale), stale);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  MEMORYSTATUS status;
  GlobalMemoryStatus(&status);
  EXPECT_GT(status.dwAvailVirtual, 0u);
  EXPECT_LE(status.dwAvailVirtual, status.dwTotalVirtual);
  platform::SetAvailableMemoryForTesting(1234);
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwAvailVirtual, 1234u);
  platform::SetAvailableMemoryForTesting(std::nullopt);
}

TEST(Codepage, EveryByteSurvivesARoundTripThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
  EXPECT_EQ(platform::Cp1252ToUtf8("\xC9t\xE9 \x80"), "Été €");
  EXPECT_EQ(platform::Utf8ToCp1252("Œuvre – “ok” 中"), "\x8C" "uvre \x96 \x93ok\x94 ?");
  EXPECT_EQ(platform::Utf8ToCp1252("\xFF\xC3"), "??") << "malformed UTF-8 gives replacement marks";
}

TEST(StringTable, LoadingAndFormatting) {
  static const StringTableEntry entries[] = {{60001, "Bonjour %1, tu as %2 ans.%3"}, {60002, "100%% sûr%n"}};
  platform::RegisterStringTable(entries);
  char buffer[64];
  EXPECT_EQ(LoadStringA(nullptr, 60001, buffer, sizeof buffer), 27);
  EXPECT_EQ(LoadStringA(nullptr, 60001, buffer, 8), 7);
  EXPECT_STREQ(buffer, "Bonjour");
  SetLastError(0);
  EXPECT_EQ(LoadStringA(nullptr, 60999, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);

  const char* const args[4] = {"Zoé", "8", nullptr, nullptr};
  const DWORD flags = FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY;
  EXPECT_EQ(FormatMessageA(flags, entries[0].text, 0, 0, buffer, sizeof buffer, args), 26u);
  EXPECT_STREQ(buffer, "Bonjour Zoé, tu as 8 ans.");
  FormatMessageA(flags, entries[1].text, 0, 0, buffer, sizeof buffer, args);
  EXPECT_STREQ(buffer, "100% sûr\n");
  char small[10];
  SetLastError(0);
  EXPECT_EQ(FormatMessageA(flags, entries[0].text, 0, 0, small, sizeof small, args), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_STREQ(small, "Bonjour Z") << "cut and terminated, never past the buffer";
  SetLastError(0);
}

TEST(MessageBox, DefaultAnswersAndHandlers) {
  const std::pair<UINT, int> defaults[] = {{MB_OK, IDOK},
                                           {MB_OKCANCEL, IDOK},
                                           {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                                           {MB_YESNOCANCEL, IDYES},
                                           {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                                           {MB_YESNO | MB_DEFBUTTON2, IDNO}};
  for (auto [type, answer] : defaults) EXPECT_EQ(platform::DefaultMessageBoxAnswer(type), answer) << type;
  EXPECT_EQ(MessageBoxA(nullptr, "sans gestionnaire", "", MB_YESNOCANCEL), IDYES);
  std::string seen;
  auto previous = platform::SetMessageBoxHandler([&](HWND, LPCSTR text, LPCSTR, UINT) {
    seen = text;
    return IDNO;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Enregistrer ?", "", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(seen, "Enregistrer ?");
  platform::SetMessageBoxHandler(std::move(previous));
}

}  // namespace
