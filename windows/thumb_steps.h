#pragma once
// Thumb steps: turn the position of a browse list's thumb (0 to 100) into a value of the sort
// order's free key component, and a value back into a position. A step knows only the first
// and the last value of the data (its limits) and spreads the positions evenly between them:
// by number for number keys, by the characters after the shared leading text for text keys.
//
// With the descending flag the first value is the greatest, and position 0 still stands for
// the first record of the list.
#include <array>
#include <string>
#include <vector>

#include "runtime/expr/value.h"

namespace vesp {

class ThumbStep {
 public:
  // Kind flags.
  static constexpr unsigned kLetters = 1, kPunctuation = 2, kDigits = 4, kCaseSensitive = 8, kDescending = 16;

  explicit ThumbStep(unsigned flags) : flags_(flags) {}
  virtual ~ThumbStep() = default;

  // Where `value` lies between the limits, 1 to 100.
  virtual int Percentile(const vrt::expr::Value& value) const = 0;
  // The value that lies at `percentile` (0 to 100).
  virtual vrt::expr::Value ValueAt(int percentile) const = 0;
  virtual void Destroy() {}
  virtual void SetLimits(const vrt::expr::Value& first, const vrt::expr::Value& last) = 0;
  // Whether the limits must be read from the data (the browse reads the first and last record).
  virtual bool LimitsNeeded() const { return true; }

  unsigned flags() const { return flags_; }
  bool descending() const { return (flags_ & kDescending) != 0; }

 protected:
  unsigned flags_;
};

// Number keys (integers and reals alike): positions map linearly onto [low, high].
class NumberStep : public ThumbStep {
 public:
  explicit NumberStep(unsigned flags = 0, bool integral = true) : ThumbStep(flags), integral_(integral) {}

  int Percentile(const vrt::expr::Value& value) const override;
  vrt::expr::Value ValueAt(int percentile) const override;
  void SetLimits(const vrt::expr::Value& first, const vrt::expr::Value& last) override;

  double low() const { return low_; }
  double high() const { return high_; }

 private:
  bool integral_;
  double low_ = 0, high_ = 0;
};

// Text keys: the leading text that the first and last value share is the limit prefix; the
// next four characters of each, read as a number in base N over the step's character set,
// give 100 evenly spaced breakpoints.
class TextStep : public ThumbStep {
 public:
  static constexpr int kWidth = 4;          // characters of one breakpoint
  static constexpr std::size_t kPrefixChars = 40;
  static constexpr std::size_t kLimitChars = 80;

  explicit TextStep(unsigned flags = kLetters);

  int Percentile(const vrt::expr::Value& value) const override;
  vrt::expr::Value ValueAt(int percentile) const override;
  void SetLimits(const vrt::expr::Value& first, const vrt::expr::Value& last) override;

  const std::string& prefix() const { return prefix_; }
  const std::vector<char32_t>& characterSet() const { return set_; }
  // Breakpoint j (0 to 99) as stored: in reverse order with the descending flag.
  const std::string& breakpoint(int j) const { return breakpoints_[static_cast<std::size_t>(j)]; }

 private:
  std::string folded(std::string_view text) const;
  int indexOf(char32_t c) const;
  // The first kWidth characters of `text` as a number in base N, padded with `pad`.
  long long numberOf(std::string_view text, int pad) const;
  std::string textOf(long long number) const;

  std::vector<char32_t> set_;
  std::string prefix_;  // folded
  std::array<std::string, 100> breakpoints_;
  std::array<long long, 100> numbers_{};  // the breakpoints as numbers, in stored order
  bool equalLimits_ = true;
};

}  // namespace vesp
