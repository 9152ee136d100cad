#pragma once
// Names for assistive technology: a prompt names the control after it (and becomes its
// buddy, so its "&" letter moves the focus there), and a button without words in its
// caption (icon-only, "...", a toolbar's navigation buttons) is named by its tip.
#include <string>
#include <string_view>

#include "runtime/gui/window.h"

namespace vesp {

void NameControlsForAssistiveTechnology(vrt::Window& window);
// "&Role:" as it is read out: "Role".
std::string SpokenName(std::string_view caption);

}  // namespace vesp
