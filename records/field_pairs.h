#pragma once
// A list of pairs of values: the left side supplies a value live (a record field, a screen
// variable), the right side holds the copy taken when the pair was last applied. Used for
// range limits, reset fields and list columns.
#include <functional>
#include <vector>

#include "runtime/expr/value.h"
#include "runtime/text/record.h"

namespace vesp {

// A live value: read whenever asked, written where it can be (a field, a variable).
struct ValueRef {
  std::function<vrt::expr::Value()> read;
  std::function<void(const vrt::expr::Value&)> write;  // may be empty
  bool text = false;                                   // the value is text (quoted in filters)

  static ValueRef ofField(vrt::RecordRef record, const vrt::FieldDesc& field);
  static ValueRef ofVariable(vrt::expr::Value* variable);
  static ValueRef ofConstant(vrt::expr::Value value);
};

class FieldPairs {
 public:
  struct Pair {
    ValueRef left;
    vrt::expr::Value right;
  };

  void AddPair(ValueRef left);
  void Kill() { pairs_.clear(); }
  // Whether every left side still equals its copy.
  bool Equal() const;
  // Copies every left side to its right side.
  void AssignLeftToRight();
  std::size_t size() const { return pairs_.size(); }
  bool empty() const { return pairs_.empty(); }
  Pair& operator[](std::size_t i) { return pairs_[i]; }
  const Pair& operator[](std::size_t i) const { return pairs_[i]; }
  auto begin() const { return pairs_.begin(); }
  auto end() const { return pairs_.end(); }

 private:
  std::vector<Pair> pairs_;
};

}  // namespace vesp
