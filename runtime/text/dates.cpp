#include "runtime/text/dates.h"

#include <QDateTime>
#include <atomic>

namespace vrt {

namespace {

// Days since 1 March of year 0 of the proleptic Gregorian calendar (civil-from-days algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe);
}

Ymd civilFromDays(std::int64_t z) {
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return Ymd{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const std::int64_t kOrigin = daysFromCivil(1801, 1, 1) - 4;

std::atomic<ClockSource> installedClock{nullptr};

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

DayNumber dateFromYmd(int year, int month, int day) {
  // Normalise the month first, then let the day run over into neighbouring months.
  std::int64_t y = year, m = static_cast<std::int64_t>(month) - 1;
  y += m >= 0 ? m / 12 : (m - 11) / 12;
  m = ((m % 12) + 12) % 12;
  if (y < 1 || y > 10000) return 0;
  const std::int64_t n = daysFromCivil(y, static_cast<unsigned>(m + 1), 1) + (static_cast<std::int64_t>(day) - 1) - kOrigin;
  if (n < kFirstDay || n > kLastDay) return 0;
  return static_cast<DayNumber>(n);
}

bool isValidDate(DayNumber date) { return date >= kFirstDay && date <= kLastDay; }

std::optional<Ymd> ymdFromDate(DayNumber date) {
  if (!isValidDate(date)) return std::nullopt;
  return civilFromDays(date + kOrigin);
}

int dayOfWeek(DayNumber date) {
  if (!isValidDate(date)) return -1;
  // Day 4, 1 January 1801, was a Thursday (4), so the day number modulo 7 is the weekday.
  return static_cast<int>(date % 7);
}

TimeOfDay timeFromHms(int hour, int minute, int second, int hundredths) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || hundredths < 0 ||
      hundredths > 99)
    return 0;
  return ((hour * 60 + minute) * 60 + second) * 100 + hundredths + 1;
}

std::optional<Hms> hmsFromTime(TimeOfDay time) {
  if (time < 1 || time > kLastTime) return std::nullopt;
  int t = time - 1;
  Hms hms;
  hms.hundredths = t % 100;
  t /= 100;
  hms.second = t % 60;
  t /= 60;
  hms.minute = t % 60;
  hms.hour = t / 60;
  return hms;
}

DayNumber today() {
  if (const ClockSource clock = installedClock) return clock().date;
  const QDate d = QDate::currentDate();
  return dateFromYmd(d.year(), d.month(), d.day());
}

TimeOfDay clockNow() {
  if (const ClockSource clock = installedClock) return clock().time;
  const QTime t = QTime::currentTime();
  return timeFromHms(t.hour(), t.minute(), t.second(), t.msec() / 10);
}

ClockSource installClock(ClockSource clock) { return installedClock.exchange(clock); }

}  // namespace vrt
