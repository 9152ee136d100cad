#pragma once
// Dates are day numbers (day 4 = 1 January 1801, 0 = no date); times are hundredths
// of a second since midnight plus one (0 = no time). Both are what DATE and TIME fields hold.
#include <cstdint>
#include <optional>

namespace vrt {

using DayNumber = std::int32_t;
using TimeOfDay = std::int32_t;

struct Ymd {
  int year = 0, month = 0, day = 0;
  bool operator==(const Ymd&) const = default;
};

struct Hms {
  int hour = 0, minute = 0, second = 0, hundredths = 0;
  bool operator==(const Hms&) const = default;
};

inline constexpr DayNumber kFirstDay = 1;           // 29 December 1800
inline constexpr DayNumber kLastDay = 2994626;       // 31 December 9999
inline constexpr TimeOfDay kLastTime = 8'640'000;    // 23:59:59.99

// Month and day outside their ranges roll over as calendar arithmetic does
// (month 13 is January of the next year, day 0 the last day of the month before).
// Returns 0 for dates outside kFirstDay..kLastDay.
DayNumber dateFromYmd(int year, int month, int day);
// nullopt for 0 and for numbers outside the valid range.
std::optional<Ymd> ymdFromDate(DayNumber date);
bool isValidDate(DayNumber date);
bool isLeapYear(int year);
int daysInMonth(int year, int month);
// 0 = Sunday … 6 = Saturday; -1 for no date.
int dayOfWeek(DayNumber date);

TimeOfDay timeFromHms(int hour, int minute, int second = 0, int hundredths = 0);
std::optional<Hms> hmsFromTime(TimeOfDay time);

// The local date and time now, from the desktop's clock unless another clock is put in.
DayNumber today();
TimeOfDay clockNow();

// Another source for today() and clockNow(), for callers that need the time to stand still
// (the test kit); nullptr puts the desktop's clock back. Returns the source it replaces.
struct ClockReading {
  DayNumber date = 0;
  TimeOfDay time = 0;
};
using ClockSource = ClockReading (*)();
ClockSource installClock(ClockSource clock);

}  // namespace vrt
