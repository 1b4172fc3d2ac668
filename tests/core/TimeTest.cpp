#include <gtest/gtest.h>

#include <cstdint>

#include "core/Time.h"
#include "platform/kernel/System.h"
#include "support/Raised.h"

namespace {

struct Expected {
  int year, month, day, hour, minute, second, dayOfWeek;
};

void ExpectSystemTime(const TimeData& value, const Expected& e, const char* label) {
  SYSTEMTIME st{};
  Time(value).ToSystemTime(&st);
  EXPECT_EQ(st.wYear, e.year) << label;
  EXPECT_EQ(st.wMonth, e.month) << label;
  EXPECT_EQ(st.wDay, e.day) << label;
  EXPECT_EQ(st.wHour, e.hour) << label;
  EXPECT_EQ(st.wMinute, e.minute) << label;
  EXPECT_EQ(st.wSecond, e.second) << label;
  EXPECT_EQ(st.wMilliseconds, 0) << label;
  EXPECT_EQ(st.wDayOfWeek, e.dayOfWeek) << label;
}

TEST(Time, DatesAreMonthsAndSeconds) {
  EXPECT_EQ(Time(3, 1, 1999).GetMonths(), 23990);
  EXPECT_EQ(Time(3, 1, 1999).GetSeconds(), 0);
  EXPECT_EQ(Time(3, 31, 1999).GetSeconds(), 2592000);
  EXPECT_EQ(TimePeriod(1, 2, 3).GetSeconds(), 3723);
  EXPECT_EQ(TimePeriod(1, 2, 3).GetMonths(), 0);
  SYSTEMTIME st{2000, 2, 2, 29, 13, 14, 15, 999};
  EXPECT_EQ(Time(st).GetMonths(), 24001);
  EXPECT_EQ(Time(st).GetSeconds(), 28 * 86400 + 13 * 3600 + 14 * 60 + 15);
}

TEST(Time, ConversionRollsSecondsAndMonthsIntoTheCalendar) {
  struct Case {
    const char* label;
    TimeData value;
    Expected expected;
  };
  const Case cases[] = {
      {"one second before March 1999", TimeData(23990, -1), {1999, 2, 28, 23, 59, 59, 0}},
      {"March 5 1999", Time(3, 5, 1999), {1999, 3, 5, 0, 0, 0, 5}},
      {"29 days into February 2000", TimeData(24001, 29 * 86400), {2000, 3, 1, 0, 0, 0, 3}},
      {"13 months past March 1999", TimeData(23990 + 13, 0), {2000, 4, 1, 0, 0, 0, 6}},
      {"a year of seconds before 2000", TimeData(24000, -365 * 86400), {1999, 1, 1, 0, 0, 0, 5}},
      {"the last second of 1999 plus one", TimeData(23999, 31 * 86400), {2000, 1, 1, 0, 0, 0, 6}},
      {"months 0 of year 1601 minus nothing", TimeData(1601 * 12, 0), {1601, 1, 1, 0, 0, 0, 1}},
      {"the last second of 30827", TimeData(30827 * 12 + 11, 31 * 86400 - 1), {30827, 12, 31, 23, 59, 59, 5}},
      {"seconds far beyond the month", TimeData(24000, 2'000'000'000), {2063, 5, 18, 3, 33, 20, 5}},
  };
  for (const auto& c : cases) ExpectSystemTime(c.value, c.expected, c.label);
}

TEST(Time, ValuesOutsideTheFileTimeRangeRaiseTheConversionError) {
  const TimeData outside[] = {
      Time(12, 31, 1600), TimeData(1601 * 12, -1), TimeData(30828 * 12, 0),
      TimeData(-1, 0),    TimePeriod(1, 0, 0),  // a duration alone is no date
  };
  for (const auto& value : outside) {
    SYSTEMTIME st{};
    EXPECT_EQ(RaisedText(Raised([&] { Time(value).ToSystemTime(&st); })), "system error 87")
        << value.GetMonths() << " " << value.GetSeconds();
    EXPECT_TRUE(Raised([&] { (void)value.Compare(Time(1, 1, 2000)); }));
  }
}

TEST(Time, FloorDivModRoundsDown) {
  struct Case {
    std::int32_t value, divisor, quotient, remainder;
  };
  const Case cases[] = {{-1, 12, -1, 11}, {-12, 12, -1, 0}, {-13, 12, -2, 11}, {25, 12, 2, 1}, {0, 12, 0, 0}};
  for (const auto& c : cases) {
    std::int32_t q = 0, r = 0;
    FloorDivMod(c.value, c.divisor, &q, &r);
    EXPECT_EQ(q, c.quotient) << c.value;
    EXPECT_EQ(r, c.remainder) << c.value;
  }
}

TEST(Time, ComparisonNormalisesBothValues) {
  const Time jan31(1, 31, 2001);
  EXPECT_TRUE(jan31 + TimePeriod(24, 0, 0) == Time(2, 1, 2001));
  EXPECT_EQ((jan31 + TimePeriod(24, 0, 0)).GetMonths(), jan31.GetMonths());  // adding does not normalise
  EXPECT_TRUE(Time(2, 1, 2001) < Time(2, 1, 2001) + TimePeriod(0, 0, 1));
  EXPECT_EQ(Time(2, 1, 2001).Compare(jan31), 1);
  EXPECT_EQ(TimeData(23990, -1).Compare(Time(2, 28, 1999) + TimePeriod(23, 59, 59)), 0);
  const TimeData normal = TimeData(23990, -1).Normalized();
  EXPECT_EQ(normal.GetMonths(), 23989);
  EXPECT_EQ(normal.GetSeconds(), 28 * 86400 - 1);
}

// Values read from a damaged document can lie at the ends of their fields: a sum that does not fit is
// refused, not wrapped into another date.
TEST(Time, SumsBeyondTheFieldsAreRefused) {
  const struct {
    TimeData value, added;
  } cases[] = {
      {TimeData(INT32_MAX, 0), TimeData(1, 0)},
      {TimeData(0, INT32_MAX), TimePeriod(0, 0, 1)},
      {TimeData(INT32_MIN, 0), TimeData(-1, 0)},
      {TimeData(24000, INT32_MIN), TimeData(0, -1)},
  };
  for (const auto& c : cases) {
    TimeData value = c.value;
    EXPECT_EQ(RaisedText(Raised([&] { value.Add(c.added); })), "Range error") << c.value.GetMonths();
    EXPECT_EQ(value.GetMonths(), c.value.GetMonths());
    EXPECT_EQ(value.GetSeconds(), c.value.GetSeconds());
  }
  TimeData edge(INT32_MAX - 1, INT32_MIN + 1);
  edge.Add(TimeData(1, -1));
  EXPECT_EQ(edge.GetMonths(), INT32_MAX);
  EXPECT_EQ(edge.GetSeconds(), INT32_MIN);
}

TEST(Time, NowIgnoresMilliseconds) {
  SYSTEMTIME st{};
  GetSystemTime(&st);
  SYSTEMTIME later = st;
  st.wMilliseconds = 0;
  later.wMilliseconds = 999;
  EXPECT_TRUE(Time(st) == Time(later));
  const Time now{Time::Now{}};
  EXPECT_LE(Time(st).Compare(now), 0);
  EXPECT_TRUE(now < Time(st) + TimePeriod(0, 1, 0));
}

TEST(Time, CopyingKeepsTheClass) {
  Time date(3, 5, 1999);
  SmartRef<Smart> copy(date.Clone());
  ASSERT_TRUE(IsMember<Time>(~copy));
  EXPECT_EQ(CastSmart<Time>(~copy)->GetMonths(), date.GetMonths());
  TimePeriod period(1, 0, 0);
  EXPECT_FALSE(date.CanCopyFrom(&period));
  const SmartRef<Exception> raised = Raised([&] { date.CopyFrom(&period); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
  EXPECT_EQ(RaisedPlace(raised), "TIME:50");
  TimeData plain;
  EXPECT_EQ(RaisedPlace(Raised([&] { period.CopyFrom(&plain); })), "TIME:54");
  EXPECT_TRUE(plain.CanCopyFrom(&date));
  plain.CopyFrom(&date);
  EXPECT_EQ(plain.GetSeconds(), date.GetSeconds());
}

}  // namespace
