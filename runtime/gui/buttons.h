#pragma once
// The standard buttons of message boxes and list windows, chosen by a mask, and the
// wait for one of them to be pressed.
#include <string_view>
#include <vector>

#include "runtime/gui/window_design.h"

namespace vrt {

class Window;

enum StandardButton : int {
  kButtonOk = 1,
  kButtonYes = 2,
  kButtonNo = 4,
  kButtonAbort = 8,
  kButtonRetry = 16,
  kButtonIgnore = 32,
  kButtonCancel = 64,
  kButtonHelp = 128,
};

// "O&k", "&Yes", ... for one button; empty for a value that is not a single button.
std::string_view buttonCaption(int button);
// The use name of a standard button ("?Button:Yes").
std::string_view buttonUse(int button);

// One button per bit of `mask`, in the order of the values, `defaultButton` (or the first)
// being the window's default.
ControlSpec buttonRow(int mask, int defaultButton);
// The button a window with these buttons answers when it is closed without a press.
int closingAnswer(int mask, int defaultButton);

// The letters the buttons' captions underline ("Y" of "&Yes") answer `window` while
// waitForButton runs, typed alone as in any desktop's message box, not only with Alt.
void answerByLetters(Window& window, int mask);

// Opens `window`, takes its events until one of the buttons is pressed or the window is
// closed (Escape or its close box), closes it and returns the answer. Outside every
// thread nothing can wait: the default is returned without showing anything.
int waitForButton(Window& window, int mask, int defaultButton);

}  // namespace vrt
