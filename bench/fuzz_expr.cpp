// libFuzzer entry for the expression evaluator: every input is parsed as a filter and as
// an order text, and what parses is evaluated and taken apart as the record views do.
//   cmake -DVESP_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ …; ./bench/fuzz_expr -max_total_time=60
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/expr/bindings.h"
#include "runtime/expr/expression.h"
#include "runtime/expr/filter_terms.h"
#include "runtime/expr/order.h"

namespace {

vrt::FieldDesc field(const char* label, vrt::FieldType type, std::uint32_t offset, std::uint32_t size) {
  vrt::FieldDesc f;
  f.label = label;
  f.type = type;
  f.offset = offset;
  f.size = size;
  return f;
}

// A small table and a few names, bound once for the whole run.
struct Names {
  vrt::TableSchema table;
  vrt::RecordBuffer record{40};
  std::string text = "Care";
  vrt::expr::Value value = vrt::expr::Value::number(12);

  Names() {
    table.label = "Fuzz";
    table.prefix = "FUZ";
    table.recordSize = 40;
    table.fields = {field("FUZ:NUMBER", vrt::FieldType::Long, 0, 4), field("FUZ:TITLE", vrt::FieldType::String, 4, 20),
                    field("FUZ:DATE", vrt::FieldType::Date, 24, 4), field("FUZ:AMOUNT", vrt::FieldType::Decimal, 28, 10)};
    record.clearAll(table.fields);
    record.setText(table.fields[1], "Prayer for Sam");
    vrt::expr::bindRecord(table, record);
    vrt::expr::bindName("LOC:Text", &text);
    vrt::expr::bindName("LOC:Value", &value);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Names names;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto parsed = vrt::expr::Expression::parse(text)) {
    vrt::expr::EvalError fault;
    (void)parsed.expression->evaluate(&fault);
    for (const auto& term : vrt::expr::splitAndTerms(*parsed.expression)) {
      (void)term.range();
      (void)term.isTrue();
    }
  }
  if (const auto order = vrt::expr::parseOrder(text)) {
    for (const auto& c : *order.components) (void)c.expression.evaluate();
  }
  return 0;
}
