#pragma once
// The wording the program gives the query wizard at start-up: the library has none of its
// own, so every caption, prompt, button, message and font of its windows comes from here.
#include <span>

namespace vesp {

struct QueryWizardText {
  int id;
  const char* text;
};

// In the order start-up hands them over: ascending ids (9 before 8), the windows'
// captions 245 to 247 last and empty, so that the windows keep their own.
std::span<const QueryWizardText> queryWizardTexts();

// Sets every text above in the library, in that order.
void GiveQueryWizardItsTexts();

}  // namespace vesp
