#include "runtime/expr/functions.h"

#include <algorithm>
#include <cmath>

#include "runtime/expr/builtins.h"
#include "runtime/text/utf8.h"

namespace vrt::expr {

namespace {

namespace b = builtins;

constexpr Function kFunctions[] = {
    {"ABS", 1, 1, false, b::abs},
    {"ACOS", 1, 1, false, b::acos},
    {"AGE", 1, 2, true, b::age},
    {"ALL", 1, 2, false, b::all},
    {"ASIN", 1, 1, false, b::asin},
    {"ATAN", 1, 1, false, b::atan},
    {"CENTER", 1, 2, false, b::center},
    {"CHOOSE", 2, kAnyCount, false, b::choose},
    {"CHR", 1, 1, false, b::chr},
    {"CLIP", 1, 1, false, b::clip},
    {"CLOCK", 0, 0, true, b::clock},
    {"COS", 1, 1, false, b::cos},
    {"DATE", 3, 3, false, b::date},
    {"DAY", 1, 1, false, b::day},
    {"DEFORMAT", 1, 2, false, b::deformat},
    {"FORMAT", 2, 2, false, b::format},
    {"INLIST", 2, kAnyCount, false, b::inlist},
    {"INRANGE", 3, 3, false, b::inrange},
    {"INSTRING", 2, 4, false, b::instring},
    {"INT", 1, 1, false, b::integer},
    {"ISALPHA", 1, 1, false, b::isAlpha},
    {"ISLOWER", 1, 1, false, b::isLower},
    {"ISUPPER", 1, 1, false, b::isUpper},
    {"LEFT", 1, 2, false, b::left},
    {"LEN", 1, 1, false, b::len},
    {"LOG10", 1, 1, false, b::log10},
    {"LOGE", 1, 1, false, b::loge},
    {"LOWER", 1, 1, false, b::lower},
    {"MATCH", 2, 3, false, b::match},
    {"MATCHWORDS", 1, kAnyCount, false, b::matchWords},
    {"MONTH", 1, 1, false, b::month},
    {"NULL", 1, 1, false, b::null},
    {"NUMERIC", 1, 1, false, b::numeric},
    {"RANDOM", 2, 2, true, b::random},
    {"RIGHT", 1, 2, false, b::right},
    {"ROUND", 2, 2, false, b::round},
    {"SIN", 1, 1, false, b::sin},
    {"SQRT", 1, 1, false, b::sqrt},
    {"SUB", 2, 3, false, b::sub},
    {"TAN", 1, 1, false, b::tan},
    {"TODAY", 0, 0, true, b::today},
    {"UPPER", 1, 1, false, b::upper},
    {"VAL", 1, 1, false, b::val},
    {"YEAR", 1, 1, false, b::year},
};

}  // namespace

std::int64_t Args::whole(std::size_t i, std::int64_t lo, std::int64_t hi, std::int64_t fallback) const {
  if (!has(i)) return fallback;
  const double v = std::trunc(number(i));
  if (v <= static_cast<double>(lo)) return lo;
  if (v >= static_cast<double>(hi)) return hi;
  return static_cast<std::int64_t>(v);
}

std::int64_t Args::length(std::size_t i, std::int64_t fallback) {
  const std::int64_t n = has(i) ? whole(i, 0, kMaxTextLength + 1) : std::clamp<std::int64_t>(fallback, 0, kMaxTextLength + 1);
  if (n > kMaxTextLength) {
    fail(Problem::TextTooLong);
    return kMaxTextLength;
  }
  return n;
}

Value Args::fail(Problem p, Value result, std::string_view detail) {
  recordFault(error_, p, detail.empty() ? function_ : detail, position_);
  return result;
}

void recordFault(EvalError* error, Problem p, std::string_view detail, int position) {
  if (!error || error->code != 0) return;
  error->code = problemCode(p);
  error->position = position;
  error->message = problemText(p, detail) + " at position " + std::to_string(position);
}

const Function* findFunction(std::string_view name) {
  const std::string wanted = upperCase(name);
  for (const auto& f : kFunctions)
    if (wanted == f.name) return &f;
  return nullptr;
}

std::span<const Function> functions() { return kFunctions; }

}  // namespace vrt::expr
