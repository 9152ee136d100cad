// Arithmetic and number functions, and what they do with arguments outside their domain.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "expr_support.h"
#include "runtime/data/errors.h"

using namespace exprtest;

TEST(NumberFunctions, AbsIntAndRound) {
  EXPECT_EQ(evalNumber("ABS(-2.5)"), 2.5);
  EXPECT_EQ(evalNumber("INT(-2.7)"), -2) << "toward zero";
  EXPECT_EQ(evalNumber("INT(2.7)"), 2);
  EXPECT_EQ(evalNumber("ROUND(2.675, .01)"), 2.68) << "rounded as written, not as held in binary";
  EXPECT_EQ(evalNumber("ROUND(-2.5, 1)"), -3) << "halves away from zero";
  EXPECT_EQ(evalNumber("ROUND(1234, 100)"), 1200);
  EXPECT_EQ(evalNumber("ROUND(1250, -100)"), 1300) << "the step's sign does not matter";
  EXPECT_EQ(evalNumber("ROUND(7.3, 0)"), 7.3) << "a zero step leaves the value";
  EXPECT_EQ(evalNumber("ROUND(1e300, 1e-300)"), 1e300);
  EXPECT_EQ(evalText("ROUND(0.1 + 0.2, .01)"), "0.3");
}

TEST(NumberFunctions, TrigonometryAndLogarithms) {
  EXPECT_NEAR(evalNumber("SIN(3.14159265358979 / 2)"), 1, 1e-12);
  EXPECT_NEAR(evalNumber("COS(0)"), 1, 1e-12);
  EXPECT_NEAR(evalNumber("TAN(0.5)"), std::tan(0.5), 1e-12);
  EXPECT_NEAR(evalNumber("ASIN(1)"), M_PI / 2, 1e-12);
  EXPECT_NEAR(evalNumber("ACOS(-1)"), M_PI, 1e-12);
  EXPECT_NEAR(evalNumber("ATAN(1)"), M_PI / 4, 1e-12);
  EXPECT_EQ(evalNumber("SQRT(16)"), 4);
  EXPECT_EQ(evalNumber("LOG10(1000)"), 3);
  EXPECT_NEAR(evalNumber("LOGE(2.718281828459045)"), 1, 1e-12);
}

TEST(NumberFunctions, OutsideTheirDomainGiveZeroAndReport) {
  for (const char* bad : {"SQRT(-1)", "LOG10(0)", "LOGE(-5)", "ASIN(2)", "ACOS(-1.5)"}) {
    Value result = Value::number(99);
    const auto e = fault(bad, &result);
    EXPECT_EQ(e.code, vrt::kBadArgument) << bad;
    EXPECT_EQ(e.position, 1) << bad;
    EXPECT_NE(e.message.find(std::string(bad).substr(0, std::string(bad).find('('))), std::string::npos) << e.message;
    EXPECT_EQ(result, Value::number(0)) << bad;
  }
}

TEST(NumberFunctions, DivisionByZeroGivesZeroAndReportsWhere) {
  Value result = Value::number(99);
  const auto e = fault("10 + 1 / (2 - 2)", &result);
  EXPECT_EQ(result, Value::number(10));
  EXPECT_EQ(e.code, vrt::kBadArgument);
  EXPECT_EQ(e.position, 11) << "at the divisor";
  EXPECT_NE(e.message.find("Division by zero"), std::string::npos);
  EXPECT_EQ(fault("5 % 0", &result).code, vrt::kBadArgument);
  EXPECT_EQ(result, Value::number(0));
  EXPECT_EQ(evalNumber("-7 % 3"), -1) << "the remainder keeps the dividend's sign";
}

TEST(NumberFunctions, OverflowGivesZeroAndReports) {
  for (const char* big : {"10 ^ 400", "1e200 * 1e200", "0 ^ -1", "(-8) ^ 0.5", "-1e308 - 1e308"}) {
    Value result = Value::number(99);
    EXPECT_EQ(fault(big, &result).code, vrt::kBadArgument) << big;
    EXPECT_EQ(result, Value::number(0)) << big;
  }
}

TEST(NumberFunctions, OnlyTheFirstFaultIsReported) {
  const auto e = fault("1 / 0 + SQRT(-1)");
  EXPECT_NE(e.message.find("Division by zero"), std::string::npos) << e.message;
}

TEST(NumberFunctions, RandomStaysWithinItsBoundsInEitherOrder) {
  std::set<double> seen;
  for (int i = 0; i < 400; ++i) {
    const double r = evalNumber("RANDOM(1, 6)");
    ASSERT_GE(r, 1);
    ASSERT_LE(r, 6);
    ASSERT_EQ(r, std::trunc(r));
    seen.insert(r);
    const double reversed = evalNumber("RANDOM(3, -3)");
    ASSERT_GE(reversed, -3);
    ASSERT_LE(reversed, 3);
  }
  EXPECT_EQ(seen.size(), 6u) << "every value of a small range comes up";
  EXPECT_EQ(evalNumber("RANDOM(5, 5)"), 5);
  const double huge = evalNumber("RANDOM(-1e300, 1e300)");
  EXPECT_LE(std::fabs(huge), 9007199254740992.0);
}

TEST(NumberFunctions, TextOperandsReadAsNumbers) {
  EXPECT_EQ(evalNumber("'12 days' + 1"), 13);
  EXPECT_EQ(evalNumber("'abc' * 2"), 0);
  EXPECT_EQ(evalNumber("-'5'"), -5);
}
