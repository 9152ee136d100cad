#pragma once
// An expression of the filter and order language, parsed once and evaluated any number of
// times against the current values of the names it uses.
//
//   auto parsed = Expression::parse("UPPER(SER:Title) = UPPER('O''Neil')");
//   if (!parsed) report(parsed.error.code, parsed.error.message);   // 800 or 801
//   for (each record) if (parsed.expression->isTrue()) …
//
// Names are resolved on the thread that parses, against its bindings (bindings.h); evaluate
// on that thread. Evaluation never fails: a fault gives 0 or empty text and is reported in
// the optional EvalError (code 91, or 801 for a name that was unbound since parsing).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/expr/bindings.h"
#include "runtime/expr/problems.h"
#include "runtime/expr/value.h"

namespace vrt::expr {

struct Node;
struct ParseResult;

// A bound table field, used as it is or upper-cased (`UPPER(SER:Title)`).
struct FieldTerm {
  FieldBinding field;
  bool upper = false;
};

class Expression {
 public:
  // On failure the thread's error state (errorCode(), errorMessage()) is set too.
  static ParseResult parse(std::string_view text);

  Value evaluate(EvalError* error = nullptr) const;
  bool isTrue(EvalError* error = nullptr) const { return evaluate(error).isTrue(); }

  const std::string& text() const { return text_; }
  // Set when the whole expression is a bound field or UPPER of one.
  std::optional<FieldTerm> asField() const;

  // The tree, for the read-only views of it (filter_terms.h).
  const std::shared_ptr<const Node>& tree() const { return tree_; }

  Expression(std::shared_ptr<const Node> tree, std::string text) : tree_(std::move(tree)), text_(std::move(text)) {}

 private:
  std::shared_ptr<const Node> tree_;
  std::string text_;
};

struct ParseResult {
  std::optional<Expression> expression;
  ParseError error;
  bool ok() const { return expression.has_value(); }
  explicit operator bool() const { return ok(); }
};

// Parses and evaluates once, as a finished query or a built expression is checked. `code`
// is 0, the parse error's code (800, 801), or the code of the first evaluation fault.
struct Evaluation {
  Value value;
  int code = 0;
  int position = 0;
  std::string message;
};
Evaluation evaluateText(std::string_view text);

}  // namespace vrt::expr
