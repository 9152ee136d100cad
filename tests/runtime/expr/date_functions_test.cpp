// Dates are day numbers (4 = 1 January 1801) and times are hundredths since midnight + 1.
#include <gtest/gtest.h>

#include "expr_support.h"
#include "runtime/testing/pinned_clock.h"
#include "runtime/text/dates.h"

using namespace exprtest;

class DateFunctions : public ::testing::Test {
 protected:
  void SetUp() override { vrt::pinClockForTesting(vrt::dateFromYmd(2026, 12, 9), vrt::timeFromHms(17, 30)); }
  void TearDown() override { vrt::unpinClockForTesting(); }
};

TEST_F(DateFunctions, DateBuildsDayNumbersAndRollsOver) {
  EXPECT_EQ(evalNumber("DATE(1, 1, 1801)"), 4);
  EXPECT_EQ(evalNumber("DATE(3, 18, 2006)"), vrt::dateFromYmd(2006, 3, 18));
  EXPECT_EQ(evalNumber("DATE(13, 1, 2005)"), vrt::dateFromYmd(2006, 1, 1)) << "month 13 is January next year";
  EXPECT_EQ(evalNumber("DATE(3, 0, 2024)"), vrt::dateFromYmd(2024, 2, 29)) << "day 0 is the last of the month before";
  EXPECT_EQ(evalNumber("DATE(1, 1, 1700)"), 0) << "before the first day: no date";
  EXPECT_EQ(evalNumber("DATE(1e300, -1e300, 2000)"), 0);
  EXPECT_EQ(evalNumber("DATE(2.9, 1.9, 2006.5)"), vrt::dateFromYmd(2006, 2, 1)) << "parts are whole numbers";
}

TEST_F(DateFunctions, DayMonthYearTakeADateApart) {
  EXPECT_EQ(evalNumber("DAY(DATE(3, 18, 2006))"), 18);
  EXPECT_EQ(evalNumber("MONTH(DATE(3, 18, 2006))"), 3);
  EXPECT_EQ(evalNumber("YEAR(DATE(3, 18, 2006))"), 2006);
  for (const char* none : {"DAY(0)", "MONTH(-5)", "YEAR(1e300)", "YEAR('x')"}) EXPECT_EQ(evalNumber(none), 0) << none;
}

TEST_F(DateFunctions, TodayAndClock) {
  EXPECT_EQ(evalNumber("TODAY()"), vrt::dateFromYmd(2026, 12, 9));
  EXPECT_EQ(evalNumber("CLOCK()"), vrt::timeFromHms(17, 30));
  EXPECT_EQ(evalNumber("CLOCK() = DEFORMAT('5:30PM', @T3)"), 1);
  EXPECT_EQ(evalNumber("TODAY() - DATE(12, 1, 2026)"), 8) << "date arithmetic is day arithmetic";
}

TEST_F(DateFunctions, AgeNamesTheFittingUnit) {
  struct Case {
    int y, m, d;
    const char* age;
  };
  for (const Case c : {Case{2026, 12, 9, "0 DAYS"}, Case{2026, 10, 10, "60 DAYS"}, Case{2026, 10, 9, "8 WKS"},
                       Case{2026, 9, 3, "13 WKS"}, Case{2026, 9, 1, "3 MOS"}, Case{2024, 12, 10, "23 MOS"},
                       Case{2024, 12, 9, "2 YRS"}, Case{1950, 12, 10, "75 YRS"}}) {
    const std::string text = "AGE(" + std::to_string(vrt::dateFromYmd(c.y, c.m, c.d)) + ")";
    EXPECT_EQ(evalText(text), c.age) << c.y << "-" << c.m << "-" << c.d;
  }
  EXPECT_EQ(evalText("AGE(DATE(1, 1, 2000), DATE(1, 1, 2010))"), "10 YRS");
  EXPECT_EQ(evalText("AGE(0)"), "") << "no date, no age";
  EXPECT_EQ(evalText("AGE(DATE(1, 1, 2030))"), "") << "not born yet";
}
