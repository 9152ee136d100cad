#include "querywizard/wizard_fonts.h"


#include "querywizard/display_text.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

using vrt::ControlKind;

// The kinds that pick their set by the size they were designed with.
constexpr ControlKind kSizedKinds[] = {ControlKind::Prompt, ControlKind::Entry, ControlKind::OptionGroup,
                                       ControlKind::Check, ControlKind::Radio};

struct SizedSet {
  int designedSize;
  int set;
};
constexpr SizedSet kSizedSets[] = {{12, 5}, {10, 2}, {8, 4}};

}  // namespace

int fontSetFor(ControlKind kind, int designedSize) {
  if (kind == ControlKind::Button) return 1;
  if (kind == ControlKind::List || kind == ControlKind::DropList) return 3;
  for (ControlKind sized : kSizedKinds)
    if (kind == sized)
      for (const SizedSet& s : kSizedSets)
        if (s.designedSize == designedSize) return s.set;
  return 0;
}

void applyFontSets(vrt::Window& window, int (*designedSize)(std::string_view use)) {
  for (const auto& control : window.controls()) {
    const int set = fontSetFor(control->kind(), designedSize(control->use()));
    if (set == 0 || !control->hasOwnWidget()) continue;
    const std::string name(vrt::clip(displayText(69 + 2 * set)));
    const int size = displayNumber(70 + 2 * set);
    if (name.empty() && size <= 0) continue;
    control->changeFont(name, size);
  }
}

}  // namespace qrywiz
