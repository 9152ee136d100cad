#pragma once
// Computes the value of a parsed tree against the current values of its bound names.
#include "runtime/expr/node.h"
#include "runtime/expr/problems.h"

namespace vrt::expr {

// Never fails: a fault (division by zero, a name no longer bound, a bad argument) gives a
// neutral result (0 or empty text) and is reported in `error` when one is given.
Value evaluateNode(const Node& node, EvalError* error);

}  // namespace vrt::expr
