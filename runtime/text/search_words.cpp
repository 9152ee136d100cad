#include "runtime/text/search_words.h"

#include "runtime/text/utf8.h"

namespace vrt {

namespace {

// The base letter of an accented Latin letter (U+00C0 to U+017F), in capitals; 0 for none.
char32_t baseLetter(char32_t upper) {
  static constexpr char32_t kLatin1[] = {
      U'A', U'A', U'A', U'A', U'A', U'A', 0,    U'C', U'E', U'E', U'E', U'E', U'I', U'I', U'I', U'I',  // C0
      0,    U'N', U'O', U'O', U'O', U'O', U'O', 0,    U'O', U'U', U'U', U'U', U'U', U'Y', 0,    0,     // D0
  };
  if (upper >= 0xC0 && upper < 0xE0) return kLatin1[upper - 0xC0];
  if (upper == 0x178) return U'Y';
  if (upper >= 0x100 && upper < 0x180) {
    // Latin Extended-A comes in capital/small pairs, runs of one base letter each.
    struct Run {
      char32_t first, last, base;
    };
    static constexpr Run kRuns[] = {
        {0x100, 0x105, U'A'}, {0x106, 0x10D, U'C'}, {0x10E, 0x111, U'D'}, {0x112, 0x11B, U'E'},
        {0x11C, 0x123, U'G'}, {0x124, 0x127, U'H'}, {0x128, 0x131, U'I'}, {0x134, 0x135, U'J'},
        {0x136, 0x138, U'K'}, {0x139, 0x142, U'L'}, {0x143, 0x14B, U'N'}, {0x14C, 0x151, U'O'},
        {0x154, 0x159, U'R'}, {0x15A, 0x161, U'S'}, {0x162, 0x167, U'T'}, {0x168, 0x173, U'U'},
        {0x174, 0x175, U'W'}, {0x176, 0x177, U'Y'}, {0x179, 0x17E, U'Z'},
    };
    for (const Run& r : kRuns)
      if (upper >= r.first && upper <= r.last) return r.base;
  }
  return 0;
}

bool isWordCharacter(char32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  // Punctuation and spaces beyond ASCII that titles carry: typographic quotes and dashes,
  // the no-break space, the ellipsis.
  return !(c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || c == 0xAB || c == 0xBB || c == 0xBF || c == 0xA1 ||
           c == 0x3000 || c == 0x3001 || c == 0x3002);
}

}  // namespace

std::vector<std::string> searchWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = utf8Next(text, at);
    if (!isWordCharacter(c)) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
      continue;
    }
    const char32_t upper = upperCaseChar(c);
    const char32_t base = baseLetter(upper);
    utf8Append(word, base ? base : upper);
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool wordsMatch(std::string_view wanted, const std::vector<std::string>& texts) {
  std::vector<std::string> haystack;
  for (const std::string& t : texts)
    for (std::string& w : searchWords(t)) haystack.push_back(std::move(w));
  for (const std::string& w : searchWords(wanted)) {
    bool found = false;
    for (const std::string& h : haystack)
      if (h.compare(0, w.size(), w) == 0) {
        found = true;
        break;
      }
    if (!found) return false;
  }
  return true;
}

std::string matchWordsFilter(std::string_view typed, const std::vector<std::string>& fields) {
  if (searchWords(typed).empty()) return {};
  std::string filter = "MATCHWORDS('";
  for (char c : typed) {
    if (c == '\'') filter += '\'';
    filter += c;
  }
  filter += "'";
  for (const std::string& f : fields) filter += ", " + f;
  return filter + ")";
}

}  // namespace vrt
