#pragma once
// Leaving the program without losing what a form holds. Before the frame closes the other
// threads down, it asks the windows that may hold edits to close, one at a time, the way
// the user's own close would: a changed record asks "Save Record", a new record that is
// given up hands back its reserved number. A window that stays (Cancel) stops the exit.
//
//   frame thread:   if (!AskWindowsToClose(frame)) return;   // the program goes on
//   every window:   ExitListener listening(window, holdsRecord);  // while its loop runs
//
// Asking runs on the asker's thread and takes only events addressed to the asker's window
// while it waits for each answer; the windows asked answer from their own threads.
#include "runtime/gui/events.h"

namespace vrt {
class Window;
}

namespace vesp {

// To a window: close as if the user had asked (its key is the asking window).
inline constexpr int kEventExitRequest = vrt::kEventUser + 0x60;
// Back to the asking window: `control` the window asked, `key` kExitClosed or kExitStays.
inline constexpr int kEventExitAnswer = vrt::kEventUser + 0x61;
// A window's own note to itself: what its answer to an exit request set off has run.
inline constexpr int kEventExitSettled = vrt::kEventUser + 0x62;
inline constexpr int kExitClosed = 1, kExitStays = 2;

// Asks, thread by thread, every listening window of the other threads that holds a record,
// and every listening window opened above it (a look-up), to close, newest first. True
// when all of them closed; false at the first that stays, leaving the rest untouched.
bool AskWindowsToClose(vrt::Window& asker);

// Whether any window of another thread than `thread` would be asked.
bool WindowsToAsk(int thread);

// Whether the exit under way has asked a window of `thread` to close: a window that closed
// for it was not given up by the user. False again once a window stays.
bool ExitAsked(int thread);

// A window's part while its event loop runs: it can be asked, and when its loop ends
// having been asked, it answers "closed".
class ExitListener {
 public:
  ExitListener(const vrt::Window& window, bool holdsRecord);
  ~ExitListener();
  ExitListener(const ExitListener&) = delete;
  ExitListener& operator=(const ExitListener&) = delete;

  // The window stays open after an exit request: the asker hears so.
  void Stays();
  // Asked, the window comes to the front, so that the user sees which form asks.
  static void BringToFront(vrt::Window& window);

 private:
  int window_;
};

}  // namespace vesp
