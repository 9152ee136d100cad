#pragma once
// Numbers written as text, read the same way whatever the user's locale: the decimal point
// is always ".".
#include <optional>
#include <string>
#include <string_view>

namespace vrt {

// The whole text as a number (blanks around and a leading sign allowed); nullopt otherwise.
std::optional<double> parseNumber(std::string_view text);
// The number at the start of the text after leading blanks ("12 days" is 12); 0 when none.
double leadingNumber(std::string_view text);
// `value` with exactly `decimals` places ("1234.50"), rounded to nearest.
std::string fixedText(double value, int decimals);
// `value` in at most 15 significant digits, as short as it can be ("42", "0.5", "1e+20").
std::string generalText(double value);

}  // namespace vrt
