#include "runtime/expr/value.h"

#include <charconv>
#include <cmath>

#include "runtime/text/utf8.h"

namespace vrt::expr {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct NumberSpan {
  std::size_t begin = 0, end = 0;  // the digits, point and exponent, without the sign
  bool negative = false;
  bool found = false;
};

// Finds the number at the start of `text`; `end` of the whole match is returned in `stop`.
NumberSpan scanNumber(std::string_view text, std::size_t& stop) {
  NumberSpan n;
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) n.negative = text[i++] == '-';
  n.begin = i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    std::size_t j = i + 1, fraction = 0;
    while (j < text.size() && isDigit(text[j])) ++j, ++fraction;
    if (digits + fraction > 0) i = j, digits += fraction;
  }
  if (digits == 0) {
    stop = 0;
    return n;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      i = j;
    }
  }
  n.end = i;
  n.found = true;
  stop = i;
  return n;
}

double readSpan(std::string_view text, const NumberSpan& n) {
  if (!n.found) return 0;
  // from_chars does not take a leading point ("0.5" yes, ".5" no).
  std::string digits;
  if (text[n.begin] == '.') digits = "0";
  digits.append(text.substr(n.begin, n.end - n.begin));
  double v = 0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (ec != std::errc() || !std::isfinite(v)) return 0;
  return n.negative ? -v : v;
}

}  // namespace

Value Value::number(double n) {
  Value v;
  v.number_ = std::isfinite(n) ? n : 0;
  if (v.number_ == 0) v.number_ = 0;  // no negative zero
  return v;
}

Value Value::text(std::string t) {
  Value v;
  v.isNumber_ = false;
  v.text_ = std::move(t);
  return v;
}

double Value::toNumber() const { return isNumber_ ? number_ : numberFromText(text_); }

std::string Value::toText() const { return isNumber_ ? textFromNumber(number_) : text_; }

bool Value::isTrue() const { return isNumber_ ? number_ != 0 : !clip(text_).empty(); }

double numberFromText(std::string_view text) {
  std::size_t stop = 0;
  const NumberSpan n = scanNumber(text, stop);
  return readSpan(text, n);
}

bool isNumericText(std::string_view text) {
  std::size_t stop = 0;
  const NumberSpan n = scanNumber(text, stop);
  if (!n.found) return false;
  while (stop < text.size() && isBlank(text[stop])) ++stop;
  return stop == text.size();
}

std::string textFromNumber(double n) {
  if (!std::isfinite(n)) return "0";
  char buf[64];
  // Whole numbers that a double holds exactly are written out in full.
  const bool whole = n == std::trunc(n) && std::fabs(n) < 1e15;
  const auto [end, ec] = whole ? std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed, 0)
                               : std::to_chars(buf, buf + sizeof buf, n, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  std::string out(buf, end);
  return out == "-0" ? "0" : out;
}

int compareValues(const Value& a, const Value& b) {
  if (a.isNumber() || b.isNumber()) {
    const double x = a.toNumber(), y = b.toNumber();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return compareText(a.toText(), b.toText());
}

}  // namespace vrt::expr
