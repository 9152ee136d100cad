// The read-only views the record views use: a filter's AND terms, range terms on bound
// fields, and order texts.
#include <gtest/gtest.h>

#include "expr_support.h"
#include "runtime/expr/filter_terms.h"
#include "runtime/expr/order.h"
#include "runtime/data/errors.h"
#include "runtime/text/dates.h"

using namespace exprtest;
using namespace vrt::expr;

namespace {

std::vector<FilterTerm> termsOf(const std::string& text) {
  const auto parsed = Expression::parse(text);
  EXPECT_TRUE(parsed.ok()) << parsed.error.message;
  return parsed ? splitAndTerms(*parsed.expression) : std::vector<FilterTerm>{};
}

std::optional<RangeTerm> rangeOf(const std::string& text) {
  const auto terms = termsOf(text);
  EXPECT_EQ(terms.size(), 1u) << text;
  return terms.empty() ? std::nullopt : terms[0].range();
}

}  // namespace

TEST(FilterTerms, SplitAtTopLevelAndsThroughParentheses) {
  BoundRequest req;
  const auto terms = termsOf("REQ:Number = 12 AND (REQ:Title = 'a' AND REQ:Done = 0) AND (REQ:Number > 1 OR REQ:Done = 1)");
  ASSERT_EQ(terms.size(), 4u);
  EXPECT_EQ(terms[0].position(), 1);
  EXPECT_EQ(terms[1].position(), 22);
  EXPECT_FALSE(terms[3].range()) << "an OR is one term, not a range";
  EXPECT_EQ(termsOf("REQ:Number = 1 OR REQ:Number = 2").size(), 1u);
  EXPECT_EQ(termsOf("NOT (REQ:Number = 1 AND REQ:Done = 0)").size(), 1u);
}

TEST(FilterTerms, RangeTermsOnFieldsAndUpperCasedFields) {
  BoundRequest req;
  const auto number = rangeOf("REQ:Number = 12");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->field.field.table, &requestTable());
  EXPECT_EQ(number->field.field.desc().label, "REQ:NUMBER");
  EXPECT_FALSE(number->field.upper);
  EXPECT_EQ(number->op, RangeOp::Equal);
  EXPECT_EQ(number->constant, Value::number(12));
  EXPECT_TRUE(number->numeric);

  const auto title = rangeOf("UPPER(REQ:Title) = UPPER('O''Neil')");
  ASSERT_TRUE(title);
  EXPECT_TRUE(title->field.upper);
  EXPECT_EQ(title->constant, Value::text("O'NEIL")) << "the constant side is evaluated once";
  EXPECT_FALSE(title->numeric);

  const auto asIs = rangeOf("UPPER(REQ:Title) => 'm'");
  ASSERT_TRUE(asIs);
  EXPECT_EQ(asIs->op, RangeOp::GreaterEqual);
  EXPECT_EQ(asIs->constant, Value::text("m")) << "a constant that is not upper-cased stays as written";

  EXPECT_TRUE(rangeOf("REQ:Title = 5")->numeric) << "a number on either side makes it numeric";
  EXPECT_EQ(rangeOf("REQ:DateStarted =< DATE(1, 1, 2000) + 1")->constant, Value::number(vrt::dateFromYmd(2000, 1, 1) + 1));
}

TEST(FilterTerms, EveryRangeOperatorAndTheTurnedRoundForms) {
  BoundRequest req;
  struct Case {
    const char* text;
    RangeOp op;
  };
  for (const Case c : {Case{"REQ:Number < 5", RangeOp::Less}, Case{"REQ:Number > 5", RangeOp::Greater},
                       Case{"REQ:Number <= 5", RangeOp::LessEqual}, Case{"REQ:Number =< 5", RangeOp::LessEqual},
                       Case{"REQ:Number >= 5", RangeOp::GreaterEqual}, Case{"REQ:Number => 5", RangeOp::GreaterEqual},
                       Case{"5 > REQ:Number", RangeOp::Less}, Case{"5 <= REQ:Number", RangeOp::GreaterEqual},
                       Case{"5 = REQ:Number", RangeOp::Equal}}) {
    const auto r = rangeOf(c.text);
    ASSERT_TRUE(r) << c.text;
    EXPECT_EQ(r->op, c.op) << c.text;
    EXPECT_EQ(r->constant, Value::number(5)) << c.text;
  }
}

TEST(FilterTerms, WhatIsNotARangeTerm) {
  BoundRequest req;
  std::string local = "x";
  BindingScope scope;
  bindName("LOC:Value", &local);
  for (const char* text : {"REQ:Number <> 5", "REQ:Number = REQ:Done", "REQ:Number = LOC:Value", "LOC:Value = 'x'",
                           "REQ:Number + 1 = 5", "REQ:Number = TODAY()", "REQ:Number = RANDOM(1, 2)", "REQ:Number = 1 / 0",
                           "LOWER(REQ:Title) = 'x'", "REQ:Number = 1 = 1", "INSTRING('a', REQ:Title, 1, 1)"})
    EXPECT_FALSE(rangeOf(text)) << text;
}

TEST(FilterTerms, TheRemainingTermsEvaluateAlone) {
  BoundRequest req;
  const auto terms = termsOf("REQ:Number = 12 AND REQ:Title = 'a' AND REQ:Done = 0");
  std::vector<FilterTerm> rest;
  for (const auto& t : terms)
    if (!t.range() || t.range()->field.field.desc().label != "REQ:NUMBER") rest.push_back(t);
  ASSERT_EQ(rest.size(), 2u);
  req.set("REQ:NUMBER", 99);  // pushed into the query: no longer this code's business
  req.set("REQ:TITLE", "a");
  EXPECT_TRUE(allTrue(rest));
  req.set("REQ:DONE", 1);
  EXPECT_FALSE(allTrue(rest));
}

TEST(FilterTerms, TermsKeepTheirTreeAlive) {
  BoundRequest req;
  std::vector<FilterTerm> terms;
  {
    const auto parsed = Expression::parse("REQ:Number = 0 AND REQ:Title = ''");
    ASSERT_TRUE(parsed.ok());
    terms = splitAndTerms(*parsed.expression);
  }
  EXPECT_TRUE(allTrue(terms));
}

TEST(OrderTexts, ComponentsWithDirectionAndTheirFields) {
  BoundRequest req;
  const auto order = parseOrder("REQ:DateStarted,-UPPER(REQ:Title), +REQ:Number , -REQ:Number * 2");
  ASSERT_TRUE(order.ok()) << order.error.message;
  const auto& c = *order.components;
  ASSERT_EQ(c.size(), 4u);
  EXPECT_FALSE(c[0].descending);
  EXPECT_EQ(c[0].field->field.desc().label, "REQ:DATESTARTED");
  EXPECT_TRUE(c[1].descending);
  EXPECT_TRUE(c[1].field->upper);
  EXPECT_EQ(c[1].expression.text(), "UPPER(REQ:Title)");
  EXPECT_FALSE(c[2].descending);
  EXPECT_EQ(c[2].expression.text(), "REQ:Number");
  EXPECT_TRUE(c[3].descending);
  EXPECT_FALSE(c[3].field) << "an expression, not a field";
  req.set("REQ:NUMBER", 4);
  EXPECT_EQ(c[3].expression.evaluate(), Value::number(8));
}

TEST(OrderTexts, BlankIsNoOrderAndErrorsAreReported) {
  BoundRequest req;
  const auto none = parseOrder("  ");
  ASSERT_TRUE(none.ok());
  EXPECT_TRUE(none.components->empty());
  const auto bad = parseOrder("REQ:Number,,REQ:Title");
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(bad.error.code, vrt::kExpressionSyntax);
  EXPECT_EQ(bad.error.position, 12);
  EXPECT_EQ(parseOrder("REQ:Number,-REQ:Nothing").error.code, vrt::kUnknownName);
  EXPECT_EQ(vrt::errorCode(), vrt::kUnknownName);
}
