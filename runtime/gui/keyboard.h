#pragma once
// Working a window from the keyboard alone, and what it tells assistive technology:
// Tab follows the declaration, a prompt's "&" letter goes to the control after it,
// Enter presses the default button and Escape the cancel button (unless a window
// alerts those keys), and every control carries an accessible name.
class QKeyEvent;
class QObject;

namespace vrt {

class Window;

// The printable character `key` types, 0 for none (control keys, Ctrl or Alt held).
char32_t typedCharacter(const QKeyEvent& key);

// Enter or Escape pressed on `watched` (the focused widget) and not alerted: presses the
// default or the cancel button. True when a button took the key.
bool pressWindowButtonFor(Window& window, int code, QObject* watched);

// After a window is built: prompts become the buddies (mnemonic targets) and accessible
// names of the controls declared after them, icon-only buttons are named by their tips,
// and the Tab order is the order of declaration.
void nameControlsAndOrderTabs(Window& window);

}  // namespace vrt
