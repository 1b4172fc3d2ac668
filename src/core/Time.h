// Dates and durations: a count of months plus a count of seconds, so that adding a duration is plain
// addition and the calendar is left to the system's conversions.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "platform/kernel/WinTypes.h"

class String;

// Division rounding toward minus infinity: the remainder is never negative.
void FloorDivMod(std::int32_t value, std::int32_t divisor, std::int32_t* quotient, std::int32_t* remainder);

class TimeData : public Persistent, public SmartImplementation {
  SMART_CLASS(TimeData)
 public:
  static const PersistentType persistentType;

  // For a date, months is year × 12 + month - 1 and seconds count from the start of that month; either
  // may lie outside its range until the value is normalised.
  TimeData(std::int32_t months = 0, std::int32_t seconds = 0) : months(months), seconds(seconds) {}
  TimeData(const TimeData& other)
      : Smart(), Persistent(other), SmartImplementation(other), months(other.months), seconds(other.seconds) {}
  explicit TimeData(ArchiveBlock& block);
  TimeData& operator=(const TimeData& other) {
    months = other.months;
    seconds = other.seconds;
    return *this;
  }

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  static Persistent* ReadNew(Archive* archive);

  std::int32_t GetMonths() const { return months; }
  std::int32_t GetSeconds() const { return seconds; }
  // Adds the other's months and seconds, without normalising.
  void Add(const TimeData& other);
  // -1, 0 or 1 after both values are normalised. Values outside the system's calendar (before 1601, or
  // a duration alone) raise the conversion's error.
  int Compare(const TimeData& other) const;
  bool operator==(const TimeData& other) const { return Compare(other) == 0; }
  bool operator<(const TimeData& other) const { return Compare(other) < 0; }
  // The same instant with the seconds within their month.
  TimeData Normalized() const;

 protected:
  // Months then seconds, in the block of the class being written. Times and periods keep them in their
  // own block rather than in a nested TimeData block: documents number no TimeData class, so a nested
  // block would keep a time from being stored in a page at all. Files hold the same bytes either way.
  void WriteFields(ArchiveBlock& block) const;

  std::int32_t months = 0;
  std::int32_t seconds = 0;
};

// A duration.
class TimePeriod : public TimeData {
  SMART_CLASS(TimePeriod)
 public:
  static const PersistentType persistentType;

  TimePeriod(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);
  explicit TimePeriod(const TimeData& value) : TimeData(value) {}
  explicit TimePeriod(ArchiveBlock& block) : TimeData(block) {}

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  static Persistent* ReadNew(Archive* archive);
};

// A date and time of day in UTC, as the system gives it.
class Time : public TimeData {
  SMART_CLASS(Time)
 public:
  static const PersistentType persistentType;
  struct Now {};

  explicit Time(Now);
  // Month 1..12, day 1..31.
  Time(int month, int day, int year);
  // Milliseconds are dropped.
  explicit Time(const SYSTEMTIME& time);
  explicit Time(const TimeData& value) : TimeData(value) {}
  explicit Time(ArchiveBlock& block) : TimeData(block) {}

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  static Persistent* ReadNew(Archive* archive);

  Time operator+(const TimePeriod& period) const;
  void ToSystemTime(SYSTEMTIME* out) const;
  // "month/day/year" without leading zeros: 3/5/1999.
  String* GetDateText() const;
};
