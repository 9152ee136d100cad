#pragma once
// Working a window from the keyboard alone, and what it tells assistive technology:
// Tab follows the declaration (a list and a text box let it move on), a prompt's "&" letter goes to the control after it,
// Enter presses the default button and Escape the cancel button (unless a window
// alerts those keys), and every control carries an accessible name.
class QKeyEvent;
class QObject;

namespace vrt {

class Control;
class Window;

// The printable character `key` types, 0 for none (control keys, Ctrl or Alt held).
char32_t typedCharacter(const QKeyEvent& key);

// Enter or Escape pressed on `watched` (the focused widget) and not alerted: presses the
// default or the cancel button. True when a button took the key.
bool pressWindowButtonFor(Window& window, int code, QObject* watched);

// Ctrl+Tab and Ctrl+Shift+Tab, Ctrl+Page Down and Up on `watched` switch the tabs of the
// sheet holding the focus, or of the window's sheet, when it has tabs to go to; Ctrl+Tab in
// a text box types a tab there instead. True when the key was used.
bool takeTabKey(Window& window, int code, QObject* watched);

// Moves the focus on from `opener`, as Tab would, after what it opened (a look-up, the
// calendar) has closed: past the buttons and read-only displays in the opener's own row.
void focusAfter(Window& window, const Control& opener);

// After a window is built: prompts become the buddies (mnemonic targets) and accessible
// names of the controls declared after them, icon-only buttons are named by their tips,
// and the Tab order is the order of declaration.
void nameControlsAndOrderTabs(Window& window);

}  // namespace vrt
