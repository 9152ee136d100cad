#pragma once
// Helpers shared by the evaluator's tests: evaluate a text in one step, and a small table
// with a record buffer whose fields are bound the way the record store binds them.
#include <gtest/gtest.h>

#include <string>

#include "runtime/expr/bindings.h"
#include "runtime/expr/expression.h"
#include "runtime/data/schema.h"
#include "runtime/text/record.h"

namespace exprtest {

using vrt::expr::Value;

// The value of `text`; fails the test when it does not parse or a fault is reported.
inline Value eval(const std::string& text) {
  const auto parsed = vrt::expr::Expression::parse(text);
  EXPECT_TRUE(parsed.ok()) << text << ": " << parsed.error.message;
  if (!parsed) return Value::text("<parse error>");
  vrt::expr::EvalError fault;
  const Value v = parsed.expression->evaluate(&fault);
  EXPECT_FALSE(fault) << text << ": " << fault.message;
  return v;
}

inline std::string evalText(const std::string& text) { return eval(text).toText(); }
inline double evalNumber(const std::string& text) { return eval(text).toNumber(); }

// The fault `text` reports when evaluated (it must parse).
inline vrt::expr::EvalError fault(const std::string& text, Value* result = nullptr) {
  vrt::expr::EvalError e;
  const auto parsed = vrt::expr::Expression::parse(text);
  EXPECT_TRUE(parsed.ok()) << text << ": " << parsed.error.message;
  if (parsed) {
    const Value v = parsed.expression->evaluate(&e);
    if (result) *result = v;
  }
  return e;
}

inline vrt::expr::ParseError parseError(const std::string& text) {
  const auto parsed = vrt::expr::Expression::parse(text);
  EXPECT_FALSE(parsed.ok()) << text << " parsed";
  return parsed.error;
}

inline vrt::FieldDesc field(const char* label, vrt::FieldType type, std::uint32_t offset, std::uint32_t size) {
  vrt::FieldDesc f;
  f.label = label;
  f.name = std::string(label).substr(std::string(label).find(':') + 1);
  f.type = type;
  f.offset = offset;
  f.size = size;
  return f;
}

// A prayer-request-like table: number, title, date started, category (CSTRING), amount.
inline const vrt::TableSchema& requestTable() {
  static const vrt::TableSchema schema = [] {
    vrt::TableSchema s;
    s.label = "Request";
    s.prefix = "REQ";
    s.fields = {
        field("REQ:NUMBER", vrt::FieldType::Long, 0, 4),
        field("REQ:TITLE", vrt::FieldType::String, 4, 20),
        field("REQ:DATESTARTED", vrt::FieldType::Date, 24, 4),
        field("REQ:CATEGORY", vrt::FieldType::CString, 28, 12),
        field("REQ:AMOUNT", vrt::FieldType::Decimal, 40, 10),
        field("REQ:DONE", vrt::FieldType::Byte, 50, 1),
    };
    s.recordSize = 51;
    return s;
  }();
  return schema;
}

inline const vrt::FieldDesc& requestField(const char* label) {
  const auto& s = requestTable();
  return s.fields[static_cast<std::size_t>(s.fieldIndex(label))];
}

// A buffer of the table above, its fields bound while the object lives.
class BoundRequest {
 public:
  BoundRequest() : buffer(requestTable().recordSize) {
    buffer.clearAll(requestTable().fields);
    vrt::expr::bindRecord(requestTable(), buffer);
  }
  ~BoundRequest() { vrt::expr::unbindRecord(requestTable()); }
  BoundRequest(const BoundRequest&) = delete;
  BoundRequest& operator=(const BoundRequest&) = delete;

  void set(const char* label, const std::string& text) { buffer.setText(requestField(label), text); }
  void set(const char* label, double number) { buffer.setNumber(requestField(label), number); }

  vrt::RecordBuffer buffer;
};

}  // namespace exprtest
