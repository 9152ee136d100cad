#include "shell/text_matcher.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/text/utf8.h"

namespace vesp {

namespace {

TextMatcher* currentMatcher = nullptr;

// How much a typed word counts by the position of the candidate word it matches.
constexpr int kPositionWeights[] = {40, 25, 15, 10, 5, 5};

std::vector<std::string> wordsOf(std::string_view text, bool upper) {
  std::vector<std::string> out;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == ',' || c == '.' || c == '-' || c == '\t') {
      if (!word.empty()) out.push_back(upper ? vrt::upperCase(word) : word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) out.push_back(upper ? vrt::upperCase(word) : word);
  return out;
}

}  // namespace

void TextMatcher::Init() {
  initialised_ = true;
  ignoreCase_ = 0;
  wholeWords_ = 0;
}

void TextMatcher::Kill() {
  initialised_ = false;
  if (currentMatcher == this) currentMatcher = nullptr;
}

void TextMatcher::SetOption(int option, int value) {
  if (option == 1) ignoreCase_ = value;
  else if (option == 2) wholeWords_ = value;
}

int TextMatcher::Option(int option) const { return option == 1 ? ignoreCase_ : option == 2 ? wholeWords_ : 0; }

int TextMatcher::Match(std::string_view typed, std::string_view candidate) const {
  const auto want = wordsOf(typed, ignoreCase_ != 0);
  const auto have = wordsOf(candidate, ignoreCase_ != 0);
  if (want.empty() || have.empty()) return 0;
  if (want == have) return 100;
  int score = 0, best = 0;
  std::size_t from = 0;
  for (std::size_t w = 0; w < want.size(); ++w) {
    best += kPositionWeights[std::min<std::size_t>(w, std::size(kPositionWeights) - 1)];
    for (std::size_t h = from; h < have.size(); ++h) {
      const bool hit = wholeWords_ ? have[h] == want[w] : have[h].rfind(want[w], 0) == 0;
      if (!hit) continue;
      score += kPositionWeights[std::min<std::size_t>(h, std::size(kPositionWeights) - 1)];
      from = h + 1;  // later words must come later
      break;
    }
  }
  return best ? std::min(99, score * 100 / best) : 0;
}

TextMatcher* TextMatcher::current() { return currentMatcher; }
void TextMatcher::makeCurrent(TextMatcher* matcher) { currentMatcher = matcher; }

TextMatcher& textMatcher() {
  static TextMatcher matcher;
  return matcher;
}

}  // namespace vesp
