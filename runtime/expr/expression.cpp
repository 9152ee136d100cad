#include "runtime/expr/expression.h"

#include "runtime/expr/evaluator.h"
#include "runtime/expr/parser.h"
#include "runtime/expr/shape.h"
#include "runtime/data/errors.h"

namespace vrt::expr {

ParseResult Expression::parse(std::string_view text) {
  ParseResult result;
  NodePtr tree = parseTree(text, result.error);
  if (!tree) {
    setError(result.error.code, result.error.message);
    return result;
  }
  result.expression.emplace(std::shared_ptr<const Node>(std::move(tree)), std::string(text));
  return result;
}

Value Expression::evaluate(EvalError* error) const { return evaluateNode(*tree_, error); }

std::optional<FieldTerm> Expression::asField() const { return fieldTermOf(*tree_); }

Evaluation evaluateText(std::string_view text) {
  Evaluation out;
  const ParseResult parsed = Expression::parse(text);
  if (!parsed) {
    out.code = parsed.error.code;
    out.position = parsed.error.position;
    out.message = parsed.error.message;
    return out;
  }
  EvalError fault;
  out.value = parsed.expression->evaluate(&fault);
  out.code = fault.code;
  out.position = fault.position;
  out.message = fault.message;
  return out;
}

}  // namespace vrt::expr
