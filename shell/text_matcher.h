#pragma once
// The scoring text matcher that start-up initialises: it rates how well a typed text matches
// a candidate, words at the start and in order counting most. No screen uses it yet.
#include <string_view>

namespace vesp {

class TextMatcher {
 public:
  void Init();
  void Kill();
  bool IsInitialised() const { return initialised_; }
  // Option 1: ignore case (1) or not (0); option 2: whole words only (1) or also word starts (0).
  void SetOption(int option, int value);
  int Option(int option) const;
  // 0 (no match) to 100 (the same text).
  int Match(std::string_view typed, std::string_view candidate) const;

  // The process's current matcher; nullptr until start-up makes one current.
  static TextMatcher* current();
  static void makeCurrent(TextMatcher* matcher);

 private:
  bool initialised_ = false;
  int ignoreCase_ = 0;
  int wholeWords_ = 0;
};

// The matcher start-up sets up.
TextMatcher& textMatcher();

}  // namespace vesp
