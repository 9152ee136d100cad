#pragma once
// The month the drop-down calendar shows: six weeks of seven cells, Sunday first, where
// the 1st sits on its weekday in the first row, or on the second row when it is a Sunday
// (so the first row is never full of the previous month's days: it has none). Cells
// outside the month are empty.
#include <string>

#include "runtime/text/dates.h"

namespace qrywiz {

class DropCalendarMonth {
 public:
  static constexpr int kCells = 42;

  // An invalid day starts on today.
  explicit DropCalendarMonth(vrt::DayNumber current);

  vrt::DayNumber current() const { return current_; }
  int year() const;
  int month() const;
  int daysInMonth() const;
  // "March, 2026": the long month name as the long date picture writes it.
  std::string title() const;

  // Day of the month in cell 0..41, 0 for an empty cell.
  int dayInCell(int cell) const;
  int cellOfDay(int day) const;
  int currentCell() const { return cellOfDay(dayOfMonth()); }

  // A day cell becomes the current date; an empty one in the first row moves to the 1st,
  // in any other row to the last day. Returns whether the cell held a day.
  bool chooseCell(int cell);
  // Keep the day of the month (the last day where the month is shorter); the year wraps.
  void previousMonth() { moveMonths(-1); }
  void nextMonth() { moveMonths(1); }
  void goToday();

 private:
  int dayOfMonth() const;
  int leadingCells() const;
  void moveMonths(int months);
  vrt::DayNumber current_;
};

}  // namespace qrywiz
