#pragma once
// The values expressions compute with: a number (double) or a text (UTF-8). Dates and times
// are numbers (day numbers, time numbers). A value is never NaN or infinite.
#include <string>
#include <string_view>

namespace vrt::expr {

class Value {
 public:
  Value() = default;  // the number 0
  static Value number(double n);
  static Value text(std::string t);
  static Value boolean(bool b) { return number(b ? 1 : 0); }

  bool isNumber() const { return isNumber_; }
  bool isText() const { return !isNumber_; }

  // A text reads as the number at its start ("12 days" is 12; "abc" is 0).
  double toNumber() const;
  // Numbers in their plain form: "42", "-0.5", "1e+20".
  std::string toText() const;
  // Truth: a non-zero number, a text that is not blank.
  bool isTrue() const;

  // Same kind and same content (for tests and constant folding, not the language's "=").
  bool operator==(const Value& o) const = default;

 private:
  bool isNumber_ = true;
  double number_ = 0;
  std::string text_;
};

// The number at the start of `text` after leading blanks: sign, digits, point, exponent.
double numberFromText(std::string_view text);
// Whether the whole of `text` (blanks around allowed) is such a number.
bool isNumericText(std::string_view text);
std::string textFromNumber(double n);

// The language's comparison: numeric when either side is a number, otherwise text
// ignoring trailing blanks. Negative, zero or positive.
int compareValues(const Value& a, const Value& b);

}  // namespace vrt::expr
