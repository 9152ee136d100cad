#include "runtime/expr/shape.h"

#include "runtime/expr/functions.h"

namespace vrt::expr {

namespace {

std::optional<FieldBinding> boundField(const Node& n) {
  if (n.kind != Node::Kind::Name || !n.binding->isBound()) return std::nullopt;
  return n.binding->field();
}

}  // namespace

std::optional<FieldTerm> fieldTermOf(const Node& n) {
  if (const auto f = boundField(n)) return FieldTerm{*f, false};
  static const Function* const upper = findFunction("UPPER");
  if (n.kind == Node::Kind::Call && n.function == upper) {
    if (const auto f = boundField(*n.operands[0])) return FieldTerm{*f, true};
  }
  return std::nullopt;
}

bool isConstant(const Node& n) {
  if (n.kind == Node::Kind::Name) return false;
  if (n.kind == Node::Kind::Call && n.function->isVolatile) return false;
  for (const auto& o : n.operands)
    if (!isConstant(*o)) return false;
  return true;
}

}  // namespace vrt::expr
