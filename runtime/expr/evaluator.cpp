#include "runtime/expr/evaluator.h"

#include <cmath>

#include "runtime/expr/functions.h"
#include "runtime/text/utf8.h"

namespace vrt::expr {

namespace {

const char* opText(Op op) {
  switch (op) {
    case Op::Add: return "+";
    case Op::Subtract: return "-";
    case Op::Multiply: return "*";
    case Op::Divide: return "/";
    case Op::Modulo: return "%";
    case Op::Power: return "^";
    case Op::Concat: return "&";
    default: return "";
  }
}

bool isComparison(Op op) { return op >= Op::Equal && op <= Op::GreaterEqual; }

bool compare(Op op, const Value& a, const Value& b) {
  const int c = compareValues(a, b);
  switch (op) {
    case Op::Equal: return c == 0;
    case Op::NotEqual: return c != 0;
    case Op::Less: return c < 0;
    case Op::Greater: return c > 0;
    case Op::LessEqual: return c <= 0;
    default: return c >= 0;
  }
}

class Evaluator {
 public:
  explicit Evaluator(EvalError* error) : error_(error) {}

  Value eval(const Node& n) {
    switch (n.kind) {
      case Node::Kind::Literal: return n.literal;
      case Node::Kind::Name: return name(n);
      case Node::Kind::Call: return call(n);
      case Node::Kind::Unary: return unary(n);
      case Node::Kind::Chain: return chain(n);
    }
    return Value();
  }

 private:
  Value name(const Node& n) {
    if (n.binding->isBound()) return n.binding->read();
    // The name was unbound since parsing; a later binding of it (a table opened again) serves.
    if (const auto again = findBinding(n.name); again && again->isBound()) return again->read();
    recordFault(error_, Problem::NoLongerBound, n.name, n.position);
    return Value::text({});
  }

  Value call(const Node& n) {
    std::vector<Value> args;
    args.reserve(n.operands.size());
    for (const auto& o : n.operands) args.push_back(eval(*o));
    Args a(args, n.function->name, n.position, error_);
    return n.function->call(a);
  }

  Value unary(const Node& n) {
    const Value v = eval(*n.operands[0]);
    switch (n.ops[0]) {
      case Op::Negate: return Value::number(-v.toNumber());
      case Op::Not: return Value::boolean(!v.isTrue());
      default: return Value::number(v.toNumber());
    }
  }

  Value chain(const Node& n) {
    const Op first = n.ops[0];
    if (first == Op::And || first == Op::Or) return logical(n, first == Op::And);
    if (first == Op::Concat) return concat(n);
    Value acc = eval(*n.operands[0]);
    for (std::size_t i = 0; i < n.ops.size(); ++i) {
      const Value next = eval(*n.operands[i + 1]);
      const Op op = n.ops[i];
      acc = isComparison(op) ? Value::boolean(compare(op, acc, next)) : arithmetic(op, acc.toNumber(), next.toNumber(), n.operands[i + 1]->position);
    }
    return acc;
  }

  // Stops at the first operand that decides the result.
  Value logical(const Node& n, bool isAnd) {
    for (const auto& o : n.operands)
      if (eval(*o).isTrue() != isAnd) return Value::boolean(!isAnd);
    return Value::boolean(isAnd);
  }

  Value concat(const Node& n) {
    std::string acc;
    for (const auto& o : n.operands) {
      acc += eval(*o).toText();
      if (acc.size() > static_cast<std::size_t>(kMaxTextLength)) {
        recordFault(error_, Problem::TextTooLong, "&", n.position);
        acc.resize(utf8Truncate(acc, static_cast<std::size_t>(kMaxTextLength)).size());
        break;
      }
    }
    return Value::text(std::move(acc));
  }

  // `position` is the right operand's, which is what a fault is about.
  Value arithmetic(Op op, double x, double y, int position) {
    double r = 0;
    switch (op) {
      case Op::Add: r = x + y; break;
      case Op::Subtract: r = x - y; break;
      case Op::Multiply: r = x * y; break;
      case Op::Divide:
      case Op::Modulo:
        if (y == 0) {
          recordFault(error_, Problem::DivisionByZero, {}, position);
          return Value::number(0);
        }
        r = op == Op::Divide ? x / y : std::fmod(x, y);
        break;
      default: r = std::pow(x, y); break;
    }
    if (!std::isfinite(r)) {
      recordFault(error_, Problem::OutOfRange, opText(op), position);
      return Value::number(0);
    }
    return Value::number(r);
  }

  EvalError* error_;
};

}  // namespace

Value evaluateNode(const Node& node, EvalError* error) { return Evaluator(error).eval(node); }

}  // namespace vrt::expr
