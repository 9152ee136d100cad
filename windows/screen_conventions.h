#pragma once
// What every browse and form of the program does the same way: where its window opens,
// how it is remembered, its caption by request, and picking a date from the calendar.
#include <string>
#include <string_view>

#include "runtime/gui/window.h"

namespace vesp {

// The middle of the main frame as recorded when it opened: x = (frame width - width) / 2 - 2,
// y = (frame height - height) / 2 - 15. A top-level window counts from the frame's corner,
// a window inside the frame from the frame's own origin. Size stays.
void CentreInFrame(vrt::Window& window);

// Where a screen's window opens, once it is open: fitted to its room, centred in the frame
// (a look-up: over the window it was opened from), at its remembered place when `remember`
// is on, inside its room again, and clear of an open copy of itself.
void PlaceScreenWindow(std::string_view procedure, vrt::Window& window, bool remember, bool overOwner = false);

// The window's remembered place, under the procedure's name, when `remember` is on.
void RestoreScreenPlacement(std::string_view procedure, vrt::Window& window, bool remember);
void SaveScreenPlacement(std::string_view procedure, vrt::Window& window, bool remember);

// A form's captions by request.
struct FormCaptions {
  std::string view = "View Record";
  std::string insert;
  std::string change;
  // "Adding a Role Record", "Changing a Role Record".
  static FormCaptions FromWords(std::string_view words);
};
// The caption for `request`; other requests keep `designed`.
std::string CaptionFor(const FormCaptions& captions, int request, const std::string& designed);

inline constexpr const char* kScreenCalendarTitle = "Calendar";

// A window's Help button: pressing it (or the toolbar's Help, or F1) opens the guide's page
// for that window.
inline constexpr const char* kHelpButtonUse = "?Help";

// Opens the calendar pop-up beside `control`, seeded with its contents. A chosen date goes
// into the control, which is then accepted as if typed; true when one was chosen. Once the
// calendar has closed the focus moves on from `opener` (the calendar button pressed, or
// the control itself when null) to the next field.
bool PickDateInto(vrt::Window& window, vrt::Control& control, const vrt::Control* opener = nullptr);

}  // namespace vesp
