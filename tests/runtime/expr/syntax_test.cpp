// The language: literals, operators and their precedence, and the errors of bad text.
#include <gtest/gtest.h>

#include "expr_support.h"
#include "runtime/expr/parser.h"
#include "runtime/data/errors.h"

using namespace exprtest;
using vrt::expr::Expression;

TEST(Syntax, LiteralsNumbersTextsAndPictures) {
  EXPECT_EQ(eval("42"), Value::number(42));
  EXPECT_EQ(eval(".5"), Value::number(0.5));
  EXPECT_EQ(eval("1e+20"), Value::number(1e20)) << "numbers read back as they are written out";
  EXPECT_EQ(eval("2.5E-1"), Value::number(0.25));
  EXPECT_EQ(eval("'O''Neil'"), Value::text("O'Neil"));
  EXPECT_EQ(eval("''"), Value::text(""));
  EXPECT_EQ(eval("''''"), Value::text("'"));
  EXPECT_EQ(eval("'naïve café'"), Value::text("naïve café"));
  EXPECT_EQ(eval("@n-12.2"), Value::text("@n-12.2")) << "a picture is a text constant";
}

TEST(Syntax, PrecedenceFromPowerDownToOr) {
  EXPECT_EQ(evalNumber("2 + 3 * 4"), 14);
  EXPECT_EQ(evalNumber("(2 + 3) * 4"), 20);
  EXPECT_EQ(evalNumber("-2 ^ 2"), -4) << "^ binds tighter than unary minus";
  EXPECT_EQ(evalNumber("2 ^ 3 ^ 2"), 64) << "operators of one level work left to right";
  EXPECT_EQ(evalNumber("2 ^ -1"), 0.5);
  EXPECT_EQ(evalNumber("2 ^ -1 ^ 2"), 0.25) << "a sign belongs to the exponent only";
  EXPECT_EQ(evalNumber("10 - 4 - 3"), 3);
  EXPECT_EQ(evalNumber("7 % 4 * 2"), 6);
  EXPECT_EQ(evalNumber("-3 * -3"), 9);
  EXPECT_EQ(evalNumber("- - 3"), 3);
  EXPECT_EQ(evalNumber("+3"), 3);
  EXPECT_EQ(evalText("1 + 2 & 3 * 4"), "312") << "& comes after the arithmetic";
  EXPECT_EQ(evalNumber("'a' & 'b' = 'ab'"), 1) << "comparisons come after &";
  EXPECT_EQ(evalNumber("NOT 1 = 2"), 1) << "NOT applies to the whole comparison";
  EXPECT_EQ(evalNumber("NOT 0 AND 0"), 0) << "NOT binds tighter than AND";
  EXPECT_EQ(evalNumber("1 OR 0 AND 0"), 1) << "AND binds tighter than OR";
  EXPECT_EQ(evalNumber("(1 OR 0) AND 0"), 0);
  EXPECT_EQ(evalNumber("NOT NOT 5"), 1);
}

TEST(Syntax, EveryComparisonOperatorIncludingTheReversedForms) {
  struct Case {
    const char* op;
    bool lt, eq, gt;  // 1 op 2, 2 op 2, 3 op 2
  };
  for (const Case c : {Case{"=", false, true, false}, Case{"<>", true, false, true}, Case{"<", true, false, false},
                       Case{">", false, false, true}, Case{"<=", true, true, false}, Case{"=<", true, true, false},
                       Case{">=", false, true, true}, Case{"=>", false, true, true}}) {
    EXPECT_EQ(eval(std::string("1 ") + c.op + " 2").isTrue(), c.lt) << c.op;
    EXPECT_EQ(eval(std::string("2 ") + c.op + " 2").isTrue(), c.eq) << c.op;
    EXPECT_EQ(eval(std::string("3") + c.op + "2").isTrue(), c.gt) << c.op << " without blanks";
  }
  EXPECT_EQ(evalNumber("1 < 2 = 1"), 1) << "a comparison's result is 1 or 0";
}

TEST(Syntax, WordsAndFunctionNamesIgnoreCase) {
  EXPECT_EQ(evalNumber("1 and not 0 Or 0"), 1);
  EXPECT_EQ(evalText("upper('a') & Upper('b')"), "AB");
}

TEST(Syntax, WhitespaceOfAnyKindSeparates) { EXPECT_EQ(evalNumber("\t1\r\n+\n2 "), 3); }

TEST(Syntax, SyntaxErrorsAre800WithThePositionOfTheFault) {
  struct Case {
    const char* text;
    int position;
  };
  for (const Case c : {Case{"1 +", 4}, Case{"(1 + 2", 7}, Case{"1 2", 3}, Case{"'open", 1}, Case{"1 # 2", 3},
                       Case{"", 1}, Case{"   ", 1}, Case{"SUB('abc')", 1}, Case{"LEN('a', 'b')", 1},
                       Case{"FORMAT(1, @x9)", 11}, Case{"1 == 2", 4}, Case{"* 3", 1}, Case{"'é' é", 5},
                       Case{"UPPER('a'", 10}, Case{"LEN(,)", 5}, Case{"(1) (2)", 5}, Case{"1, 2", 2}, Case{"1e", 2}, Case{"1e999", 1}}) {
    const auto e = parseError(c.text);
    EXPECT_EQ(e.code, vrt::kExpressionSyntax) << c.text << ": " << e.message;
    EXPECT_EQ(e.position, c.position) << c.text << ": " << e.message;
    EXPECT_NE(e.message.find("position " + std::to_string(c.position)), std::string::npos) << e.message;
  }
}

TEST(Syntax, UnknownNamesAndFunctionsAre801) {
  const auto name = parseError("1 + NOSUCH:Name");
  EXPECT_EQ(name.code, vrt::kUnknownName);
  EXPECT_EQ(name.position, 5);
  EXPECT_NE(name.message.find("NOSUCH:Name"), std::string::npos) << name.message;

  const auto function = parseError("FROB(1)");
  EXPECT_EQ(function.code, vrt::kUnknownName);
  EXPECT_EQ(function.position, 1);
}

TEST(Syntax, AFailedParseSetsTheThreadsErrorState) {
  vrt::clearError();
  (void)Expression::parse("1 +");
  EXPECT_EQ(vrt::errorCode(), vrt::kExpressionSyntax);
  (void)Expression::parse("PRA:Missing = 1");
  EXPECT_EQ(vrt::errorCode(), vrt::kUnknownName);
  EXPECT_NE(vrt::errorMessage().find("PRA:Missing"), std::string::npos);
}

TEST(Syntax, NestingIsBoundedSoThatNoTextExhaustsTheStack) {
  const int limit = vrt::expr::kMaxNesting;
  auto nested = [](int depth, const char* open, const char* close) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += open;
    s += "1";
    for (int i = 0; i < depth; ++i) s += close;
    return s;
  };
  EXPECT_EQ(evalNumber(nested(limit, "(", ")")), 1);
  EXPECT_EQ(evalNumber(nested(limit, "ABS(", ")")), 1);
  EXPECT_EQ(parseError(nested(limit + 1, "(", ")")).code, vrt::kExpressionSyntax);
  EXPECT_EQ(parseError(nested(100000, "(", ")")).code, vrt::kExpressionSyntax);
  EXPECT_EQ(parseError(nested(100000, "-", "")).code, vrt::kExpressionSyntax);
  EXPECT_EQ(parseError(nested(100000, "NOT ", "")).code, vrt::kExpressionSyntax);
  EXPECT_EQ(parseError("2 ^ " + nested(100000, "-", "")).code, vrt::kExpressionSyntax);
}

TEST(Syntax, LongFlatChainsNeedNoNesting) {
  std::string sum = "0";
  std::string ors = "0";
  for (int i = 1; i <= 5000; ++i) {
    sum += " + " + std::to_string(i);
    ors += " OR " + std::to_string(i) + " = 4999";
  }
  EXPECT_EQ(evalNumber(sum), 5000.0 * 5001 / 2);
  EXPECT_EQ(evalNumber(ors), 1);
}

TEST(Syntax, ParsedOnceEvaluatedManyTimes) {
  double counter = 0;
  vrt::expr::BindingScope scope;
  vrt::expr::bindName("LOC:Counter", [&counter] { return Value::number(counter); });
  const auto parsed = Expression::parse("LOC:Counter * 2");
  ASSERT_TRUE(parsed.ok());
  for (counter = 0; counter < 5; ++counter) EXPECT_EQ(parsed.expression->evaluate().toNumber(), counter * 2);
}
