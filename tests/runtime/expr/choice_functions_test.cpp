// CHOOSE, INLIST, INRANGE, MATCH and NULL.
#include <gtest/gtest.h>

#include "expr_support.h"
#include "runtime/data/errors.h"

using namespace exprtest;

TEST(ChoiceFunctions, ChooseTakesTheNthValueOrTheLast) {
  EXPECT_EQ(evalText("CHOOSE(2, 'a', 'b', 'c')"), "b");
  EXPECT_EQ(evalText("CHOOSE(1.9, 'a', 'b')"), "a");
  for (const char* out : {"CHOOSE(0, 'a', 'b', 'c')", "CHOOSE(4, 'a', 'b', 'c')", "CHOOSE(-1e300, 'a', 'b', 'c')",
                          "CHOOSE(1e300, 'a', 'b', 'c')"})
    EXPECT_EQ(evalText(out), "c") << out;
  EXPECT_EQ(eval("CHOOSE(1, 5)"), Value::number(5)) << "the value keeps its kind";
}

TEST(ChoiceFunctions, InlistGivesThePositionUnderTheComparisonRules) {
  EXPECT_EQ(evalNumber("INLIST('b', 'a', 'b', 'b')"), 2);
  EXPECT_EQ(evalNumber("INLIST('z', 'a', 'b')"), 0);
  EXPECT_EQ(evalNumber("INLIST('B', 'a', 'b')"), 0) << "case counts";
  EXPECT_EQ(evalNumber("INLIST('b  ', 'a', 'b')"), 2) << "trailing blanks do not";
  EXPECT_EQ(evalNumber("INLIST(3, '1', '03', '3')"), 2) << "numeric when one side is a number";
}

TEST(ChoiceFunctions, InrangeIncludesBothEnds) {
  EXPECT_EQ(evalNumber("INRANGE(5, 1, 5)"), 1);
  EXPECT_EQ(evalNumber("INRANGE(1, 1, 5)"), 1);
  EXPECT_EQ(evalNumber("INRANGE(6, 1, 5)"), 0);
  EXPECT_EQ(evalNumber("INRANGE('m', 'a', 'z')"), 1);
  EXPECT_EQ(evalNumber("INRANGE(3, 5, 1)"), 0) << "an empty range holds nothing";
}

TEST(ChoiceFunctions, MatchWildcardsByDefault) {
  EXPECT_EQ(evalNumber("MATCH('Prayer for Sam', 'Prayer*')"), 1);
  EXPECT_EQ(evalNumber("MATCH('Prayer for Sam', '*for*')"), 1);
  EXPECT_EQ(evalNumber("MATCH('Sam', 'S?m')"), 1);
  EXPECT_EQ(evalNumber("MATCH('Sam', 'S?')"), 0);
  EXPECT_EQ(evalNumber("MATCH('Sam   ', 'Sam')"), 1) << "trailing blanks are ignored";
  EXPECT_EQ(evalNumber("MATCH('café', 'caf?')"), 1) << "? is one character, not one byte";
  EXPECT_EQ(evalNumber("MATCH('aaa', '*a*a*a*a')"), 0);
  EXPECT_EQ(evalNumber("MATCH('sam', 'SAM')"), 0);
  EXPECT_EQ(evalNumber("MATCH('sam', 'S*', 17)"), 1) << "wildcards without case";
}

TEST(ChoiceFunctions, MatchSimpleRegularAndSoundex) {
  EXPECT_EQ(evalNumber("MATCH('abc', 'abc', 0)"), 1);
  EXPECT_EQ(evalNumber("MATCH('abc', 'a*', 0)"), 0) << "simple matching has no wildcards";
  EXPECT_EQ(evalNumber("MATCH('abc', 'ABC', 16)"), 1);
  EXPECT_EQ(evalNumber("MATCH('Call 555-1234', '[0-9]{3}-[0-9]{4}', 2)"), 1) << "found anywhere";
  EXPECT_EQ(evalNumber("MATCH('Call us', '^us', 2)"), 0);
  EXPECT_EQ(evalNumber("MATCH('CALL US', 'call', 18)"), 1);
  EXPECT_EQ(evalNumber("MATCH('Robert', 'Rupert', 3)"), 1);
  EXPECT_EQ(evalNumber("MATCH('Ashcraft', 'Ashcroft', 3)"), 1);
  EXPECT_EQ(evalNumber("MATCH('Robert', 'Rubin', 3)"), 0);
  EXPECT_EQ(evalNumber("MATCH('', '', 3)"), 0);
}

TEST(ChoiceFunctions, MatchReportsBadPatternsAndModes) {
  Value result;
  EXPECT_EQ(fault("MATCH('a', '(', 2)", &result).code, vrt::kBadArgument);
  EXPECT_EQ(result, Value::number(0));
  EXPECT_EQ(fault("MATCH('a', 'a', 9)").code, vrt::kBadArgument);
}

TEST(ChoiceFunctions, NullMeansNothingHeld) {
  EXPECT_EQ(evalNumber("NULL(0)"), 1);
  EXPECT_EQ(evalNumber("NULL('   ')"), 1);
  EXPECT_EQ(evalNumber("NULL('x')"), 0);
  EXPECT_EQ(evalNumber("NULL(DATE(1, 1, 2000))"), 0);
  BoundRequest req;
  EXPECT_EQ(evalNumber("NULL(REQ:DateStarted)"), 1) << "a date field without a date";
  req.set("REQ:DATESTARTED", 75000);
  EXPECT_EQ(evalNumber("NULL(REQ:DateStarted)"), 0);
}
