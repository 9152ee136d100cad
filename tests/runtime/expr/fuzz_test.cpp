// Random text through the parser and the evaluator: token soup, and well-formed expressions
// with small damage done to them. Seeded, so a failure can be replayed; a fixed number of
// cases. Only consistency is asserted: no crash, the documented codes, sane positions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "expr_support.h"
#include "runtime/expr/filter_terms.h"
#include "runtime/expr/order.h"
#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"

using namespace exprtest;
using namespace vrt::expr;

namespace {

const char* const kVocabulary[] = {
    "1", "0", "42", "-", "+", "*", "/", "%", "^", "&", "=", "<>", "<", ">", "<=", ">=", "=<", "=>", "(", ")", ",",
    "NOT", "AND", "OR", "and", "'a'", "'O''Neil'", "''", "'", "'é", "@n-12.2", "@T3", "@d2-", "@x", "@", "1e308",
    "1e999", ".5", "9.", "REQ:Number", "REQ:Title", "req:datestarted", "LOC:Text", "LOC:Nothing", "SUB(", "INSTRING(",
    "UPPER(", "ALL(", "FORMAT(", "DEFORMAT(", "CHOOSE(", "MATCH(", "ROUND(", "DATE(", "AGE(", "CHR(", "LEFT(",
    "RANDOM(", "SQRT(", "TODAY()", "CLOCK()", "NOSUCH(", "é", "\xff", "\xc3", "#", "~", " ", "\t", "\n",
};

const char* const kFunctionsWithArity[][2] = {
    {"SUB", "3"}, {"INSTRING", "4"}, {"CLIP", "1"}, {"LEFT", "2"}, {"RIGHT", "2"}, {"CENTER", "2"}, {"ALL", "2"},
    {"LEN", "1"}, {"UPPER", "1"}, {"LOWER", "1"}, {"ISALPHA", "1"}, {"NUMERIC", "1"}, {"VAL", "1"}, {"CHR", "1"},
    {"DATE", "3"}, {"DAY", "1"}, {"YEAR", "1"}, {"AGE", "2"}, {"INT", "1"}, {"ROUND", "2"}, {"ABS", "1"},
    {"SQRT", "1"}, {"LOGE", "1"}, {"ACOS", "1"}, {"CHOOSE", "3"}, {"INLIST", "3"}, {"INRANGE", "3"}, {"MATCH", "3"},
    {"NULL", "1"}, {"RANDOM", "2"}, {"FORMAT", "2"},
};

const char* const kOperators[] = {" + ", " - ", " * ", " / ", " % ", " ^ ", " & ", " = ", " <> ", " < ", " >= ",
                                  " =< ", " => ", " AND ", " OR "};
const char* const kLeaves[] = {"1", "0", "-3", "2.5", "1e300", "'abc'", "'  '", "'O''Neil'", "'é'", "REQ:Number",
                               "REQ:Title", "REQ:DateStarted", "REQ:Amount", "LOC:Text", "@n9", "@d2"};

class Fuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    bindName("LOC:Text", &text);
    req.set("REQ:NUMBER", 7);
    req.set("REQ:TITLE", "Care");
  }

  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
  }
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  std::string soup() {
    std::string s;
    for (int n = below(12); n >= 0; --n) s += pick(kVocabulary);
    return s;
  }

  std::string wellFormed(int depth) {
    if (depth == 0 || below(3) == 0) return pick(kLeaves);
    switch (below(4)) {
      case 0: return wellFormed(depth - 1) + pick(kOperators) + wellFormed(depth - 1);
      case 1: return "(" + wellFormed(depth - 1) + ")";
      case 2: return below(2) ? "-" + wellFormed(depth - 1) : "(NOT " + wellFormed(depth - 1) + ")";
      default: {
        const auto& f = pick(kFunctionsWithArity);
        std::string s = std::string(f[0]) + "(";
        for (int i = 0, n = std::atoi(f[1]); i < n; ++i) s += (i ? ", " : "") + wellFormed(depth - 1);
        return s + ")";
      }
    }
  }

  std::string damaged(std::string s) {
    for (int n = below(3); n > 0 && !s.empty(); --n) {
      const auto at = static_cast<std::size_t>(below(static_cast<int>(s.size())));
      switch (below(3)) {
        case 0: s.erase(at, 1); break;
        case 1: s.insert(at, 1, "()',@:-"[below(7)]); break;
        default: std::swap(s[at], s[(at + 1) % s.size()]);
      }
    }
    return s;
  }

  // Parses and evaluates `s` every way the system does, checking only consistency.
  void exercise(const std::string& s, bool mustParse) {
    const auto parsed = Expression::parse(s);
    if (!parsed) {
      ASSERT_FALSE(mustParse) << s << ": " << parsed.error.message;
      ASSERT_TRUE(parsed.error.code == vrt::kExpressionSyntax || parsed.error.code == vrt::kUnknownName) << s;
      ASSERT_GE(parsed.error.position, 1) << s;
      ASSERT_LE(parsed.error.position, static_cast<int>(vrt::utf8Length(s)) + 1) << s;
      ASSERT_FALSE(parsed.error.message.empty()) << s;
      ASSERT_EQ(vrt::errorCode(), parsed.error.code) << s;
    } else {
      EvalError fault;
      const Value v = parsed.expression->evaluate(&fault);
      ASSERT_TRUE(fault.code == 0 || fault.code == vrt::kBadArgument) << s << ": " << fault.message;
      ASSERT_TRUE(std::isfinite(v.toNumber())) << s;
      ASSERT_EQ(fault.message.empty(), fault.code == 0) << s;
      for (const auto& term : splitAndTerms(*parsed.expression)) {
        (void)term.range();
        (void)term.isTrue();
      }
    }
    (void)parseOrder(s);
  }

  std::mt19937 rng{20261209};
  BindingScope scope;
  BoundRequest req;
  std::string text = "text";
};

}  // namespace

TEST_F(Fuzz, TokenSoup) {
  for (int i = 0; i < 30000; ++i) ASSERT_NO_FATAL_FAILURE(exercise(soup(), false));
}

TEST_F(Fuzz, WellFormedExpressionsParseAndEvaluate) {
  for (int i = 0; i < 5000; ++i) ASSERT_NO_FATAL_FAILURE(exercise(wellFormed(4), true));
}

TEST_F(Fuzz, DamagedExpressions) {
  for (int i = 0; i < 20000; ++i) ASSERT_NO_FATAL_FAILURE(exercise(damaged(wellFormed(4)), false));
}

TEST_F(Fuzz, RandomBytes) {
  for (int i = 0; i < 20000; ++i) {
    std::string s(static_cast<std::size_t>(below(24)), ' ');
    for (char& c : s) c = static_cast<char>(below(256));
    ASSERT_NO_FATAL_FAILURE(exercise(s, false));
  }
}
