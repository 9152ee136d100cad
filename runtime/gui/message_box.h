#pragma once
// Message boxes. A box is a window of the calling thread: the caller waits by taking
// events until a button is pressed, while other threads' windows stay usable.
#include <string>
#include <string_view>

#include "runtime/gui/buttons.h"

namespace vrt {

// Use name and procedure name of every message box's window, for finding it again.
inline constexpr std::string_view kMessageBoxProcedure = "MessageBox";
inline constexpr std::string_view kMessageTextUse = "?MessageText";

// Shows `text` ("|" breaks lines) under `caption` with an icon (look.h's kIcon... names,
// or none) and the buttons of `buttons` (StandardButton bits); `defaultButton` starts
// selected. Returns the button pressed; closing the box answers Cancel, else No, else the
// default. Outside every thread it returns the default without showing anything.
int Message(std::string_view text, std::string_view caption = {}, std::string_view icon = {},
            int buttons = kButtonOk, int defaultButton = 0);

// The text as the box shows it: "|" becomes a line break.
std::string messageBoxText(std::string_view text);

}  // namespace vrt
