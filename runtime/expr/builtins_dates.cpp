// Date and time functions over day numbers and time numbers.
#include <string>

#include "runtime/expr/builtins.h"
#include "runtime/text/dates.h"

namespace vrt::expr::builtins {

namespace {

// Calendar arithmetic rolls months and days over; beyond this no date can come out anyway.
constexpr std::int64_t kCalendarLimit = 10'000'000;

std::optional<Ymd> dateArgument(const Args& a, std::size_t i) {
  return ymdFromDate(static_cast<DayNumber>(a.whole(i, -1, kLastDay + 1)));
}

int wholeMonthsBetween(const Ymd& from, const Ymd& to) {
  int months = (to.year - from.year) * 12 + (to.month - from.month);
  if (to.day < from.day) --months;
  return months;
}

}  // namespace

Value date(Args& a) {
  auto part = [&a](std::size_t i) { return static_cast<int>(a.whole(i, -kCalendarLimit, kCalendarLimit)); };
  return Value::number(dateFromYmd(part(2), part(0), part(1)));
}

Value day(Args& a) {
  const auto ymd = dateArgument(a, 0);
  return Value::number(ymd ? ymd->day : 0);
}

Value month(Args& a) {
  const auto ymd = dateArgument(a, 0);
  return Value::number(ymd ? ymd->month : 0);
}

Value year(Args& a) {
  const auto ymd = dateArgument(a, 0);
  return Value::number(ymd ? ymd->year : 0);
}

Value today(Args&) { return Value::number(vrt::today()); }
Value clock(Args&) { return Value::number(clockNow()); }

// AGE(birth[, base]): the time from `birth` to `base` (today when not given) in the unit
// that suits it: up to 60 days in days, up to 14 weeks in weeks, up to two years in months,
// then in years. Empty text when a date is missing or `birth` lies after `base`.
Value age(Args& a) {
  const auto birth = dateArgument(a, 0);
  const DayNumber baseDay = a.has(1) ? static_cast<DayNumber>(a.whole(1, -1, kLastDay + 1)) : vrt::today();
  const auto base = ymdFromDate(baseDay);
  if (!birth || !base) return Value::text({});
  const std::int64_t days = baseDay - static_cast<DayNumber>(a.whole(0, -1, kLastDay + 1));
  if (days < 0) return Value::text({});
  const int months = wholeMonthsBetween(*birth, *base);
  std::string text;
  if (days <= 60) text = std::to_string(days) + " DAYS";
  else if (days < 14 * 7) text = std::to_string(days / 7) + " WKS";
  else if (months < 24) text = std::to_string(months) + " MOS";
  else text = std::to_string(months / 12) + " YRS";
  return Value::text(std::move(text));
}

}  // namespace vrt::expr::builtins
