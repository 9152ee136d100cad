#include "querywizard/drop_calendar_month.h"

#include <algorithm>

#include "runtime/text/picture.h"

namespace qrywiz {

DropCalendarMonth::DropCalendarMonth(vrt::DayNumber current)
    : current_(vrt::isValidDate(current) ? current : vrt::today()) {}

int DropCalendarMonth::year() const { return vrt::ymdFromDate(current_)->year; }
int DropCalendarMonth::month() const { return vrt::ymdFromDate(current_)->month; }
int DropCalendarMonth::dayOfMonth() const { return vrt::ymdFromDate(current_)->day; }
int DropCalendarMonth::daysInMonth() const { return vrt::daysInMonth(year(), month()); }

std::string DropCalendarMonth::title() const {
  const auto longDate = vrt::Picture::parse("@d4");
  std::string text = longDate->format(static_cast<double>(current_));
  const std::size_t start = text.find_first_not_of(' ');
  text = start == std::string::npos ? std::string() : text.substr(start);
  return text.substr(0, text.find(' ')) + ", " + std::to_string(year());
}

int DropCalendarMonth::leadingCells() const {
  const int weekday = vrt::dayOfWeek(vrt::dateFromYmd(year(), month(), 1));
  return weekday == 0 ? 7 : weekday;
}

int DropCalendarMonth::dayInCell(int cell) const {
  if (cell < 0 || cell >= kCells) return 0;
  const int day = cell - leadingCells() + 1;
  return day >= 1 && day <= daysInMonth() ? day : 0;
}

int DropCalendarMonth::cellOfDay(int day) const {
  return day >= 1 && day <= daysInMonth() ? leadingCells() + day - 1 : -1;
}

bool DropCalendarMonth::chooseCell(int cell) {
  if (cell < 0 || cell >= kCells) return false;
  const int day = dayInCell(cell);
  const int target = day != 0 ? day : (cell < 7 ? 1 : daysInMonth());
  current_ = vrt::dateFromYmd(year(), month(), target);
  return day != 0;
}

void DropCalendarMonth::goToday() { current_ = vrt::today(); }

void DropCalendarMonth::moveMonths(int months) {
  const int index = year() * 12 + (month() - 1) + months;
  const int y = index / 12, m = index % 12 + 1;
  const vrt::DayNumber moved = vrt::dateFromYmd(y, m, std::min(dayOfMonth(), vrt::daysInMonth(y, m)));
  if (vrt::isValidDate(moved)) current_ = moved;
}

}  // namespace qrywiz
