#include "platform/kernel/FileTimes.h"

#include <time.h>

#include "platform/kernel/Errors.h"

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochDays = 134'774;

constexpr bool IsLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int DaysInMonth(std::int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar (eras of 400 years).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};

constexpr CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (m <= 2), m, d};
}

static_assert(DaysFromCivil(1601, 1, 1) == -kUnixEpochDays);

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* fileTime) {
  if (st == nullptr || fileTime == nullptr || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 ||
      st->wMonth > 12 || st->wDay < 1 || st->wDay > DaysInMonth(st->wYear, st->wMonth) || st->wHour > 23 ||
      st->wMinute > 59 || st->wSecond > 59 || st->wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) + kUnixEpochDays;
  const std::int64_t seconds = days * kSecondsPerDay + st->wHour * 3600 + st->wMinute * 60 + st->wSecond;
  *fileTime = platform::MakeFileTime(
      static_cast<std::uint64_t>(seconds * kTicksPerSecond + std::int64_t{st->wMilliseconds} * 10'000));
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* st) {
  if (fileTime == nullptr || st == nullptr || (fileTime->dwHighDateTime & 0x80000000u)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto ticks = static_cast<std::int64_t>(platform::FileTimeValue(*fileTime));
  const std::int64_t totalSeconds = ticks / kTicksPerSecond;
  const std::int64_t days = totalSeconds / kSecondsPerDay;
  const std::int64_t secondOfDay = totalSeconds % kSecondsPerDay;
  const CivilDate date = CivilFromDays(days - kUnixEpochDays);
  st->wYear = static_cast<WORD>(date.year);
  st->wMonth = static_cast<WORD>(date.month);
  st->wDay = static_cast<WORD>(date.day);
  st->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  st->wHour = static_cast<WORD>(secondOfDay / 3600);
  st->wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
  st->wSecond = static_cast<WORD>(secondOfDay % 60);
  st->wMilliseconds = static_cast<WORD>(ticks % kTicksPerSecond / 10'000);
  return TRUE;
}

void GetSystemTimeAsFileTime(FILETIME* fileTime) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  *fileTime = platform::FileTimeFromUnix(now.tv_sec, now.tv_nsec);
}

namespace platform {
FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  const std::int64_t since1601 = seconds + kUnixEpochDays * kSecondsPerDay;
  if (since1601 < 0) return MakeFileTime(0);
  return MakeFileTime(static_cast<std::uint64_t>(since1601 * kTicksPerSecond + nanoseconds / 100));
}
}  // namespace platform
