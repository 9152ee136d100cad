#pragma once
// Order texts: the sort a view reads in, as the view manager writes it from a key
// ("SER:WeekOfDate,-UPPER(SER:Title)"): expressions separated by commas, each preceded by
// "-" when descending.
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/expr/expression.h"

namespace vrt::expr {

struct OrderComponent {
  Expression expression;
  bool descending = false;
  // Set when the component is a bound field or UPPER of one, as keys give them.
  std::optional<FieldTerm> field;
};

struct OrderParseResult {
  std::optional<std::vector<OrderComponent>> components;  // blank text: none
  ParseError error;
  bool ok() const { return components.has_value(); }
  explicit operator bool() const { return ok(); }
};

// On failure the thread's error state is set too, as for Expression::parse.
OrderParseResult parseOrder(std::string_view text);

}  // namespace vrt::expr
