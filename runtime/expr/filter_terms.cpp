#include "runtime/expr/filter_terms.h"

#include "runtime/expr/evaluator.h"
#include "runtime/expr/functions.h"
#include "runtime/expr/shape.h"

namespace vrt::expr {

namespace {

bool isAndChain(const Node& n) { return n.kind == Node::Kind::Chain && n.ops[0] == Op::And; }

void collect(const std::shared_ptr<const Node>& tree, const Node& n, std::vector<FilterTerm>& out) {
  if (!isAndChain(n)) {
    out.emplace_back(tree, &n);
    return;
  }
  for (const auto& o : n.operands) collect(tree, *o, out);
}

std::optional<RangeOp> rangeOp(Op op, bool turnedRound) {
  switch (op) {
    case Op::Equal: return RangeOp::Equal;
    case Op::Less: return turnedRound ? RangeOp::Greater : RangeOp::Less;
    case Op::Greater: return turnedRound ? RangeOp::Less : RangeOp::Greater;
    case Op::LessEqual: return turnedRound ? RangeOp::GreaterEqual : RangeOp::LessEqual;
    case Op::GreaterEqual: return turnedRound ? RangeOp::LessEqual : RangeOp::GreaterEqual;
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<RangeTerm> FilterTerm::range() const {
  const Node& n = *node_;
  if (n.kind != Node::Kind::Chain || n.operands.size() != 2) return std::nullopt;
  for (const bool turnedRound : {false, true}) {
    const Node& fieldSide = *n.operands[turnedRound ? 1 : 0];
    const Node& constantSide = *n.operands[turnedRound ? 0 : 1];
    const auto field = fieldTermOf(fieldSide);
    const auto op = rangeOp(n.ops[0], turnedRound);
    if (!field || !op || !isConstant(constantSide)) continue;
    EvalError fault;
    RangeTerm term{*field, *op, evaluateNode(constantSide, &fault), false};
    if (fault) return std::nullopt;
    const bool fieldIsText = field->upper || isTextType(field->field.desc().type);
    term.numeric = !fieldIsText || term.constant.isNumber();
    return term;
  }
  return std::nullopt;
}

std::optional<WordSearchTerm> FilterTerm::wordSearch() const {
  const Node& n = *node_;
  if (n.kind != Node::Kind::Call || !n.function || std::string_view(n.function->name) != "MATCHWORDS" ||
      n.operands.size() < 2 || !isConstant(*n.operands[0]))
    return std::nullopt;
  WordSearchTerm term;
  EvalError fault;
  term.words = evaluateNode(*n.operands[0], &fault).toText();
  if (fault) return std::nullopt;
  for (std::size_t i = 1; i < n.operands.size(); ++i) {
    const auto field = fieldTermOf(*n.operands[i]);
    if (!field || field->upper) return std::nullopt;
    term.fields.push_back(field->field);
  }
  return term;
}

std::optional<ContainsTerm> FilterTerm::contains() const {
  const Node* n = node_;
  const bool negated = n->kind == Node::Kind::Unary && n->ops[0] == Op::Not;
  if (negated) n = n->operands[0].get();
  if (n->kind != Node::Kind::Call || !n->function || std::string_view(n->function->name) != "INSTRING" ||
      n->operands.size() < 2 || n->operands.size() > 4 || !isConstant(*n->operands[0]))
    return std::nullopt;
  const auto field = fieldTermOf(*n->operands[1]);
  if (!field) return std::nullopt;
  EvalError fault;
  // Any other step or start searches only part of the text.
  if (n->operands.size() > 2) {
    if (!isConstant(*n->operands[2])) return std::nullopt;
    const Value step = evaluateNode(*n->operands[2], &fault);
    if (fault || !step.isNumber() || step.toNumber() != 1) return std::nullopt;
  }
  if (n->operands.size() > 3) {
    if (!isConstant(*n->operands[3])) return std::nullopt;
    const Value start = evaluateNode(*n->operands[3], &fault);
    if (fault || !start.isNumber() || start.toNumber() > 1) return std::nullopt;
  }
  ContainsTerm term{*field, evaluateNode(*n->operands[0], &fault).toText(), negated};
  if (fault) return std::nullopt;
  return term;
}

bool FilterTerm::isTrue(EvalError* error) const { return evaluateNode(*node_, error).isTrue(); }

int FilterTerm::position() const { return node_->position; }

std::vector<FilterTerm> splitAndTerms(const Expression& filter) {
  std::vector<FilterTerm> out;
  collect(filter.tree(), *filter.tree(), out);
  return out;
}

bool allTrue(std::span<const FilterTerm> terms, EvalError* error) {
  for (const auto& t : terms)
    if (!t.isTrue(error)) return false;
  return true;
}

}  // namespace vrt::expr
