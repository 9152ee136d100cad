#pragma once
// Builds the tree of an expression. Names are resolved against the current thread's
// bindings as they are met; a name that is not bound is error 801.
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/expr/node.h"
#include "runtime/expr/problems.h"

namespace vrt::expr {

// Deepest nesting of parentheses, calls and prefix operators that an expression may use.
inline constexpr int kMaxNesting = 50;

// nullptr with `error` set when the text is not an expression.
NodePtr parseTree(std::string_view text, ParseError& error);

// An order text: expressions separated by commas, each optionally preceded by "-"
// (descending) or "+". Blank text is an empty list.
struct ParsedComponent {
  NodePtr node;
  bool descending = false;
  std::string text;  // the expression as written, without its sign
};
std::optional<std::vector<ParsedComponent>> parseComponents(std::string_view text, ParseError& error);

}  // namespace vrt::expr
