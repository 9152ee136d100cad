#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/expr/value.h"

using vrt::expr::compareValues;
using vrt::expr::isNumericText;
using vrt::expr::numberFromText;
using vrt::expr::textFromNumber;
using vrt::expr::Value;

TEST(Values, TruthOfNumbersAndTexts) {
  EXPECT_TRUE(Value::number(-0.5).isTrue());
  EXPECT_FALSE(Value::number(0).isTrue());
  EXPECT_TRUE(Value::text("x").isTrue());
  EXPECT_TRUE(Value::text("0").isTrue()) << "a text is true when it is not blank, whatever it reads as";
  EXPECT_FALSE(Value::text("   ").isTrue());
  EXPECT_FALSE(Value::text("").isTrue());
}

TEST(Values, NeverHoldNaNOrInfinity) {
  EXPECT_EQ(Value::number(std::numeric_limits<double>::quiet_NaN()).toNumber(), 0);
  EXPECT_EQ(Value::number(std::numeric_limits<double>::infinity()).toNumber(), 0);
  EXPECT_EQ(Value::number(-0.0).toText(), "0");
}

TEST(Values, TextReadsAsTheNumberAtItsStart) {
  EXPECT_EQ(numberFromText("  42"), 42);
  EXPECT_EQ(numberFromText("12 days"), 12);
  EXPECT_EQ(numberFromText("-3.25"), -3.25);
  EXPECT_EQ(numberFromText("+.5"), 0.5);
  EXPECT_EQ(numberFromText("7."), 7);
  EXPECT_EQ(numberFromText("1e3"), 1000);
  EXPECT_EQ(numberFromText("2e"), 2) << "an exponent without digits is not part of the number";
  for (const char* notANumber : {"", "abc", "-", ".", "inf", "nan", "0x10"})
    EXPECT_EQ(numberFromText(notANumber), 0) << notANumber;
  EXPECT_EQ(numberFromText("1e999"), 0) << "a number beyond range reads as 0, never as infinity";
}

TEST(Values, NumericTextIsAWholeNumberAndNothingElse) {
  for (const char* yes : {"1", " -2.5 ", "0.25", ".5", "3e2", "+7"}) EXPECT_TRUE(isNumericText(yes)) << yes;
  for (const char* no : {"", "  ", "1,234", "12 days", "abc", "-", "1.2.3", "$5"}) EXPECT_FALSE(isNumericText(no)) << no;
}

TEST(Values, NumbersAsTextRoundTrip) {
  EXPECT_EQ(textFromNumber(42), "42");
  EXPECT_EQ(textFromNumber(-1234567), "-1234567");
  EXPECT_EQ(textFromNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(textFromNumber(2.5), "2.5");
  EXPECT_EQ(textFromNumber(75000), "75000");
  EXPECT_EQ(textFromNumber(123456789012345), "123456789012345");
  for (double n : {1e20, -3.5e-7, 1.0 / 3, 6300001.0}) EXPECT_NEAR(numberFromText(textFromNumber(n)), n, std::fabs(n) * 1e-14) << n;
}

TEST(Values, ComparisonIsNumericWhenEitherSideIsANumber) {
  EXPECT_EQ(compareValues(Value::text("10"), Value::number(9)), 1);
  EXPECT_EQ(compareValues(Value::number(9), Value::text("10")), -1);
  EXPECT_EQ(compareValues(Value::text("abc"), Value::number(0)), 0) << "a text that is no number reads as 0";
  EXPECT_EQ(compareValues(Value::text("10"), Value::text("9")), -1) << "two texts compare as text";
}

TEST(Values, TextComparisonIgnoresTrailingBlanksButNotCase) {
  EXPECT_EQ(compareValues(Value::text("Care  "), Value::text("Care")), 0);
  EXPECT_NE(compareValues(Value::text(" Care"), Value::text("Care")), 0);
  EXPECT_NE(compareValues(Value::text("care"), Value::text("CARE")), 0);
}
