#include "windows/thumb_steps.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/text/utf8.h"

namespace vesp {

namespace {

using vrt::expr::Value;

// The punctuation a text step admits with kPunctuation (the pound sign is U+00A3).
constexpr char32_t kPunctuationSet[] = {U'`', U'!', U'"', U'\u00A3', U'$', U'%', U'^', U'&', U'*', U'(', U')',
                                        U'\'', U'-', U'=', U'_', U'+', U']', U'[', U'#', U';', U'~', U'@',
                                        U':', U'/', U'.', U',', U'?', U'\\', U'|', U' '};

int clampPercent(long long p) { return static_cast<int>(std::clamp<long long>(p, 1, 100)); }

std::u32string codePoints(std::string_view text) {
  std::u32string out;
  for (std::size_t pos = 0; pos < text.size();) out.push_back(vrt::utf8Next(text, pos));
  return out;
}

std::string trimmed(std::string_view text, std::size_t maxChars) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  return std::string(vrt::clip(vrt::utf8Left(text.substr(start), maxChars)));
}

}  // namespace

// ---- numbers

void NumberStep::SetLimits(const Value& first, const Value& last) {
  low_ = first.toNumber();
  high_ = last.toNumber();
  if (descending()) std::swap(low_, high_);
}

Value NumberStep::ValueAt(int percentile) const {
  const int p = descending() ? 100 - percentile : percentile;
  if (integral_) {
    const auto low = static_cast<long long>(low_), high = static_cast<long long>(high_);
    return Value::number(static_cast<double>(low + p * (high - low) / 100));
  }
  return Value::number(low_ + p * (high_ - low_) / 100);
}

int NumberStep::Percentile(const Value& value) const {
  if (high_ == low_) return 50;
  const double v = value.toNumber();
  long long p = integral_ ? (static_cast<long long>(v) - static_cast<long long>(low_)) * 100 /
                                (static_cast<long long>(high_) - static_cast<long long>(low_))
                          : static_cast<long long>(std::floor((v - low_) * 100 / (high_ - low_)));
  if (descending()) p = 100 - p;
  return clampPercent(p);
}

// ---- text

TextStep::TextStep(unsigned flags) : ThumbStep(flags) {
  const auto admitted = [this](char32_t c) {
    if ((flags_ & kLetters) && ((c >= U'A' && c <= U'Z') || ((flags_ & kCaseSensitive) && c >= U'a' && c <= U'z')))
      return true;
    if ((flags_ & kDigits) && c >= U'0' && c <= U'9') return true;
    return (flags_ & kPunctuation) && std::find(std::begin(kPunctuationSet), std::end(kPunctuationSet), c) !=
                                          std::end(kPunctuationSet);
  };
  for (char32_t c = 1; c <= 255; ++c)
    if (admitted(c)) set_.push_back(c);
  if (set_.empty()) set_.push_back(U'A');  // a step that admits nothing still answers
}

std::string TextStep::folded(std::string_view text) const {
  return (flags_ & kCaseSensitive) ? std::string(text) : vrt::upperCase(text);
}

int TextStep::indexOf(char32_t c) const {
  const auto it = std::lower_bound(set_.begin(), set_.end(), c);
  return it != set_.end() && *it == c ? static_cast<int>(it - set_.begin()) : 0;
}

long long TextStep::numberOf(std::string_view text, int pad) const {
  const std::u32string chars = codePoints(text);
  const auto base = static_cast<long long>(set_.size());
  long long n = 0;
  for (int i = 0; i < kWidth; ++i)
    n = n * base + (static_cast<std::size_t>(i) < chars.size() ? indexOf(chars[static_cast<std::size_t>(i)]) : pad);
  return n;
}

std::string TextStep::textOf(long long number) const {
  const auto base = static_cast<long long>(set_.size());
  std::u32string digits(kWidth, set_.front());
  for (int i = kWidth - 1; i >= 0; --i) {
    digits[static_cast<std::size_t>(i)] = set_[static_cast<std::size_t>(number % base)];
    number /= base;
  }
  std::string out;
  for (char32_t c : digits) vrt::utf8Append(out, c);
  return out;
}

void TextStep::SetLimits(const Value& first, const Value& last) {
  const std::string low = folded(trimmed(first.toText(), kLimitChars));
  const std::string high = folded(trimmed(last.toText(), kLimitChars));
  equalLimits_ = low == high;
  // The shared leading text, whole characters only.
  std::size_t shared = 0, chars = 0;
  for (std::size_t a = 0, b = 0; a < low.size() && b < high.size() && chars < kPrefixChars; ++chars) {
    if (vrt::utf8Next(low, a) != vrt::utf8Next(high, b)) break;
    shared = a;
  }
  prefix_ = low.substr(0, shared);
  const long long lowNumber = numberOf(std::string_view(low).substr(shared), 0);
  const long long highNumber = numberOf(std::string_view(high).substr(shared), static_cast<int>(set_.size()) - 1);
  for (int j = 0; j < 100; ++j) {
    const long long n = lowNumber + j * (highNumber - lowNumber) / 100;
    const std::size_t at = static_cast<std::size_t>(descending() ? 99 - j : j);
    numbers_[at] = n;
    breakpoints_[at] = textOf(n);
  }
}

Value TextStep::ValueAt(int percentile) const {
  int p = descending() ? 100 - percentile : percentile;
  p = clampPercent(p);
  return Value::text(prefix_ + breakpoints_[static_cast<std::size_t>(p - 1)]);
}

int TextStep::Percentile(const Value& value) const {
  if (equalLimits_) return 50;
  const std::string v = folded(trimmed(value.toText(), kLimitChars));
  long long n;
  if (v.compare(0, prefix_.size(), prefix_) == 0) {
    n = numberOf(std::string_view(v).substr(prefix_.size()), 0);
  } else {
    // A value outside the shared leading text lies before or after every breakpoint.
    n = v < prefix_ ? -1 : std::numeric_limits<long long>::max();
  }
  const auto firstGreater = std::upper_bound(numbers_.begin(), numbers_.end(), n);
  long long p = firstGreater - numbers_.begin();
  if (descending()) p = 100 - p;
  return clampPercent(p);
}

}  // namespace vesp
