#pragma once
// Text a field refused stays as the user typed it: the field takes the focus back with
// the text selected, so the next keys replace it, and the status bar says what the
// field wants ("Enter a date as mm/dd/yyyy").
namespace vrt {

class Control;
class Window;

// Says so for `control` of `window`; the caller gives the warning sound.
void showRefusedInput(Window& window, Control& control);

}  // namespace vrt
