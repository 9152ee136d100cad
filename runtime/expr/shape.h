#pragma once
// Recognising the shapes of subtrees that the views push into their queries.
#include <optional>

#include "runtime/expr/expression.h"
#include "runtime/expr/node.h"

namespace vrt::expr {

// A bound table field, or UPPER of one.
std::optional<FieldTerm> fieldTermOf(const Node& n);
// A subtree whose value cannot change: no names and no functions such as TODAY or RANDOM.
bool isConstant(const Node& n);

}  // namespace vrt::expr
