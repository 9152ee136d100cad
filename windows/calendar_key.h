#pragma once
// F6 on a field: the calendar pop-up opens on the focused control's value, seeded as a date
// when the control's picture is a date picture, and what the user picks goes back into it.
#include "runtime/gui/window.h"

namespace vesp {

inline constexpr const char* kCalendarCaption = "G-Cal";

// Returns true when a value was chosen and written into the control.
bool CalendarOnFocusedControl(vrt::Window& window);

}  // namespace vesp
