#include "runtime/text/picture.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/text/date_layouts.h"
#include "runtime/text/number_text.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

using namespace date_layouts;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80; }

std::string trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

std::string twoDigits(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n % 100);
  return buf;
}

std::string monthName(int month, bool longForm) {
  return QLocale().monthName(month, longForm ? QLocale::LongFormat : QLocale::ShortFormat).toStdString();
}

// Month number for a typed name: the full name or any prefix of at least three letters.
int monthFromName(std::string_view word) {
  const std::string typed = upperCase(word);
  if (typed.size() < 3) return 0;
  for (int m = 1; m <= 12; ++m) {
    for (bool longForm : {true, false}) {
      const std::string name = upperCase(monthName(m, longForm));
      if (name.compare(0, typed.size(), typed) == 0) return m;
    }
  }
  return 0;
}

bool isWeekdayName(std::string_view word) {
  const std::string typed = upperCase(word);
  for (int d = 1; d <= 7; ++d) {
    for (auto f : {QLocale::LongFormat, QLocale::ShortFormat}) {
      if (upperCase(QLocale().dayName(d, f).toStdString()) == typed) return true;
    }
  }
  return false;
}

// Two-digit years fall in the hundred years from 80 before this year to 19 after it.
int expandYear(int year, std::size_t digitsTyped) {
  if (digitsTyped > 2) return year;
  const auto now = ymdFromDate(today());
  const int current = now ? now->year : 2000;
  int full = (current / 100) * 100 + year;
  if (full > current + 19) full -= 100;
  if (full <= current - 81) full += 100;
  return full;
}

// Splits typed text into runs of digits and runs of letters; everything else separates.
std::vector<std::string> tokens(std::string_view s) {
  std::vector<std::string> out;
  std::string cur;
  auto flush = [&] {
    if (!cur.empty()) out.push_back(cur);
    cur.clear();
  };
  for (char c : s) {
    const bool digit = isDigit(c), alpha = isAlpha(c);
    if (!digit && !alpha) {
      flush();
      continue;
    }
    if (!cur.empty() && isDigit(cur.back()) != digit) flush();
    cur += c;
  }
  flush();
  return out;
}

// The locale's date format as our layout letters, with the year always four digits.
std::string localeDateLayout(bool longForm) {
  const QString fmt = QLocale().dateFormat(longForm ? QLocale::LongFormat : QLocale::ShortFormat);
  std::string layout;
  for (qsizetype i = 0; i < fmt.size();) {
    const QChar c = fmt[i];
    qsizetype n = 1;
    while (i + n < fmt.size() && fmt[i + n] == c) ++n;
    if (c == 'd' && n <= 2) layout += 'd';
    else if (c == 'M') layout += n >= 4 ? 'B' : (n == 3 ? 'b' : 'm');
    else if (c == 'y') layout += 'Y';
    i += n;
  }
  return layout;
}

QString localeFormat(bool date, bool longForm) {
  const auto f = longForm ? QLocale::LongFormat : QLocale::ShortFormat;
  QString fmt = date ? QLocale().dateFormat(f) : QLocale().timeFormat(f);
  if (date) {
    // Two-digit years are ambiguous in a register that spans generations.
    if (!fmt.contains("yyyy")) fmt.replace("yy", "yyyy");
  } else {
    fmt.remove('t');  // time-zone names do not belong to a time of day
    fmt = fmt.trimmed();
  }
  return fmt;
}

}  // namespace

std::optional<Picture> Picture::parse(std::string_view text) {
  Picture p;
  p.text_ = std::string(text);
  if (text.size() < 3 || text[0] != '@') return std::nullopt;
  const char type = static_cast<char>(upperCaseChar(static_cast<unsigned char>(text[1])));
  std::string_view rest = text.substr(2);
  auto takeNumber = [&rest](int& out) {
    std::size_t n = 0;
    while (n < rest.size() && isDigit(rest[n])) ++n;
    if (n == 0 || n > 5) return false;
    out = std::atoi(std::string(rest.substr(0, n)).c_str());
    rest.remove_prefix(n);
    return true;
  };
  auto takeFlag = [&rest](char flag) {
    if (!rest.empty() && upperCaseChar(static_cast<unsigned char>(rest.front())) == upperCaseChar(flag)) {
      rest.remove_prefix(1);
      return true;
    }
    return false;
  };

  switch (type) {
    case 'S':
      p.kind_ = Kind::Text;
      if (!takeNumber(p.width_) || p.width_ == 0) return std::nullopt;
      break;
    case 'N':
      p.kind_ = Kind::Number;
      for (bool more = true; more && !rest.empty();) {
        if (takeFlag('-')) p.sign_ = true;
        else if (takeFlag('_')) p.grouping_ = false;
        else if (rest.size() > 1 && rest[0] == '0' && isDigit(rest[1])) { p.zeroFill_ = true; rest.remove_prefix(1); }
        else more = false;
      }
      if (!takeNumber(p.width_) || p.width_ == 0) return std::nullopt;
      if (takeFlag('.') && !takeNumber(p.decimals_)) return std::nullopt;
      if (p.decimals_ > 15 || p.decimals_ >= p.width_) return std::nullopt;
      if (takeFlag('-')) p.sign_ = true;
      p.blank_ = takeFlag('b');
      break;
    case 'D':
      p.kind_ = Kind::Date;
      if (!takeNumber(p.style_) || p.style_ < 1 || p.style_ > kLocaleLongDate) return std::nullopt;
      if (takeFlag('-')) p.separator_ = '-';
      else if (takeFlag('.')) p.separator_ = '.';
      else if (takeFlag('_')) p.separator_ = ' ';
      else if (takeFlag('/')) p.separator_ = '/';
      p.blank_ = takeFlag('b');
      break;
    case 'T':
      p.kind_ = Kind::Time;
      if (!takeNumber(p.style_) || p.style_ < 1 || p.style_ > kLocaleLongTime) return std::nullopt;
      p.blank_ = takeFlag('b');
      break;
    default:
      return std::nullopt;
  }
  if (!rest.empty()) return std::nullopt;
  // Widest values: a Wednesday in September, a two-digit hour past noon.
  if (p.kind_ == Kind::Date) p.width_ = static_cast<int>(utf8Length(p.formatDate(dateFromYmd(2000, 9, 27))));
  if (p.kind_ == Kind::Time) p.width_ = static_cast<int>(utf8Length(p.formatTime(timeFromHms(12, 58, 58))));
  return p;
}

std::string Picture::format(double value) const {
  switch (kind_) {
    case Kind::Text:
      return formatText(std::to_string(value));
    // Values beyond any day or time number show as no date or time.
    case Kind::Date:
      return std::isfinite(value) && std::fabs(value) <= kLastDay ? formatDate(static_cast<DayNumber>(value))
                                                                  : std::string();
    case Kind::Time:
      return std::isfinite(value) && std::fabs(value) <= kLastTime ? formatTime(static_cast<TimeOfDay>(value))
                                                                   : std::string();
    case Kind::Number:
      break;
  }
  if (!std::isfinite(value)) return std::string(static_cast<std::size_t>(width_), '#');
  if (std::fabs(value) >= 1e300) return std::string(static_cast<std::size_t>(width_), '#');  // no picture is that wide
  std::string digits = fixedText(std::fabs(value), decimals_);
  std::string fraction;
  if (auto dot = digits.find('.'); dot != std::string::npos) {
    fraction = digits.substr(dot + 1);
    digits.resize(dot);
  }
  const bool zero = digits.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
  return formatDigits(value < 0 && !zero, digits, fraction, zero);
}

std::string Picture::format(const Decimal& value) const {
  if (kind_ != Kind::Number) return format(value.toDouble());
  // Round the exact cents to the picture's places without passing through binary floating point.
  std::string text = (value < Decimal() ? -value : value).toString();  // "1234.50"
  std::string digits = text.substr(0, text.find('.'));
  std::string fraction = text.substr(text.find('.') + 1);
  if (decimals_ < Decimal::kPlaces) {
    const bool up = fraction[static_cast<std::size_t>(decimals_)] >= '5';
    fraction.resize(static_cast<std::size_t>(decimals_));
    if (up) {
      // Carry the rounding through fraction and integer digits.
      std::string all = digits + fraction;
      int i = static_cast<int>(all.size()) - 1;
      while (i >= 0 && all[static_cast<std::size_t>(i)] == '9') all[static_cast<std::size_t>(i--)] = '0';
      if (i < 0) all.insert(all.begin(), '1');
      else ++all[static_cast<std::size_t>(i)];
      digits = all.substr(0, all.size() - fraction.size());
      fraction = all.substr(all.size() - fraction.size());
    }
  } else {
    fraction.append(static_cast<std::size_t>(decimals_ - Decimal::kPlaces), '0');
  }
  const bool zero = digits.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
  return formatDigits(value < Decimal() && !zero, digits, fraction, zero);
}

std::string Picture::formatDigits(bool negative, std::string intDigits, std::string fraction, bool isZero) const {
  const auto width = static_cast<std::size_t>(width_);
  if (isZero && blank_) return std::string(width, ' ');
  auto build = [&](bool grouped) {
    std::string digits = intDigits;
    if (grouped) {
      for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
    }
    std::string tail = decimals_ > 0 ? "." + fraction : "";
    std::string out = (negative ? "-" : "") + digits + tail;
    if (zeroFill_ && out.size() < width) out.insert(negative ? 1 : 0, width - out.size(), '0');
    return out;
  };
  std::string out = build(grouping_ && !zeroFill_);
  // A number that fits only without its grouping is still better shown than hidden.
  if (out.size() > width) out = build(false);
  if (out.size() > width) return std::string(width, '#');
  return std::string(width - out.size(), ' ') + out;
}

std::string Picture::formatText(std::string_view value) const {
  if (kind_ == Kind::Text) return std::string(utf8Left(value, static_cast<std::size_t>(width_)));
  return format(parseNumber(value).value_or(0.0));
}

std::string Picture::formatDate(DayNumber date) const {
  const auto ymd = ymdFromDate(date);
  if (!ymd) return {};
  if (style_ == kLocaleShortDate || style_ == kLocaleLongDate) {
    const QDate d(ymd->year, ymd->month, ymd->day);
    return QLocale().toString(d, localeFormat(true, style_ == kLocaleLongDate)).toStdString();
  }
  std::string out;
  for (const char* c = kDateLayouts[style_]; *c; ++c) {
    switch (*c) {
      case 'm': out += twoDigits(ymd->month); break;
      case 'd': out += twoDigits(ymd->day); break;
      case 'y': out += twoDigits(ymd->year); break;
      case 'Y': out += std::to_string(ymd->year); break;
      case 'b': out += monthName(ymd->month, false); break;
      case 'B': out += monthName(ymd->month, true); break;
      case '/': out += separator_; break;
      default: out += *c;
    }
  }
  return out;
}

std::string Picture::formatTime(TimeOfDay time) const {
  const auto hms = hmsFromTime(time);
  if (!hms) return {};
  if (style_ == kLocaleShortTime || style_ == kLocaleLongTime) {
    const QTime t(hms->hour, hms->minute, hms->second);
    return QLocale().toString(t, localeFormat(false, style_ == kLocaleLongTime)).toStdString();
  }
  const int h12 = hms->hour % 12 == 0 ? 12 : hms->hour % 12;
  const char* ampm = hms->hour < 12 ? "AM" : "PM";
  switch (style_) {
    case 1: return twoDigits(hms->hour) + ":" + twoDigits(hms->minute);
    case 2: return twoDigits(hms->hour) + twoDigits(hms->minute);
    case 3: return std::to_string(h12) + ":" + twoDigits(hms->minute) + ampm;
    case 4: return twoDigits(hms->hour) + ":" + twoDigits(hms->minute) + ":" + twoDigits(hms->second);
    case 5: return twoDigits(hms->hour) + twoDigits(hms->minute) + twoDigits(hms->second);
    default: return std::to_string(h12) + ":" + twoDigits(hms->minute) + ":" + twoDigits(hms->second) + ampm;
  }
}

std::optional<std::string> Picture::cleanNumber(std::string_view input) const {
  std::string s;
  for (char c : input)
    if (c != ' ' && c != '\t') s += c;
  if (s.empty()) return std::string("0");
  bool negative = false;
  if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
    negative = true;
    s = s.substr(1, s.size() - 2);
  } else if (s.front() == '-' || s.front() == '+') {
    negative = s.front() == '-';
    s.erase(0, 1);
  } else if (s.back() == '-') {
    negative = true;
    s.pop_back();
  }
  std::string intDigits, fraction;
  bool seenPoint = false;
  for (char c : s) {
    if (c == '.' && !seenPoint) seenPoint = true;
    else if (c == ',' && !seenPoint) continue;
    else if (!isDigit(c)) return std::nullopt;
    else (seenPoint ? fraction : intDigits) += c;
  }
  if (intDigits.empty() && fraction.empty()) return std::nullopt;
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (static_cast<int>(fraction.size()) > decimals_) return std::nullopt;
  const std::size_t firstSignificant = intDigits.find_first_not_of('0');
  intDigits = firstSignificant == std::string::npos ? "0" : intDigits.substr(firstSignificant);
  // It must fit the picture's width as the picture would show it (without grouping).
  std::string shown = intDigits;
  if (decimals_ > 0) shown += "." + std::string(static_cast<std::size_t>(decimals_), '0');
  const bool zero = intDigits == "0" && fraction.empty();
  if (negative && !zero) shown.insert(0, "-");
  if (static_cast<int>(shown.size()) > width_) return std::nullopt;
  std::string out = (negative && !zero ? "-" : "") + intDigits;
  if (!fraction.empty()) out += "." + fraction;
  return out;
}

std::optional<DayNumber> Picture::parseDate(std::string_view input) const {
  const std::string s = trim(input);
  if (s.empty()) return DayNumber{0};
  std::string layout;
  if (style_ == kLocaleShortDate || style_ == kLocaleLongDate) {
    layout = localeDateLayout(style_ == kLocaleLongDate);
  } else {
    for (const char* c = kDateLayouts[style_]; *c; ++c)
      if (std::string_view("mdyYbB").find(*c) != std::string_view::npos) layout += *c;
  }
  std::vector<std::string> parts;
  for (auto& t : tokens(s))
    if (!(isAlpha(t[0]) && isWeekdayName(t))) parts.push_back(t);
  // Compact layouts ("yymmdd") may be typed without separators.
  if (parts.size() == 1 && layout.size() > 1 && isDigit(parts[0][0])) {
    std::size_t need = 0;
    for (char c : layout) need += c == 'Y' ? 4 : 2;
    if (parts[0].size() != need) return std::nullopt;
    std::vector<std::string> split;
    std::size_t pos = 0;
    for (char c : layout) {
      const std::size_t n = c == 'Y' ? 4 : 2;
      split.push_back(parts[0].substr(pos, n));
      pos += n;
    }
    parts = split;
  }
  if (parts.size() != layout.size()) return std::nullopt;
  int year = 0, month = 0, day = 1;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const std::string& t = parts[i];
    const bool numeric = isDigit(t[0]);
    if (numeric && t.size() > 4) return std::nullopt;
    switch (layout[i]) {
      case 'b':
      case 'B':
      case 'm':
        month = numeric ? std::atoi(t.c_str()) : monthFromName(t);
        break;
      case 'd':
        if (!numeric) return std::nullopt;
        day = std::atoi(t.c_str());
        break;
      default:
        if (!numeric) return std::nullopt;
        year = expandYear(std::atoi(t.c_str()), t.size());
    }
  }
  if (month < 1 || month > 12 || year < 1801 || year > 9999 || day < 1 || day > daysInMonth(year, month))
    return std::nullopt;
  return dateFromYmd(year, month, day);
}

std::optional<TimeOfDay> Picture::parseTime(std::string_view input) const {
  std::string s = upperCase(trim(input));
  if (s.empty()) return TimeOfDay{0};
  int ampm = 0;  // 1 AM, 2 PM
  std::vector<std::string> numbers;
  for (auto& t : tokens(s)) {
    if (isDigit(t[0])) {
      if (ampm) return std::nullopt;  // nothing may follow the AM/PM marker
      numbers.push_back(t);
    } else if (t == "AM" || t == "A") ampm = 1;
    else if (t == "PM" || t == "P") ampm = 2;
    else return std::nullopt;
  }
  if (numbers.size() == 1 && numbers[0].size() > 2) {
    // "hhmm" or "hhmmss" typed without separators
    const std::string d = numbers[0];
    if (d.size() != 3 && d.size() != 4 && d.size() != 5 && d.size() != 6) return std::nullopt;
    const std::size_t h = d.size() % 2 ? 1 : 2;
    numbers = {d.substr(0, h), d.substr(h, 2)};
    if (d.size() > 4) numbers.push_back(d.substr(h + 2, 2));
  }
  if (numbers.empty() || numbers.size() > 4) return std::nullopt;
  int parts[4] = {0, 0, 0, 0};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (numbers[i].size() > 2) return std::nullopt;
    parts[i] = std::atoi(numbers[i].c_str());
  }
  int hour = parts[0];
  if (ampm) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour = hour % 12 + (ampm == 2 ? 12 : 0);
  }
  const TimeOfDay t = timeFromHms(hour, parts[1], parts[2], parts[3]);
  if (t == 0) return std::nullopt;
  return t;
}

std::optional<double> Picture::deformat(std::string_view input) const {
  switch (kind_) {
    case Kind::Date:
      if (auto d = parseDate(input)) return static_cast<double>(*d);
      return std::nullopt;
    case Kind::Time:
      if (auto t = parseTime(input)) return static_cast<double>(*t);
      return std::nullopt;
    case Kind::Number:
      if (auto n = cleanNumber(input)) return parseNumber(*n);
      return std::nullopt;
    case Kind::Text:
      if (trim(input).empty()) return 0.0;
      return parseNumber(input);
  }
  return std::nullopt;
}

std::optional<Decimal> Picture::deformatDecimal(std::string_view input) const {
  if (kind_ == Kind::Number) {
    if (auto n = cleanNumber(input)) return Decimal::parse(*n);
    return std::nullopt;
  }
  if (auto v = deformat(input)) return Decimal::fromDouble(*v);
  return std::nullopt;
}

std::string Picture::deformatText(std::string_view input) const {
  if (kind_ == Kind::Text) return std::string(utf8Left(input, static_cast<std::size_t>(width_)));
  return std::string(input);
}

std::string formatPicture(double value, std::string_view picture) {
  if (auto p = Picture::parse(picture)) return p->format(value);
  return generalText(value);
}

std::string formatPicture(std::string_view text, std::string_view picture) {
  if (auto p = Picture::parse(picture)) return p->formatText(text);
  return std::string(text);
}

}  // namespace vrt
