#include "runtime/text/number_text.h"

#include <charconv>
#include <cmath>

namespace vrt {

namespace {

// Reads a number at the start of `text`; `used` receives how many characters it took.
std::optional<double> readNumber(std::string_view text, std::size_t& used) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // from_chars reads "inf" and "nan" too; only digits and a point may start a number here.
  if (pos >= text.size() || !((text[pos] >= '0' && text[pos] <= '9') || text[pos] == '.')) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
  if (ec == std::errc::invalid_argument) return std::nullopt;
  used = static_cast<std::size_t>(end - text.data());
  if (ec == std::errc::result_out_of_range || !std::isfinite(value)) value = 0;
  return negative ? -value : value;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
  std::size_t used = 0;
  const auto value = readNumber(text, used);
  if (!value) return std::nullopt;
  for (std::size_t i = used; i < text.size(); ++i)
    if (text[i] != ' ' && text[i] != '\t') return std::nullopt;
  return value;
}

double leadingNumber(std::string_view text) {
  std::size_t used = 0;
  return readNumber(text, used).value_or(0.0);
}

}  // namespace vrt

namespace vrt {

std::string fixedText(double value, int decimals) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

std::string generalText(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

}  // namespace vrt
