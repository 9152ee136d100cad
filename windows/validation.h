#pragma once
// The check a form makes before it saves: every bound control is read back through its
// picture. The first whose text does not fit stops the check; it is reported as rejected
// (the form beeps, shows the old value and puts the focus there).
#include "runtime/gui/window.h"

namespace vesp {

// The number of the first control that did not fit, 0 when every control was accepted.
int ValidateAllControls(vrt::Window& window);
// True while ValidateAllControls runs on this thread (refreshes wait for it to finish).
bool ValidatingAllControls();

}  // namespace vesp
