// Number functions. A result that is not a finite number is reported and gives 0.
#include <cmath>
#include <random>

#include "runtime/expr/builtins.h"
#include "runtime/os/thread_state.h"

namespace vrt::expr::builtins {

namespace {

Value finite(Args& a, double r) { return std::isfinite(r) ? Value::number(r) : a.fail(Problem::OutOfRange); }

// A function of one number defined where `inDomain` holds.
template <typename Fn, typename Domain>
Value partial(Args& a, Fn fn, Domain inDomain) {
  const double x = a.number(0);
  if (!inDomain(x)) return a.fail(Problem::InvalidArgument);
  return finite(a, fn(x));
}

bool anywhere(double) { return true; }
bool positive(double x) { return x > 0; }
bool notNegative(double x) { return x >= 0; }
bool withinOne(double x) { return x >= -1 && x <= 1; }

struct RandomEngine {
  std::mt19937_64 engine{std::random_device{}()};
};

}  // namespace

Value abs(Args& a) { return Value::number(std::fabs(a.number(0))); }
Value integer(Args& a) { return Value::number(std::trunc(a.number(0))); }
Value sqrt(Args& a) { return partial(a, [](double x) { return std::sqrt(x); }, notNegative); }
Value log10(Args& a) { return partial(a, [](double x) { return std::log10(x); }, positive); }
Value loge(Args& a) { return partial(a, [](double x) { return std::log(x); }, positive); }
Value sin(Args& a) { return partial(a, [](double x) { return std::sin(x); }, anywhere); }
Value cos(Args& a) { return partial(a, [](double x) { return std::cos(x); }, anywhere); }
Value tan(Args& a) { return partial(a, [](double x) { return std::tan(x); }, anywhere); }
Value asin(Args& a) { return partial(a, [](double x) { return std::asin(x); }, withinOne); }
Value acos(Args& a) { return partial(a, [](double x) { return std::acos(x); }, withinOne); }
Value atan(Args& a) { return partial(a, [](double x) { return std::atan(x); }, anywhere); }

// ROUND(v, step): the multiple of `step` nearest to `v`, halves away from zero. Values
// such as 2.675 are held a hair off their decimal form in binary; a nudge of a few units
// in the last place rounds them as written.
Value round(Args& a) {
  const double v = a.number(0), step = std::fabs(a.number(1));
  if (step == 0) return Value::number(v);
  const double q = v / step;
  if (!std::isfinite(q) || std::fabs(q) >= 0x1p52) return Value::number(v);  // already that fine
  const double nudged = q + std::copysign(std::fabs(q) * 1e-13, q);
  return finite(a, std::round(nudged) * step);
}

// RANDOM(lo, hi): a whole number from lo to hi, both included, in either order.
Value random(Args& a) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 53;  // whole numbers a double holds exactly
  std::int64_t lo = a.whole(0, -kLimit, kLimit), hi = a.whole(1, -kLimit, kLimit);
  if (lo > hi) std::swap(lo, hi);
  std::uniform_int_distribution<std::int64_t> pick(lo, hi);
  return Value::number(static_cast<double>(pick(perThread<RandomEngine>().engine)));
}

}  // namespace vrt::expr::builtins
