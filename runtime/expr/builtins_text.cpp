// Text functions. Positions and lengths count characters, not bytes.
#include <QChar>
#include <algorithm>
#include <vector>

#include "runtime/expr/builtins.h"
#include "runtime/text/picture.h"
#include "runtime/text/search_words.h"
#include "runtime/text/utf8.h"

namespace vrt::expr::builtins {

namespace {

constexpr std::int64_t kFar = std::int64_t{1} << 40;  // beyond any text, yet safe to add

// Byte offset of each character, then the text's size.
std::vector<std::size_t> characterStarts(std::string_view s) {
  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < s.size();) {
    starts.push_back(pos);
    utf8Next(s, pos);
  }
  starts.push_back(s.size());
  return starts;
}

std::string blanks(std::int64_t n) { return std::string(static_cast<std::size_t>(std::max<std::int64_t>(n, 0)), ' '); }

std::string_view dropLeadingBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

char32_t firstCharacter(std::string_view s) {
  std::size_t pos = 0;
  return s.empty() ? 0 : utf8Next(s, pos);
}

enum class Justify { Left, Right, Center };

// The text without the blanks on the side(s) it is pushed to, cut or padded to the width.
Value justify(Args& a, Justify how) {
  const std::string s = a.text(0);
  const std::int64_t width = a.length(1, static_cast<std::int64_t>(utf8Length(s)));
  std::string_view body = s;
  if (how != Justify::Right) body = dropLeadingBlanks(body);
  if (how != Justify::Left) body = vrt::clip(body);
  body = utf8Left(body, static_cast<std::size_t>(width));
  const std::int64_t pad = width - static_cast<std::int64_t>(utf8Length(body));
  switch (how) {
    case Justify::Left: return Value::text(std::string(body) + blanks(pad));
    case Justify::Right: return Value::text(blanks(pad) + std::string(body));
    case Justify::Center: return Value::text(blanks(pad / 2) + std::string(body) + blanks(pad - pad / 2));
  }
  return Value::text({});
}

std::optional<Picture> pictureArgument(const Args& a, std::size_t i) {
  const std::string text = a.text(i);
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::nullopt : Picture::parse(vrt::clip(std::string_view(text).substr(first)));
}

}  // namespace

Value sub(Args& a) {
  const std::string s = a.text(0);
  const auto starts = characterStarts(s);
  const auto count = static_cast<std::int64_t>(starts.size()) - 1;
  const std::int64_t start = a.whole(1, -kFar, kFar);
  const std::int64_t first = std::max<std::int64_t>(start, 1);
  const std::int64_t last = a.has(2) ? std::min(start + a.whole(2, -kFar, kFar) - 1, count) : count;
  if (first > last) return Value::text({});
  const std::size_t from = starts[static_cast<std::size_t>(first - 1)];
  return Value::text(s.substr(from, starts[static_cast<std::size_t>(last)] - from));
}

// INSTRING(sub, s, step, start): a negative step searches from `start` toward the beginning.
Value instring(Args& a) {
  const std::string needle = a.text(0), hay = a.text(1);
  if (needle.empty()) return Value::number(0);
  // The common search, forward from the first character, needs no table of positions.
  if (a.whole(2, -kFar, kFar, 1) == 1 && a.whole(3, -kFar, kFar, 1) <= 1) {
    for (std::size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) {
      const std::size_t characters = utf8Length(std::string_view(hay).substr(0, at));
      // A match inside a broken sequence is not at a character of its own.
      if (utf8Length(std::string_view(hay).substr(0, at + 1)) == characters + 1 &&
          utf8Left(hay, characters).size() == at)
        return Value::number(static_cast<double>(characters + 1));
    }
    return Value::number(0);
  }
  const auto starts = characterStarts(hay);
  const auto count = static_cast<std::int64_t>(starts.size()) - 1;
  std::int64_t step = a.whole(2, -kFar, kFar, 1);
  if (step == 0) step = 1;
  const std::int64_t start = a.whole(3, -kFar, kFar, step > 0 ? 1 : count);
  auto foundAt = [&](std::int64_t pos) {
    return hay.compare(starts[static_cast<std::size_t>(pos - 1)], needle.size(), needle) == 0;
  };
  if (step > 0) {
    for (std::int64_t pos = std::max<std::int64_t>(start, 1); pos <= count; pos += step)
      if (foundAt(pos)) return Value::number(static_cast<double>(pos));
  } else {
    for (std::int64_t pos = std::min(start, count); pos >= 1; pos += step)
      if (foundAt(pos)) return Value::number(static_cast<double>(pos));
  }
  return Value::number(0);
}

Value clip(Args& a) { return Value::text(std::string(vrt::clip(a.text(0)))); }
Value left(Args& a) { return justify(a, Justify::Left); }
Value right(Args& a) { return justify(a, Justify::Right); }
Value center(Args& a) { return justify(a, Justify::Center); }

Value all(Args& a) {
  const std::string s = a.text(0);
  const std::int64_t width = a.length(1, 255);
  if (s.empty()) return Value::text(blanks(width));
  const auto starts = characterStarts(s);
  const std::size_t count = starts.size() - 1;
  std::string out;
  for (std::int64_t i = 0; i < width; ++i) {
    const std::size_t c = static_cast<std::size_t>(i) % count;
    out.append(s, starts[c], starts[c + 1] - starts[c]);
  }
  return Value::text(std::move(out));
}

Value len(Args& a) { return Value::number(static_cast<double>(utf8Length(a.text(0)))); }
Value upper(Args& a) { return Value::text(upperCase(a.text(0))); }
Value lower(Args& a) { return Value::text(lowerCase(a.text(0))); }

Value isAlpha(Args& a) {
  const char32_t c = firstCharacter(a.text(0));
  return Value::boolean(c != 0 && QChar::isLetter(c));
}

Value isUpper(Args& a) {
  const char32_t c = firstCharacter(a.text(0));
  return Value::boolean(c != 0 && QChar::isUpper(c));
}

Value isLower(Args& a) {
  const char32_t c = firstCharacter(a.text(0));
  return Value::boolean(c != 0 && QChar::isLower(c));
}

Value numeric(Args& a) { return Value::boolean(a[0].isNumber() || isNumericText(a.text(0))); }

Value val(Args& a) { return Value::number(static_cast<double>(firstCharacter(a.text(0)))); }

Value chr(Args& a) {
  const std::int64_t code = a.whole(0, -1, 0x110000);
  if (code == 0) return Value::text({});
  if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return a.fail(Problem::InvalidArgument, Value::text({}));
  std::string out;
  utf8Append(out, static_cast<char32_t>(code));
  return Value::text(std::move(out));
}

Value format(Args& a) {
  const auto picture = pictureArgument(a, 1);
  if (!picture) return a.fail(Problem::InvalidPicture, Value::text(a.text(0)), a.text(1));
  switch (picture->kind()) {
    case Picture::Kind::Text: return Value::text(picture->formatText(a.text(0)));
    case Picture::Kind::Number: return Value::text(picture->format(a.number(0)));
    default:
      // Day and time numbers beyond any date are no date at all.
      return Value::text(picture->format(static_cast<double>(a.whole(0, -1, 0x7FFFFFFF))));
  }
}

// DEFORMAT(s, pic) reads `s` as the picture shows it; without a picture, the number that
// is left when everything but digits, sign and point is taken out.
Value deformat(Args& a) {
  const std::string s = a.text(0);
  if (!a.has(1)) {
    std::string kept;
    std::copy_if(s.begin(), s.end(), std::back_inserter(kept), [](char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; });
    return Value::number(numberFromText(kept));
  }
  const auto picture = pictureArgument(a, 1);
  if (!picture) return a.fail(Problem::InvalidPicture, Value::text(s), a.text(1));
  if (picture->kind() == Picture::Kind::Text) return Value::text(picture->deformatText(s));
  const auto v = picture->deformat(s);
  if (!v) return a.fail(Problem::InvalidArgument, Value::number(0));
  return Value::number(*v);
}

// MATCHWORDS(words, text, ...): every word of the first argument starts a word of one of
// the texts, as the word search finds words.
Value matchWords(Args& a) {
  std::vector<std::string> texts;
  for (std::size_t i = 1; i < a.size(); ++i) texts.push_back(a.text(i));
  return Value::number(wordsMatch(a.text(0), texts) ? 1 : 0);
}

}  // namespace vrt::expr::builtins
