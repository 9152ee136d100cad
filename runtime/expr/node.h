#pragma once
// The parsed form of an expression. Built once by the parser and never changed afterwards,
// so one tree may be evaluated any number of times (and shared by the views of it).
#include <memory>
#include <string>
#include <vector>

#include "runtime/expr/bindings.h"
#include "runtime/expr/value.h"

namespace vrt::expr {

struct Function;

enum class Op : unsigned char {
  Add, Subtract, Multiply, Divide, Modulo, Power, Concat,
  Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
  And, Or,
  Negate, Plus, Not,
};

struct Node {
  enum class Kind : unsigned char {
    Literal,  // `literal`
    Name,     // `name` as written, resolved to `binding`
    Call,     // `function` applied to `operands`
    Unary,    // ops[0] applied to operands[0]
    Chain,    // operands[0] ops[0] operands[1] ops[1] … of one precedence, left to right
  };

  Kind kind = Kind::Literal;
  int position = 0;  // 1-based character position in the text, for reports
  Value literal;
  std::string name;
  std::shared_ptr<const Binding> binding;
  const Function* function = nullptr;
  std::vector<std::unique_ptr<Node>> operands;
  std::vector<Op> ops;
};

using NodePtr = std::unique_ptr<Node>;

}  // namespace vrt::expr
