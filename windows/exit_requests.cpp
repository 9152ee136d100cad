#include "windows/exit_requests.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "runtime/gui/frame_host.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vesp {

using namespace vrt;

namespace {

struct Listening {
  int thread;
  bool holdsRecord;
  int asker = 0;  // the window waiting for this one's answer, 0 when none
};

// Every window whose event loop runs, by window; all on the GUI thread.
// The threads whose windows the exit under way has asked to close.
std::set<int>& askedThreads() {
  static std::set<int> threads;
  return threads;
}

std::map<int, Listening>& listening() {
  static std::map<int, Listening> windows;
  return windows;
}

void answer(int window, int reply) {
  auto it = listening().find(window);
  if (it == listening().end() || it->second.asker == 0) return;
  const int asker = std::exchange(it->second.asker, 0);
  if (const Window* w = Window::find(asker)) PostEvent(Event{kEventExitAnswer, window, asker, reply, 0}, w->thread());
}

// The windows of `thread` to ask, newest first: those from its oldest window that holds a
// record up. The windows below it (the list the thread was started for) hold nothing.
std::vector<int> windowsToAsk(int thread) {
  std::vector<int> out;
  bool record = false;
  for (int w : ThreadWindows(thread)) {
    auto it = listening().find(w);
    if (it == listening().end()) continue;
    record = record || it->second.holdsRecord;
    if (record) out.push_back(w);
  }
  std::reverse(out.begin(), out.end());
  return out;
}

// Waits for the answer of `window`; whatever else the asker's window is sent meanwhile is
// dropped: the program is on its way out.
int awaitAnswer(const Window& asker, int window) {
  for (;;) {
    const Event e = TakeOwnEvent(asker.id());
    if (e.event == kEventCloseDown) return kExitStays;
    if (e.event == kEventExitAnswer && e.control == window) return e.key;
  }
}

}  // namespace

bool WindowsToAsk(int thread) {
  for (int t : LiveThreads())
    if (t != thread && !windowsToAsk(t).empty()) return true;
  return false;
}

bool AskWindowsToClose(Window& asker) {
  for (int thread : LiveThreads()) {
    if (thread == asker.thread()) continue;
    // One at a time: closing one window lets the thread go on to the next.
    for (std::vector<int> ask = windowsToAsk(thread); !ask.empty(); ask = windowsToAsk(thread)) {
      const int window = ask.front();
      listening()[window].asker = asker.id();
      askedThreads().insert(thread);
      PostEvent(Event{kEventExitRequest, 0, window, asker.id(), 0}, thread);
      if (awaitAnswer(asker, window) != kExitClosed) {
        askedThreads().clear();  // the program goes on
        return false;
      }
      if (!ThreadAlive(thread)) break;
      if (auto it = listening().find(window); it != listening().end()) {
        it->second.asker = 0;
        askedThreads().clear();
        return false;  // answered "closed" but still there: never ask it forever
      }
    }
  }
  return true;
}

bool ExitAsked(int thread) { return askedThreads().count(thread) > 0; }

ExitListener::ExitListener(const Window& window, bool holdsRecord) : window_(window.id()) {
  listening()[window_] = Listening{window.thread(), holdsRecord};
}

ExitListener::~ExitListener() {
  answer(window_, kExitClosed);
  listening().erase(window_);
}

void ExitListener::Stays() { answer(window_, kExitStays); }

void ExitListener::BringToFront(Window& window) {
  if (!window.hasWidgets()) return;
  window.bringToFront();
  FrameHost::noteActivated(window);
}

}  // namespace vesp
