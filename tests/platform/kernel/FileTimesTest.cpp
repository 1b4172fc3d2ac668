#include <gtest/gtest.h>

#include <chrono>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileTimes.h"

namespace {

SYSTEMTIME Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

TEST(FileTimes, CalendarDatesConvertBothWaysOverTheWholeRange) {
  struct Case {
    SYSTEMTIME date;
    std::uint64_t ticks;
    int dayOfWeek;
  };
  const Case cases[] = {
      {Date(1601, 1, 1), 0, 1},
      {Date(1601, 1, 1, 0, 0, 0, 1), 10'000, 1},
      {Date(1970, 1, 1), 116'444'736'000'000'000ull, 4},
      {Date(1999, 3, 5), 125'650'656'000'000'000ull, 5},
      {Date(2000, 2, 29, 23, 59, 59, 999), 125'963'423'999'990'000ull, 2},
      {Date(30827, 12, 31, 23, 59, 59, 999), 0x7FFF35F4F06C58F0ull, 5},
  };
  for (const auto& c : cases) {
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.date, &ft)) << c.date.wYear;
    EXPECT_EQ(platform::FileTimeValue(ft), c.ticks) << c.date.wYear;
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(back.wYear, c.date.wYear);
    EXPECT_EQ(back.wMonth, c.date.wMonth);
    EXPECT_EQ(back.wDay, c.date.wDay);
    EXPECT_EQ(back.wHour, c.date.wHour);
    EXPECT_EQ(back.wMinute, c.date.wMinute);
    EXPECT_EQ(back.wSecond, c.date.wSecond);
    EXPECT_EQ(back.wMilliseconds, c.date.wMilliseconds);
    EXPECT_EQ(back.wDayOfWeek, c.dayOfWeek) << c.date.wYear;
  }
}

TEST(FileTimes, TheLastFileTimeIsInTheYear30828) {
  const FILETIME last = platform::MakeFileTime(0x7FFFFFFFFFFFFFFFull);
  SYSTEMTIME st{};
  ASSERT_TRUE(FileTimeToSystemTime(&last, &st));
  EXPECT_EQ(st.wYear, 30828);
  EXPECT_EQ(st.wMonth, 9);
  EXPECT_EQ(st.wDay, 14);
  const FILETIME beyond = platform::MakeFileTime(0x8000000000000000ull);
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&beyond, &st));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(FileTimes, FieldsOutOfRangeAreRefused) {
  const SYSTEMTIME bad[] = {
      Date(1600, 12, 31),
      Date(30828, 1, 1),
      Date(2000, 0, 1),
      Date(2000, 13, 1),
      Date(1999, 2, 29),
      Date(2000, 4, 31),
      Date(2000, 1, 0),
      Date(2000, 1, 1, 24),
      Date(2000, 1, 1, 0, 60),
      Date(2000, 1, 1, 0, 0, 60),
      Date(2000, 1, 1, 0, 0, 0, 1000),
      Date(65535, 12, 1),
  };
  for (const auto& st : bad) {
    FILETIME ft{};
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  const SYSTEMTIME leap = Date(2000, 2, 29);
  FILETIME ft{};
  EXPECT_TRUE(SystemTimeToFileTime(&leap, &ft));
}

TEST(FileTimes, NowIsTheSystemClockInUtc) {
  FILETIME ft{};
  GetSystemTimeAsFileTime(&ft);
  const auto unixSeconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  const auto seconds = static_cast<std::int64_t>(platform::FileTimeValue(ft) / 10'000'000) - 11'644'473'600;
  EXPECT_NEAR(static_cast<double>(seconds), static_cast<double>(unixSeconds), 2.0);
}

}  // namespace
