#pragma once
// A read-only view of a filter for the record views: the filter split at its top-level
// ANDs, each term recognisable as a range on a bound field, so that such terms can be put
// into the query that reads the table and only the rest evaluated per record.
//
//   auto terms = splitAndTerms(filter);                 // "A AND (B AND C)" gives A, B, C
//   for (auto& t : terms) if (auto r = t.range()) … else rest.push_back(t);
//   … per record: allTrue(rest)
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/expr/expression.h"

namespace vrt::expr {

enum class RangeOp { Equal, Less, Greater, LessEqual, GreaterEqual };

// `field op constant`, where the field may be upper-cased and the constant may be any
// expression without names (evaluated once, when the term is recognised). A term written
// `constant op field` is turned round. With `field.upper` the term means
// upperCase(field) op constant, the constant taken as it is (UPPER('x') is already 'X').
// The comparison is numeric when `numeric`; otherwise text ignoring trailing blanks.
struct RangeTerm {
  FieldTerm field;
  RangeOp op = RangeOp::Equal;
  Value constant;
  bool numeric = false;
};

// `MATCHWORDS(constant, field, ...)`: the words, and the fields they are looked for in.
struct WordSearchTerm {
  std::string words;
  std::vector<FieldBinding> fields;
};

// `INSTRING(constant, field)` searching forward from the start (step 1, start 1 or before),
// or NOT it: whether the field's text (upper-cased with `field.upper`) holds `text`.
struct ContainsTerm {
  FieldTerm field;
  std::string text;
  bool negated = false;
};

class FilterTerm {
 public:
  FilterTerm(std::shared_ptr<const Node> tree, const Node* node) : tree_(std::move(tree)), node_(node) {}

  std::optional<RangeTerm> range() const;
  std::optional<WordSearchTerm> wordSearch() const;
  std::optional<ContainsTerm> contains() const;
  bool isTrue(EvalError* error = nullptr) const;
  int position() const;  // where the term starts in the filter text

 private:
  std::shared_ptr<const Node> tree_;  // keeps the term's node alive
  const Node* node_;
};

std::vector<FilterTerm> splitAndTerms(const Expression& filter);
// Stops at the first term that is false.
bool allTrue(std::span<const FilterTerm> terms, EvalError* error = nullptr);

}  // namespace vrt::expr
