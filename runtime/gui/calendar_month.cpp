#include "runtime/gui/calendar_month.h"

#include <algorithm>
#include <array>

namespace vrt {

namespace {
constexpr std::array<const char*, 12> kMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                                   "July",    "August",   "September", "October", "November", "December"};
}

CalendarMonth::CalendarMonth(DayNumber chosen) : chosen_(isValidDate(chosen) ? chosen : today()) {}

int CalendarMonth::year() const { return ymdFromDate(chosen_)->year; }
int CalendarMonth::month() const { return ymdFromDate(chosen_)->month; }

std::string CalendarMonth::title() const { return std::string(kMonthNames[month() - 1]) + " " + std::to_string(year()); }

void CalendarMonth::choose(DayNumber day) {
  if (isValidDate(day)) chosen_ = day;
}

void CalendarMonth::moveDays(int days) { choose(chosen_ + days); }

void CalendarMonth::moveMonths(int months) {
  const Ymd now = *ymdFromDate(chosen_);
  const int index = now.year * 12 + (now.month - 1) + months;
  const int year = index / 12, month = index % 12 + 1;
  if (year < 1 || year > 9999) return;
  choose(dateFromYmd(year, month, std::min(now.day, daysInMonth(year, month))));
}

void CalendarMonth::goToday() { choose(today()); }

DayNumber CalendarMonth::cell(int index) const {
  const DayNumber first = dateFromYmd(year(), month(), 1);
  return first - dayOfWeek(first) + index;
}

int CalendarMonth::cellOf(DayNumber day) const {
  const int index = day - cell(0);
  return index >= 0 && index < kCells ? index : -1;
}

bool CalendarMonth::inMonth(DayNumber day) const {
  auto ymd = ymdFromDate(day);
  return ymd && ymd->year == year() && ymd->month == month();
}

}  // namespace vrt
