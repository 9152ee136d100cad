#include "runtime/text/utf8.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace vrt {

namespace {

// Length of the sequence a lead byte announces, or 0 when it cannot start one.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes the character at `pos` occupies; a malformed sequence counts its lead byte only.
std::size_t charBytes(std::string_view text, std::size_t pos) {
  const int n = sequenceLength(static_cast<unsigned char>(text[pos]));
  if (n <= 1 || pos + n > text.size()) return 1;
  for (int i = 1; i < n; ++i)
    if (!isContinuation(static_cast<unsigned char>(text[pos + i]))) return 1;
  return static_cast<std::size_t>(n);
}

}  // namespace

std::string_view utf8Truncate(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t n = charBytes(text, pos);
    if (pos + n > maxBytes) break;
    pos += n;
  }
  return text.substr(0, pos);
}

std::string_view utf8Left(std::string_view text, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t count = 0; pos < text.size() && count < maxChars; ++count) pos += charBytes(text, pos);
  return text.substr(0, pos);
}

std::size_t utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) pos += charBytes(text, pos);
  return count;
}

char32_t utf8Next(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t n = charBytes(text, pos);
  if (n == 1) {
    ++pos;
    return lead;
  }
  char32_t cp = lead & (0x7F >> n);
  for (std::size_t i = 1; i < n; ++i) cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  pos += n;
  return cp;
}

void utf8Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string_view clip(std::string_view text) {
  // Fixed-length fields are mostly padding: skip whole blocks of blanks first.
  static const std::string kBlankBlock(256, ' ');
  constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
  std::size_t end = text.size();
  while (end >= kBlankBlock.size() && std::memcmp(text.data() + end - kBlankBlock.size(), kBlankBlock.data(),
                                                   kBlankBlock.size()) == 0)
    end -= kBlankBlock.size();
  while (end >= 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + end - 8, 8);
    if (word != kEightBlanks) break;
    end -= 8;
  }
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

char32_t upperCaseChar(char32_t cp) {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  return QChar::toUpper(static_cast<char32_t>(cp));
}

namespace {

using AsciiTable = std::array<char, 128>;

template <typename Map>
AsciiTable asciiTable(Map map) {
  AsciiTable t{};
  for (unsigned c = 0; c < 128; ++c) t[c] = static_cast<char>(map(c));
  return t;
}

// ASCII text, the usual case, is mapped in place in one pass through `ascii`.
template <typename Map>
std::string mapCase(std::string_view text, const AsciiTable& ascii, Map map) {
  std::string out(text);
  std::size_t pos = 0;
  for (; pos < out.size(); ++pos) {
    const auto c = static_cast<unsigned char>(out[pos]);
    if (c >= 0x80) break;
    out[pos] = ascii[c];
  }
  if (pos == out.size()) return out;
  out.resize(pos);
  while (pos < text.size()) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      out += static_cast<char>(map(c));
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t cp = utf8Next(text, pos);
    if (pos - start == 1) {
      out += static_cast<char>(c);  // a stray byte stays as it was
    } else {
      utf8Append(out, map(cp));
    }
  }
  return out;
}

}  // namespace

char32_t lowerCaseChar(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  return QChar::toLower(cp);
}

std::string upperCase(std::string_view text) {
  static const AsciiTable ascii = asciiTable(upperCaseChar);
  return mapCase(text, ascii, upperCaseChar);
}

std::string lowerCase(std::string_view text) {
  static const AsciiTable ascii = asciiTable(lowerCaseChar);
  return mapCase(text, ascii, lowerCaseChar);
}

namespace {

// Trailing blanks, the common case of none decided without a call.
inline std::string_view clipQuick(std::string_view text) {
  return text.empty() || text.back() != ' ' ? text : clip(text);
}

constexpr std::array<unsigned char, 128> kAsciiUpper = [] {
  std::array<unsigned char, 128> t{};
  for (unsigned c = 0; c < 128; ++c) t[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return t;
}();

// Character by character from `i` in both texts (a character may take different bytes in
// each): the general case, reached only where non-ASCII text decides.
int compareNoCaseFrom(std::string_view a, std::string_view b, std::size_t i) {
  std::size_t j = i;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    char32_t ua, ub;
    if (ca < 0x80 && cb < 0x80) {
      ua = kAsciiUpper[ca];
      ub = kAsciiUpper[cb];
      ++i;
      ++j;
    } else {
      ua = upperCaseChar(utf8Next(a, i));
      ub = upperCaseChar(utf8Next(b, j));
    }
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

int compareText(std::string_view a, std::string_view b) {
  a = clipQuick(a);
  b = clipQuick(b);
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The key order of every case-blind index: called for each comparison, so it allocates
// nothing and folds only the bytes where the texts differ. Equal bytes are equal characters
// as long as both texts split them the same way, which holds up to the character that
// holds the first difference; from there on the general walk decides.
int compareTextNoCase(std::string_view a, std::string_view b) {
  a = clipQuick(a);
  b = clipQuick(b);
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca == cb) continue;
    if ((ca | cb) >= 0x80) break;
    // Both ASCII, so a character starts here in both texts.
    if (kAsciiUpper[ca] != kAsciiUpper[cb]) return kAsciiUpper[ca] < kAsciiUpper[cb] ? -1 : 1;
  }
  if (i == n && a.size() == b.size()) return 0;
  // Back to the start of the character the difference (or the shorter end) falls in: a
  // lead byte among the three before it, with only continuation bytes between.
  std::size_t start = i;
  for (std::size_t back = 1; back <= 3 && back <= i; ++back) {
    const auto c = static_cast<unsigned char>(a[i - back]);
    if (isContinuation(c)) continue;
    if (c >= 0xC0) start = i - back;
    break;
  }
  if (start == i && i == n) return a.size() < b.size() ? -1 : 1;
  return compareNoCaseFrom(a, b, start);
}

}  // namespace vrt
