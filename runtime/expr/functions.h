#pragma once
// The standard functions, as one table: name, argument counts, implementation.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/expr/problems.h"
#include "runtime/expr/value.h"

namespace vrt::expr {

// Longest text a function builds (in characters or bytes); longer requests are cut.
inline constexpr std::int64_t kMaxTextLength = 1 << 20;

// The evaluated arguments of one call, and where to report a fault.
class Args {
 public:
  Args(std::span<const Value> values, std::string_view function, int position, EvalError* error)
      : values_(values), function_(function), position_(position), error_(error) {}

  std::size_t size() const { return values_.size(); }
  bool has(std::size_t i) const { return i < values_.size(); }
  const Value& operator[](std::size_t i) const { return values_[i]; }
  double number(std::size_t i) const { return values_[i].toNumber(); }
  std::string text(std::size_t i) const { return values_[i].toText(); }
  // A whole number (truncated toward zero) held within lo..hi; `fallback` when absent.
  std::int64_t whole(std::size_t i, std::int64_t lo, std::int64_t hi, std::int64_t fallback = 0) const;
  // A count of characters for a text the function builds: 0..kMaxTextLength (a larger
  // request is cut and reported).
  std::int64_t length(std::size_t i, std::int64_t fallback);

  // Records the fault (the first one of an evaluation wins) and returns `result`. The
  // message names `detail`, or the function when no detail is given.
  Value fail(Problem p, Value result = Value(), std::string_view detail = {});
  std::string_view function() const { return function_; }

 private:
  std::span<const Value> values_;
  std::string_view function_;
  int position_;
  EvalError* error_;
};

// Records a fault on `error` unless an earlier one is already there.
void recordFault(EvalError* error, Problem p, std::string_view detail, int position);

struct Function {
  const char* name;
  int minArgs;
  int maxArgs;       // kAnyCount: no upper limit
  bool isVolatile;   // may give another result for the same arguments (TODAY, RANDOM)
  Value (*call)(Args& args);
};

inline constexpr int kAnyCount = 1000;

// By name, case-insensitive; nullptr for a name that is not a function.
const Function* findFunction(std::string_view name);
// Every function, in alphabetical order.
std::span<const Function> functions();

}  // namespace vrt::expr
