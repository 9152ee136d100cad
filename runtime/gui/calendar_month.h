#pragma once
// What the calendar pop-up shows: a chosen day and the month around it, laid out as six
// weeks starting on Sunday, with the moves its keys and buttons make.
#include <string>

#include "runtime/text/dates.h"

namespace vrt {

class CalendarMonth {
 public:
  static constexpr int kCells = 42;

  // A day that is not a valid date starts on today.
  explicit CalendarMonth(DayNumber chosen);

  DayNumber chosen() const { return chosen_; }
  int year() const;
  int month() const;
  std::string title() const;  // "March 2006"

  // Moves stay within the dates the system knows; month and year moves keep the day of
  // the month where the new month has it, else its last day.
  void moveDays(int days);
  void moveMonths(int months);
  void moveYears(int years) { moveMonths(years * 12); }
  void goToday();
  void choose(DayNumber day);

  // Cell 0 is the Sunday on or before the first of the month.
  DayNumber cell(int index) const;
  int cellOf(DayNumber day) const;  // -1 when the day is not shown
  bool inMonth(DayNumber day) const;

 private:
  DayNumber chosen_;
};

}  // namespace vrt
