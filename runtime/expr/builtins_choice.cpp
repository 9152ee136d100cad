// Choosing among values and testing them against lists, ranges and patterns.
#include <QRegularExpression>
#include <QString>
#include <string>

#include "runtime/expr/builtins.h"
#include "runtime/text/utf8.h"

namespace vrt::expr::builtins {

namespace {

// MATCH modes; the no-case flag may be added to any of them.
enum MatchMode : int {
  kMatchSimple = 0,   // equal, ignoring trailing blanks
  kMatchWild = 1,     // * any run of characters, ? any one character
  kMatchRegular = 2,  // regular expression, found anywhere in the text
  kMatchSoundex = 3,  // same Soundex code
  kMatchNoCase = 0x10,
};

std::u32string characters(std::string_view s) {
  std::u32string out;
  for (std::size_t pos = 0; pos < s.size();) out += utf8Next(s, pos);
  return out;
}

bool wildMatch(const std::u32string& text, const std::u32string& pattern) {
  std::size_t t = 0, p = 0, starAt = std::u32string::npos, resumeAt = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == text[t])) {
      ++t, ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starAt = p++;
      resumeAt = t;
    } else if (starAt != std::u32string::npos) {
      p = starAt + 1;  // let the last star take one more character
      t = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

// American Soundex of the letters of `s`: the first letter and three digits.
std::string soundex(std::string_view s) {
  static constexpr char kCodes[] = "01230120022455012623010202";  // A..Z
  std::string out;
  char last = 0;
  for (char c : upperCase(s)) {
    if (c < 'A' || c > 'Z') continue;
    const char code = kCodes[c - 'A'];
    if (out.empty()) {
      out += c;
    } else if (code != '0' && code != last) {
      out += code;
      if (out.size() == 4) break;
    }
    if (c != 'H' && c != 'W') last = code;
  }
  if (out.empty()) return out;
  out.resize(4, '0');
  return out;
}

}  // namespace

// CHOOSE(n, a, b, …): the n-th of the values; the last one when n is out of range.
Value choose(Args& a) {
  const auto values = static_cast<std::int64_t>(a.size()) - 1;
  const std::int64_t n = a.whole(0, 0, values + 1);
  return a[static_cast<std::size_t>(n >= 1 && n <= values ? n : values)];
}

// INLIST(s, a, b, …): the position of the first value equal to s, or 0.
Value inlist(Args& a) {
  for (std::size_t i = 1; i < a.size(); ++i)
    if (compareValues(a[0], a[i]) == 0) return Value::number(static_cast<double>(i));
  return Value::number(0);
}

Value inrange(Args& a) { return Value::boolean(compareValues(a[0], a[1]) >= 0 && compareValues(a[0], a[2]) <= 0); }

Value match(Args& a) {
  const std::int64_t mode = a.whole(2, 0, 0xFF, kMatchWild);
  const bool noCase = (mode & kMatchNoCase) != 0;
  std::string text(vrt::clip(a.text(0))), pattern(vrt::clip(a.text(1)));
  if (noCase && (mode & 0x0F) != kMatchRegular) {
    text = upperCase(text);
    pattern = upperCase(pattern);
  }
  switch (mode & 0x0F) {
    case kMatchSimple: return Value::boolean(text == pattern);
    case kMatchWild: return Value::boolean(wildMatch(characters(text), characters(pattern)));
    case kMatchSoundex: return Value::boolean(!text.empty() && soundex(text) == soundex(pattern));
    case kMatchRegular: {
      const QRegularExpression re(QString::fromStdString(pattern),
                                  noCase ? QRegularExpression::CaseInsensitiveOption : QRegularExpression::NoPatternOption);
      if (!re.isValid()) return a.fail(Problem::InvalidArgument, Value::number(0));
      return Value::boolean(re.match(QString::fromStdString(text)).hasMatch());
    }
    default: return a.fail(Problem::InvalidArgument, Value::number(0));
  }
}

// NULL(v): the value holds nothing: a zero number (no date, no time) or blank text.
Value null(Args& a) { return Value::boolean(!a[0].isTrue()); }

}  // namespace vrt::expr::builtins
