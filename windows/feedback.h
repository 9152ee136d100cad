#pragma once
// The small signals a window gives the user: a beep, and the framework's questions that
// offer Yes, No and Cancel.
namespace vesp {

// A beep of `frequency` Hz for `duration` units; the desktop's own beep stands for it.
void Beep(int frequency, int duration);
// Beeps so far in this process, so tests can see one was given.
int BeepCount();

// Shows message `id` of the error manager's table (its title and text) with the buttons of
// `buttons` (Button bits) and returns the button pressed; closing the box answers Cancel.
// When the error manager is silent, `defaultButton` comes back without showing anything.
int AskMessage(int id, int buttons, int defaultButton);

}  // namespace vesp
