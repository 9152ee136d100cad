#pragma once
// The wizard's five font sets (display texts 71 to 80): which set a control takes, by its
// kind and the size it was designed with, and putting them on a built window.
#include <string_view>

#include "runtime/gui/window.h"

namespace qrywiz {

// 1 to 5, or 0 when the control keeps its font. Buttons take set 1 and lists set 3; text,
// entries, checks, option groups and radios designed at 12, 10 or 8 points take set 5, 2
// or 4.
int fontSetFor(vrt::ControlKind kind, int designedSize);

// Gives every control of the window the name (when not empty) and size (when not 0) of
// its set. A name that is not installed falls back to the desktop's UI font, at the set's
// size. `designedSize` tells the size each control was laid out with.
void applyFontSets(vrt::Window& window, int (*designedSize)(std::string_view use));

}  // namespace qrywiz
