#pragma once
// Display pictures: how a value is shown in a control or a report, and how text a user
// typed is read back ("deformatted"). Parsing rejects text that does not fit the picture.
//
//   @sN            text, N characters
//   @n[-][0|_]N[.D][b]   number right-aligned in N characters; "-" sign, "0" zero fill,
//                  "_" no "," grouping, D decimals, "b" blank when zero
//   @dN[sep][b]    dates 1..18 (2 = mm/dd/yyyy, 17/18 the locale's short/long form);
//                  sep "-", ".", "_" (blank) instead of "/"; "b" blank when zero
//   @tN[b]         times 1..8 (3 = h:mmAM, 4 = hh:mm:ss, 7/8 the locale's short/long form)
#include <optional>
#include <string>
#include <string_view>

#include "runtime/text/dates.h"
#include "runtime/text/decimal.h"

namespace vrt {

class Picture {
 public:
  enum class Kind { Text, Number, Date, Time };

  // nullopt when `text` is not a picture this system knows.
  static std::optional<Picture> parse(std::string_view text);

  Kind kind() const { return kind_; }
  int style() const { return style_; }  // the date or time picture number
  int width() const { return width_; }  // characters a formatted value takes (text and numbers)
  int decimals() const { return decimals_; }
  bool blankWhenZero() const { return blank_; }
  const std::string& text() const { return text_; }

  // Numbers, day numbers and times.
  std::string format(double value) const;
  std::string format(const Decimal& value) const;
  // Text pictures cut to their width; other kinds read the text as a number first.
  std::string formatText(std::string_view value) const;

  // What a user typed, read back. Empty (or blank) input reads as 0.
  std::optional<double> deformat(std::string_view input) const;
  std::optional<Decimal> deformatDecimal(std::string_view input) const;
  // Text pictures: the input cut to the width (never rejected).
  std::string deformatText(std::string_view input) const;

 private:
  Picture() = default;
  std::string formatDigits(bool negative, std::string intDigits, std::string fraction, bool isZero) const;
  std::string formatDate(DayNumber date) const;
  std::string formatTime(TimeOfDay time) const;
  // The cleaned number text ("-1234.5") when `input` fits this number picture.
  std::optional<std::string> cleanNumber(std::string_view input) const;
  std::optional<DayNumber> parseDate(std::string_view input) const;
  std::optional<TimeOfDay> parseTime(std::string_view input) const;

  Kind kind_ = Kind::Text;
  std::string text_;
  int style_ = 0;
  int width_ = 0;
  int decimals_ = 0;
  bool blank_ = false;
  bool sign_ = false;
  bool zeroFill_ = false;
  bool grouping_ = true;
  char separator_ = '/';
};

// Convenience for one-off use; an unknown picture formats the plain value.
std::string formatPicture(double value, std::string_view picture);
std::string formatPicture(std::string_view text, std::string_view picture);

}  // namespace vrt
