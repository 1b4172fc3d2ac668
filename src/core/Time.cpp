#include "core/Time.h"

#include <cstdint>
#include <cstdio>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "core/String.h"
#include "platform/kernel/FileTimes.h"
#include "platform/kernel/System.h"

SMART_DEFINE(TimeData, "TimeData", nullptr, nullptr, Persistent, SmartImplementation)
SMART_DEFINE(TimePeriod, "TimePeriod", nullptr, nullptr, TimeData)
SMART_DEFINE(Time, "Time", nullptr, nullptr, TimeData)

const PersistentType TimeData::persistentType(&TimeData::classInfo, MakeVersion(1), MakeVersion(1), &TimeData::ReadNew);
const PersistentType TimePeriod::persistentType(&TimePeriod::classInfo, MakeVersion(1), MakeVersion(1),
                                                &TimePeriod::ReadNew);
const PersistentType Time::persistentType(&Time::classInfo, MakeVersion(1), MakeVersion(1), &Time::ReadNew);

namespace {
// Documents record times at this class index.
[[maybe_unused]] const bool gTimeRegistered = (RegisterGenericType(37, &Time::persistentType), true);
}  // namespace

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kTicksPerSecond = 10'000'000;
}  // namespace

void FloorDivMod(std::int32_t value, std::int32_t divisor, std::int32_t* quotient, std::int32_t* remainder) {
  std::int32_t q = value / divisor;
  std::int32_t r = value % divisor;
  if (r < 0) {
    r += divisor;
    --q;
  }
  *quotient = q;
  *remainder = r;
}

TimeData::TimeData(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  months = block.GetStream()->ReadLong();
  seconds = block.GetStream()->ReadLong();
}

void TimeData::WriteFields(ArchiveBlock& block) const {
  if (block.IsSkipping()) return;
  block.GetStream()->WriteLong(months);
  block.GetStream()->WriteLong(seconds);
}

void TimeData::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

Persistent* TimeData::ReadNew(Archive* archive) { return ReadFromBlock<TimeData>(archive, &persistentType); }

// A value read from a damaged document may lie at the end of its field: a sum that does not fit is
// refused rather than wrapped into some other date.
void TimeData::Add(const TimeData& other) {
  const std::int64_t sumMonths = std::int64_t{months} + other.months;
  const std::int64_t sumSeconds = std::int64_t{seconds} + other.seconds;
  if (sumMonths < INT32_MIN || sumMonths > INT32_MAX || sumSeconds < INT32_MIN || sumSeconds > INT32_MAX)
    ThrowError("Range error", __FILE__, __LINE__);
  months = static_cast<std::int32_t>(sumMonths);
  seconds = static_cast<std::int32_t>(sumSeconds);
}

TimeData TimeData::Normalized() const {
  SYSTEMTIME st{};
  Time(*this).ToSystemTime(&st);
  const Time normal(st);
  return TimeData(normal.months, normal.seconds);
}

int TimeData::Compare(const TimeData& other) const {
  const TimeData a = Normalized(), b = other.Normalized();
  if (a.months != b.months) return a.months < b.months ? -1 : 1;
  if (a.seconds != b.seconds) return a.seconds < b.seconds ? -1 : 1;
  return 0;
}

TimePeriod::TimePeriod(std::int32_t hours, std::int32_t minutes, std::int32_t seconds)
    : TimeData(0, hours * 3600 + minutes * 60 + seconds) {}

void TimePeriod::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

Persistent* TimePeriod::ReadNew(Archive* archive) { return ReadFromBlock<TimePeriod>(archive, &persistentType); }

Time::Time(Now)
    : Time([] {
        SYSTEMTIME st{};
        GetSystemTime(&st);
        return Time(st);
      }()) {}

Time::Time(int month, int day, int year)
    : TimeData(year * 12 + month - 1, (day - 1) * static_cast<std::int32_t>(kSecondsPerDay)) {}

Time::Time(const SYSTEMTIME& st) : Time(st.wMonth, st.wDay, st.wYear) {
  Add(TimePeriod(st.wHour, st.wMinute, st.wSecond));
}

void Time::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

Persistent* Time::ReadNew(Archive* archive) { return ReadFromBlock<Time>(archive, &persistentType); }

Time Time::operator+(const TimePeriod& period) const {
  Time sum(*this);
  sum.Add(period);
  return sum;
}

void Time::ToSystemTime(SYSTEMTIME* out) const {
  std::int32_t year = 0, monthIndex = 0;
  FloorDivMod(months, 12, &year, &monthIndex);
  SYSTEMTIME start{};
  // A year outside the calendar's words is out of its range too.
  start.wYear = year < 0 || year > 0xFFFF ? 0 : static_cast<WORD>(year);
  start.wMonth = static_cast<WORD>(monthIndex + 1);
  start.wDay = 1;
  FILETIME ft{};
  CHECK_CALL(SystemTimeToFileTime(&start, &ft));
  // Seconds beyond the month, or before it, roll into the right month and year. A sum outside the file
  // time's range wraps to a value with the top bit set, which the conversion back refuses.
  const std::uint64_t ticks =
      platform::FileTimeValue(ft) + static_cast<std::uint64_t>(std::int64_t{seconds} * kTicksPerSecond);
  ft = platform::MakeFileTime(ticks);
  CHECK_CALL(FileTimeToSystemTime(&ft, out));
}

String* Time::GetDateText() const {
  SYSTEMTIME st{};
  ToSystemTime(&st);
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", st.wMonth, st.wDay, st.wYear);
  return new String(text);
}
