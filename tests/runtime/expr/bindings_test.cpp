// Bound names: scopes, variables, record fields read as they are when evaluated.
#include <gtest/gtest.h>

#include "expr_support.h"
#include "runtime/os/thread_state.h"
#include "runtime/data/errors.h"

using namespace exprtest;
using namespace vrt::expr;

TEST(Bindings, AScopeHidesOuterNamesUntilItCloses) {
  std::string outer = "outer", inner = "inner";
  BindingScope window;
  bindName("LOC:Name", &outer);
  EXPECT_EQ(evalText("LOC:Name"), "outer");
  {
    BindingScope form;
    bindName("loc:name", &inner);
    EXPECT_EQ(evalText("LOC:NAME"), "inner") << "names ignore case";
  }
  EXPECT_EQ(evalText("LOC:Name"), "outer");
  window.close();
  EXPECT_EQ(parseError("LOC:Name").code, vrt::kUnknownName);
}

TEST(Bindings, ClosingAScopeClosesTheScopesOpenedInsideIt) {
  std::string a = "a", b = "b", c = "c";
  auto outer = std::make_unique<BindingScope>();
  bindName("LOC:A", &a);
  auto inner = std::make_unique<BindingScope>();
  bindName("LOC:B", &b);
  outer.reset();
  EXPECT_EQ(parseError("LOC:A").code, vrt::kUnknownName);
  EXPECT_EQ(parseError("LOC:B").code, vrt::kUnknownName);
  BindingScope later;
  bindName("LOC:C", &c);
  inner.reset();  // already closed with its outer scope; must not touch the later one
  EXPECT_EQ(evalText("LOC:C"), "c");
}

TEST(Bindings, UnbindRemovesTheNewestBindingOnly) {
  std::string first = "first", second = "second";
  BindingScope scope;
  bindName("LOC:X", &first);
  bindName("LOC:X", &second);
  EXPECT_EQ(evalText("LOC:X"), "second");
  EXPECT_TRUE(unbindName("loc:x"));
  EXPECT_EQ(evalText("LOC:X"), "first");
  EXPECT_TRUE(unbindName("LOC:X"));
  EXPECT_FALSE(unbindName("LOC:X"));
}

TEST(Bindings, VariablesAreReadWhenEvaluatedNotWhenParsed) {
  BindingScope scope;
  Value count = Value::number(1);
  std::string category = "Family";
  bindName("LOC:Count", &count);
  bindName("RUNTIMECATEGORY", &category);
  const auto parsed = Expression::parse("LOC:Count & ':' & RUNTIMECATEGORY");
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.expression->evaluate().toText(), "1:Family");
  count = Value::text("two");
  category = "Health";
  EXPECT_EQ(parsed.expression->evaluate().toText(), "two:Health");
}

TEST(Bindings, WritingThroughABinding) {
  BindingScope scope;
  std::string text;
  Value value;
  double seen = 0;
  bindName("LOC:Text", &text);
  bindName("LOC:Value", &value);
  bindName("LOC:Read", [] { return Value::number(1); });
  bindName("LOC:Both", [] { return Value::number(2); }, [&seen](const Value& v) { seen = v.toNumber(); });
  EXPECT_TRUE(findBinding("LOC:Text")->write(Value::number(7)));
  EXPECT_EQ(text, "7");
  EXPECT_TRUE(findBinding("LOC:Value")->write(Value::text("v")));
  EXPECT_EQ(value, Value::text("v"));
  EXPECT_FALSE(findBinding("LOC:Read")->write(Value::number(3))) << "no writer: read-only";
  EXPECT_TRUE(findBinding("LOC:Both")->write(Value::number(3)));
  EXPECT_EQ(seen, 3);
}

TEST(Bindings, RecordFieldsReadTheBuffersCurrentValueByType) {
  BoundRequest req;
  const auto parsed = Expression::parse("REQ:Number & '|' & REQ:Title & '|' & REQ:Category & '|' & REQ:Amount & '|' & REQ:DateStarted");
  ASSERT_TRUE(parsed.ok()) << parsed.error.message;
  EXPECT_EQ(parsed.expression->evaluate().toText(), "0|||0|0");
  req.set("REQ:NUMBER", 17);
  req.set("REQ:TITLE", "Healing");
  req.set("REQ:CATEGORY", "Family");
  req.set("REQ:AMOUNT", "12.50");
  req.set("REQ:DATESTARTED", 75000);
  EXPECT_EQ(parsed.expression->evaluate().toText(), "17|Healing|Family|12.5|75000");

  EXPECT_TRUE(eval("REQ:Title").isText()) << "text fields are texts, clipped";
  EXPECT_TRUE(eval("REQ:DateStarted").isNumber()) << "dates are day numbers";
  EXPECT_TRUE(eval("REQ:Amount").isNumber());
}

TEST(Bindings, WritingAFieldStoresItAsItsTypeTakesIt) {
  BoundRequest req;
  ASSERT_TRUE(findBinding("REQ:Title")->write(Value::text("A title much longer than twenty bytes")));
  EXPECT_EQ(evalText("REQ:Title"), "A title much longer") << "cut to twenty bytes, read back clipped";
  ASSERT_TRUE(findBinding("REQ:Number")->write(Value::text("42")));
  EXPECT_EQ(evalNumber("REQ:Number"), 42);
  ASSERT_TRUE(findBinding("REQ:Amount")->write(Value::number(3.25)));
  EXPECT_EQ(evalNumber("REQ:Amount"), 3.25);
}

TEST(Bindings, ARecordOutlivesWindowScopesAndCanBeHiddenByThem) {
  BoundRequest req;
  req.set("REQ:TITLE", "stored");
  std::string local = "local";
  {
    BindingScope window;
    bindName("REQ:Title", &local);
    EXPECT_EQ(evalText("REQ:Title"), "local");
    vrt::expr::bindRecord(requestTable(), req.buffer);  // the table opened while a window is up
    EXPECT_EQ(evalText("REQ:Title"), "local") << "the window's name still hides the table's";
  }
  EXPECT_EQ(evalText("REQ:Title"), "stored") << "the table's fields stay bound after the window closes";
}

TEST(Bindings, AnExpressionWhoseNameWasUnboundNoLongerTouchesItsTarget) {
  auto req = std::make_unique<BoundRequest>();
  req->set("REQ:TITLE", "before");
  const auto parsed = Expression::parse("REQ:Title & '!'");
  ASSERT_TRUE(parsed.ok());
  req.reset();  // unbinds and frees the buffer
  EvalError fault;
  EXPECT_EQ(parsed.expression->evaluate(&fault).toText(), "!");
  EXPECT_EQ(fault.code, vrt::kUnknownName);
  EXPECT_EQ(fault.position, 1);

  BoundRequest reopened;  // the table bound again: the expression reads the new buffer
  reopened.set("REQ:TITLE", "after");
  EvalError none;
  EXPECT_EQ(parsed.expression->evaluate(&none).toText(), "after!");
  EXPECT_FALSE(none);
}

TEST(Bindings, EachThreadHasItsOwnNames) {
  std::string mine = "mine";
  BindingScope scope;
  bindName("LOC:Owner", &mine);
  vrt::ThreadContext other(99);
  {
    vrt::ThreadContextScope onOther(other);
    EXPECT_EQ(parseError("LOC:Owner").code, vrt::kUnknownName);
    std::string theirs = "theirs";
    bindName("LOC:Owner", &theirs);
    EXPECT_EQ(evalText("LOC:Owner"), "theirs");
    unbindName("LOC:Owner");
  }
  EXPECT_EQ(evalText("LOC:Owner"), "mine");
}

TEST(Bindings, FieldsOutsideAShortBufferAreNotBound) {
  vrt::RecordBuffer shortRecord(30);  // ends inside REQ:CATEGORY
  bindRecord(requestTable(), shortRecord);
  EXPECT_EQ(evalNumber("REQ:DateStarted"), 0);
  EXPECT_EQ(parseError("REQ:Category").code, vrt::kUnknownName);
  EXPECT_EQ(parseError("REQ:Amount").code, vrt::kUnknownName);
  unbindRecord(requestTable());
  EXPECT_EQ(parseError("REQ:Number").code, vrt::kUnknownName);
}
