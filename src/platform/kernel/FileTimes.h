// File times: 100-nanosecond intervals since January 1, 1601 (UTC), and their calendar form.
#pragma once

#include <cstdint>

#include "platform/kernel/WinTypes.h"

// Fails (ERROR_INVALID_PARAMETER) for a field out of its range: years 1601..30827, months 1..12, days
// within the month, hours below 24, minutes and seconds below 60, milliseconds below 1000. The day of week
// is not read.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
// Fails (ERROR_INVALID_PARAMETER) for a time with the top bit set, beyond what the calendar form holds.
// Fills in the day of week (0 is Sunday).
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
void GetSystemTimeAsFileTime(FILETIME* fileTime);

namespace platform {
inline std::uint64_t FileTimeValue(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}
inline FILETIME MakeFileTime(std::uint64_t value) {
  return {static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}
// The file time of a POSIX time (seconds and nanoseconds since 1970); times before 1601 give 0.
FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
}  // namespace platform
