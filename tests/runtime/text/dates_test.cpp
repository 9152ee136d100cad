#include <gtest/gtest.h>

#include "runtime/text/dates.h"
#include "runtime/testing/pinned_clock.h"

using namespace vrt;

TEST(Dates, DayFourIsTheFirstOfJanuary1801) {
  EXPECT_EQ(dateFromYmd(1801, 1, 1), 4);
  EXPECT_EQ(dateFromYmd(1800, 12, 31), 3);
  EXPECT_EQ(dateFromYmd(1800, 12, 29), 1);
  EXPECT_EQ(dateFromYmd(1800, 12, 28), 0);  // before the first day: no date
  EXPECT_EQ(ymdFromDate(4), (Ymd{1801, 1, 1}));
  EXPECT_FALSE(ymdFromDate(0));
  EXPECT_FALSE(ymdFromDate(-5));
  EXPECT_EQ(dayOfWeek(4), 4);  // a Thursday
  EXPECT_EQ(dayOfWeek(dateFromYmd(2026, 12, 9)), 3);  // a Wednesday
  EXPECT_EQ(dateFromYmd(9999, 12, 31), kLastDay);
  EXPECT_EQ(dateFromYmd(10000, 1, 1), 0);
}

TEST(Dates, LeapYearsFollowTheGregorianRules) {
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_FALSE(isLeapYear(1801));
  EXPECT_TRUE(isLeapYear(2024));
  EXPECT_EQ(dateFromYmd(2000, 3, 1) - dateFromYmd(2000, 2, 28), 2);
  EXPECT_EQ(dateFromYmd(1900, 3, 1) - dateFromYmd(1900, 2, 28), 1);
  EXPECT_EQ(dateFromYmd(2000, 2, 29), 72746);
  EXPECT_EQ(dateFromYmd(2001, 1, 1) - dateFromYmd(2000, 1, 1), 366);
  EXPECT_EQ(dateFromYmd(1901, 1, 1) - dateFromYmd(1900, 1, 1), 365);
  // Every day number round-trips through year, month and day.
  for (DayNumber d = 4; d < 90000; d += 37) {
    const auto ymd = ymdFromDate(d);
    ASSERT_TRUE(ymd);
    ASSERT_EQ(dateFromYmd(ymd->year, ymd->month, ymd->day), d);
  }
}

TEST(Dates, MonthsAndDaysOutOfRangeRollOver) {
  EXPECT_EQ(dateFromYmd(2020, 13, 1), dateFromYmd(2021, 1, 1));
  EXPECT_EQ(dateFromYmd(2020, 0, 1), dateFromYmd(2019, 12, 1));
  EXPECT_EQ(dateFromYmd(2020, 3, 0), dateFromYmd(2020, 2, 29));
  EXPECT_EQ(dateFromYmd(2021, 2, 29), dateFromYmd(2021, 3, 1));
  EXPECT_EQ(dateFromYmd(2020, -11, 1), dateFromYmd(2019, 1, 1));
}

TEST(Dates, TimesAreHundredthsPlusOne) {
  EXPECT_EQ(timeFromHms(0, 0), 1);
  EXPECT_EQ(timeFromHms(23, 59, 59, 99), kLastTime);
  EXPECT_EQ(timeFromHms(17, 30), 17 * 360000 + 30 * 6000 + 1);
  EXPECT_EQ(timeFromHms(24, 0), 0);
  EXPECT_EQ(hmsFromTime(timeFromHms(5, 6, 7, 8)), (Hms{5, 6, 7, 8}));
  EXPECT_FALSE(hmsFromTime(0));
  EXPECT_FALSE(hmsFromTime(kLastTime + 1));
}

TEST(Dates, TodayAndNowCanBePinned) {
  const DayNumber t = today();
  EXPECT_TRUE(isValidDate(t));
  EXPECT_GT(clockNow(), 0);
  pinClockForTesting(dateFromYmd(2006, 3, 18), timeFromHms(17, 30));
  EXPECT_EQ(today(), dateFromYmd(2006, 3, 18));
  EXPECT_EQ(clockNow(), timeFromHms(17, 30));
  unpinClockForTesting();
  EXPECT_NE(today(), dateFromYmd(2006, 3, 18));
}
