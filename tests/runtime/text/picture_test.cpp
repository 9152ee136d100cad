#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <limits>

#include "runtime/text/picture.h"
#include "runtime/testing/pinned_clock.h"

using namespace vrt;

namespace {

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    pinClockForTesting(dateFromYmd(2026, 12, 9), timeFromHms(9, 0));
  }
  void TearDown() override { unpinClockForTesting(); }

  static Picture pic(const char* text) {
    auto p = Picture::parse(text);
    EXPECT_TRUE(p) << text;
    return p ? *p : *Picture::parse("@s1");
  }
};

}  // namespace

TEST_F(Pictures, UnknownPicturesAreRefused) {
  for (const char* bad : {"", "@", "@x5", "@s", "@s0", "@n", "@d19", "@d0", "@t9", "@n5.5", "@n5x", "d2", "@s10q"})
    EXPECT_FALSE(Picture::parse(bad)) << bad;
}

TEST_F(Pictures, NumbersGroupSignAndBlank) {
  EXPECT_EQ(pic("@n-12.2").format(-1234.5), "   -1,234.50");
  EXPECT_EQ(pic("@n-12.2").format(Decimal::fromCents(-123450)), "   -1,234.50");
  EXPECT_EQ(pic("@n-14").format(1234567), "     1,234,567");
  EXPECT_EQ(pic("@n9").format(42), "       42");
  EXPECT_EQ(pic("@n3").format(1), "  1");
  EXPECT_EQ(pic("@n-7").format(-12), "    -12");
  EXPECT_EQ(pic("@N17.2").format(0.5), "             0.50");
  EXPECT_EQ(pic("@n-12.2").format(0), "        0.00");
  EXPECT_EQ(pic("@n-12.2b").format(0), "            ");
  EXPECT_EQ(pic("@n9b").format(0), "         ");
  EXPECT_EQ(pic("@n_9").format(1234567), "  1234567");
  EXPECT_EQ(pic("@n06").format(42), "000042");
  EXPECT_EQ(pic("@n-06").format(-42), "-00042");
  // Too wide with grouping: shown without it; too wide even then: hashes.
  EXPECT_EQ(pic("@n7").format(1234567), "1234567");
  EXPECT_EQ(pic("@n3").format(1234), "###");
  // Rounding to the picture's places; a decimal rounds exactly.
  EXPECT_EQ(pic("@n8.1").format(Decimal::fromCents(995)), "    10.0");
  EXPECT_EQ(pic("@n5").format(Decimal::fromCents(-49)), "    0");
  EXPECT_EQ(pic("@n-12.2").format(-0.001), "        0.00");  // no "-0.00"
}

TEST_F(Pictures, NumbersParseWhatFitsAndRejectTheRest) {
  const Picture amount = pic("@n-12.2");
  EXPECT_EQ(amount.deformat("-1,234.50"), -1234.5);
  EXPECT_EQ(amount.deformatDecimal("1,234.56")->cents(), 123456);
  EXPECT_EQ(amount.deformatDecimal("(5)")->cents(), -500);
  EXPECT_EQ(amount.deformatDecimal("5-")->cents(), -500);
  EXPECT_EQ(amount.deformat(""), 0.0);
  EXPECT_EQ(amount.deformat("   "), 0.0);
  EXPECT_FALSE(amount.deformat("1.234"));      // more places than the picture has
  EXPECT_FALSE(amount.deformat("12a"));
  EXPECT_FALSE(amount.deformat("1.2.3"));
  EXPECT_FALSE(amount.deformat("1234567890.00"));  // does not fit 12 characters
  EXPECT_EQ(amount.deformat("123456789.00"), 123456789.0);
  const Picture whole = pic("@n-14");
  EXPECT_EQ(whole.deformat("1,234,567"), 1234567.0);
  EXPECT_EQ(whole.deformat("7.00"), 7.0);
  EXPECT_FALSE(whole.deformat("7.5"));
  EXPECT_EQ(pic("@n3").deformat("255"), 255.0);
  EXPECT_FALSE(pic("@n3").deformat("1000"));
  // What a picture shows, it reads back.
  for (double v : {0.0, 1.0, -1.0, 999999.99, -1234.5, 0.01}) EXPECT_EQ(amount.deformat(amount.format(v)), v) << v;
}

TEST_F(Pictures, DatesFormatInTheirLayouts) {
  const DayNumber d = dateFromYmd(2006, 3, 18);
  EXPECT_EQ(pic("@d2").format(d), "03/18/2006");
  EXPECT_EQ(pic("@d2-").format(d), "03-18-2006");
  EXPECT_EQ(pic("@d2-b").format(d), "03-18-2006");
  EXPECT_EQ(pic("@d2-b").format(0), "");
  EXPECT_EQ(pic("@d1").format(d), "03/18/06");
  EXPECT_EQ(pic("@d3").format(d), "Mar 18, 2006");
  EXPECT_EQ(pic("@d4").format(d), "March 18, 2006");
  EXPECT_EQ(pic("@d6.").format(d), "18.03.2006");
  EXPECT_EQ(pic("@d8").format(d), "18 Mar 2006");
  EXPECT_EQ(pic("@d10").format(d), "2006/03/18");
  EXPECT_EQ(pic("@d12").format(d), "20060318");
  EXPECT_EQ(pic("@d14").format(d), "03/2006");
  EXPECT_EQ(pic("@d17").format(d), "3/18/2006");
  EXPECT_EQ(pic("@D17").format(d), "3/18/2006");
  EXPECT_EQ(pic("@d17b").format(0), "");
  EXPECT_EQ(pic("@d18").format(d), "Saturday, March 18, 2006");
  EXPECT_EQ(pic("@d2").format(dateFromYmd(1801, 1, 1)), "01/01/1801");
}

TEST_F(Pictures, DatesParseWhatAUserTypes) {
  const DayNumber d = dateFromYmd(2006, 3, 18);
  const Picture us = pic("@d2-");
  EXPECT_EQ(us.deformat("03-18-2006"), d);
  EXPECT_EQ(us.deformat("3/18/2006"), d);
  EXPECT_EQ(us.deformat("3.18.06"), d);
  EXPECT_EQ(us.deformat("03182006"), d);
  EXPECT_EQ(us.deformat(""), 0.0);
  EXPECT_EQ(us.deformat("2/29/2000"), dateFromYmd(2000, 2, 29));
  EXPECT_FALSE(us.deformat("2/29/1900"));  // not a leap year
  EXPECT_FALSE(us.deformat("13/01/2006"));
  EXPECT_FALSE(us.deformat("03-18"));
  EXPECT_FALSE(us.deformat("hello"));
  EXPECT_FALSE(us.deformat("1/1/1800"));  // before the calendar starts
  // Two-digit years land near today (pinned to 2026).
  EXPECT_EQ(us.deformat("1/2/30"), dateFromYmd(2030, 1, 2));
  EXPECT_EQ(us.deformat("1/2/60"), dateFromYmd(1960, 1, 2));
  EXPECT_EQ(pic("@d6").deformat("18/03/2006"), d);
  EXPECT_EQ(pic("@d4").deformat("march 18, 2006"), d);
  EXPECT_EQ(pic("@d8").deformat("18 MAR 2006"), d);
  EXPECT_EQ(pic("@d17").deformat("3/18/2006"), d);
  EXPECT_EQ(pic("@d18").deformat("Saturday, March 18, 2006"), d);
  EXPECT_EQ(pic("@d14").deformat("03/2006"), dateFromYmd(2006, 3, 1));
  for (const char* p : {"@d1", "@d2", "@d3", "@d4", "@d5", "@d6", "@d7", "@d8", "@d9", "@d10", "@d11", "@d12",
                        "@d17", "@d18", "@d2-b", "@d17b"})
    EXPECT_EQ(pic(p).deformat(pic(p).format(d)), d) << p;
}

TEST_F(Pictures, TimesFormatAndParse) {
  const TimeOfDay t = timeFromHms(17, 30, 15);
  EXPECT_EQ(pic("@t3").format(t), "5:30PM");
  EXPECT_EQ(pic("@T3").format(timeFromHms(0, 5)), "12:05AM");
  EXPECT_EQ(pic("@t4").format(t), "17:30:15");
  EXPECT_EQ(pic("@t1").format(t), "17:30");
  EXPECT_EQ(pic("@t7").format(t), "5:30 PM");
  EXPECT_EQ(pic("@t8").format(t), "5:30:15 PM");
  EXPECT_EQ(pic("@t3").format(0), "");
  EXPECT_EQ(pic("@t3").deformat("5:30PM"), timeFromHms(17, 30));
  EXPECT_EQ(pic("@t3").deformat("5:30 pm"), timeFromHms(17, 30));
  EXPECT_EQ(pic("@t3").deformat("12:00am"), timeFromHms(0, 0));
  EXPECT_EQ(pic("@t3").deformat("17:30"), timeFromHms(17, 30));
  EXPECT_EQ(pic("@t4").deformat("17:30:15"), t);
  EXPECT_EQ(pic("@t4").deformat("173015"), t);
  EXPECT_EQ(pic("@t8").deformat("5:30:15 PM"), t);
  EXPECT_EQ(pic("@t4").deformat(""), 0.0);
  EXPECT_FALSE(pic("@t4").deformat("25:00"));
  EXPECT_FALSE(pic("@t3").deformat("13:00PM"));
  EXPECT_FALSE(pic("@t3").deformat("5:61"));
  EXPECT_FALSE(pic("@t3").deformat("PM 5:30"));
  EXPECT_FALSE(pic("@t3").deformat("noon"));
}

TEST_F(Pictures, TextIsCutToItsWidthInCharacters) {
  EXPECT_EQ(pic("@s5").formatText("abcdefgh"), "abcde");
  EXPECT_EQ(pic("@s3").formatText("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"), "\xC3\xA9\xC3\xA9\xC3\xA9");
  EXPECT_EQ(pic("@s20").deformatText("Other"), "Other");
  EXPECT_EQ(pic("@s2").deformatText("Other"), "Ot");
  EXPECT_EQ(pic("@s10").width(), 10);
  EXPECT_EQ(pic("@d2-").width(), 10);
  EXPECT_EQ(formatPicture(72746, "@d2"), "02/29/2000");
  EXPECT_EQ(formatPicture("abc", "@s2"), "ab");
}

TEST_F(Pictures, NumbersReadAndWriteThePointWhateverTheLocale) {
  // The system's pictures always use "." for the decimal point, as its data files do.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  bool comma = false;
  for (const char* l : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
    if (std::setlocale(LC_NUMERIC, l)) {
      comma = true;
      break;
    }
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(pic("@n-12.2").format(-1234.5), "   -1,234.50");
  EXPECT_EQ(pic("@n-12.2").deformat("12.5"), 12.5);
  EXPECT_EQ(formatPicture(2.5, "bogus"), "2.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(Pictures, ValuesBeyondAnyDateOrTimeShowBlank) {
  EXPECT_EQ(pic("@d2").format(1e300), "");
  EXPECT_EQ(pic("@d2").format(-3e9), "");
  EXPECT_EQ(pic("@t4").format(1e12), "");
  EXPECT_EQ(pic("@n5").format(1e308), "#####");
  EXPECT_EQ(dateFromYmd(2000, std::numeric_limits<int>::min(), 1), 0);
  EXPECT_EQ(dateFromYmd(2000, std::numeric_limits<int>::max(), 1), 0);
}
