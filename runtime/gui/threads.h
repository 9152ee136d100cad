#pragma once
// The system's threads: cooperative threads (fibers) that all run on the Qt GUI thread.
//
// StartThread returns at once; the new thread runs the next time the scheduler gets
// control from the Qt event loop (or from RunReadyThreads). A thread runs until it waits
// for an event that is not yet there, then the next ready thread runs. Every thread has
// its own ThreadContext (runtime/os/thread_state.h), current whenever the thread runs,
// and its own event queue. Widgets never run procedure code: they post events.
//
// Procedure code must never start a nested Qt event loop: waiting for an answer is taking
// events (TakeEvent) until the answer is there.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "runtime/gui/events.h"

namespace vrt {

using Procedure = std::function<void()>;

// Starts `procedure` on a new thread and returns its number: the first thread alive is 1
// (the frame's), later ones 2, 3, ... `stackSize` is recorded as asked; the real stack
// is never smaller than Fiber::kMinimumStack. `name` is the procedure's name, for reports.
int StartThread(Procedure procedure, std::size_t stackSize, std::string name = {});

// The running thread's number; 0 outside every thread (the Qt event loop, test code).
int ThreadNumber();
bool ThreadAlive(int thread);
std::vector<int> LiveThreads();
std::size_t RequestedStackSize(int thread);  // 0 for a thread that does not exist
std::string ThreadName(int thread);

// Hooks that run on every thread, on that thread's own context: start hooks before its
// procedure, end hooks after it (also when it failed) and before the thread is destroyed.
// Hooks run in the order added. Returns a handle for RemoveThreadHook.
int AddThreadStartHook(std::function<void()> hook);
int AddThreadEndHook(std::function<void()> hook);
void RemoveThreadHook(int handle);

// Who hears about an exception that escaped a procedure (the thread then ends).
// The default writes to stderr.
void SetThreadFailureReporter(std::function<void(int thread, const std::string& what)> reporter);

// Events. Posting never runs the receiving thread at once; it becomes ready.
// `thread` 0 means the running thread. An event for a thread that does not exist is dropped
// (returns false). An event without a window is meant for the thread's newest window.
// Close-down is meant for the whole thread, whatever window it names.
bool PostEvent(int event, int control = 0, int thread = 0);
bool PostEvent(Event event, int thread);
// Posts unless the same event (event, control and window) is still waiting in the
// thread's queue, so that repeated notices (timer ticks) for a window that is not taking
// events do not pile up. True when such an event is waiting afterwards.
bool PostEventOnce(Event event, int thread);

// The next event of the running thread that is meant for `window` (0: any), waiting for
// it if need be. Outside every thread, or while the thread is being torn down, there is
// nothing to wait for and a close-down event comes back at once. Once the thread has
// taken a close-down event, every later call returns close-down, after one turn for the
// other ready threads: each loop nested in a procedure (a message box, a calendar, a
// popup, a dialog) ends, and then the procedure's own loop does too.
Event TakeEvent(int window = 0);
// As TakeEvent, but only events addressed to `window` itself (and close-down): events
// without a window stay queued for the thread's windows. For waits that are not one of
// the thread's windows, such as popups and dialogs.
Event TakeOwnEvent(int window);
// Whether the running thread has taken a close-down event (false outside every thread).
bool ClosingDown();
// Events waiting in a thread's queue (for tests and diagnostics).
std::size_t PendingEvents(int thread);

// Drives the threads from outside: resumes each thread that is ready now, once. Threads
// made ready meanwhile run in the next pass (AnyThreadReady tells). Does nothing when
// called from inside a thread. Returns the number of resumptions.
int RunReadyThreads();
bool AnyThreadReady();

// Runs the Qt event loop until every thread has ended. When thread 1 ends, every other
// thread is sent a close-down event.
void RunThreads();

// From inside a thread: gives the Qt event loop (painting, input) and the other ready
// threads a turn, then goes on; what arrived meanwhile stays queued. For long work that
// keeps its window alive. Outside every thread it does nothing.
void YieldThread();

// From inside a thread: sends close-down to every other thread (also to those started
// meanwhile) and waits, taking no events, until all of them have ended. An older thread
// that is itself waiting here is neither closed down nor waited for, so that two such
// waits never wait for each other: the younger one goes on first. Outside every thread
// it does nothing.
void CloseDownOtherThreads();

// Tear-down: sends close-down to every thread, runs them, and unwinds those that still
// did not end. After it no thread is alive and the next thread started is number 1.
void EndAllThreads();

// The window stack of a thread: the newest window is the one that takes input. Windows
// register themselves; events posted without a window go to the newest.
void PushThreadWindow(int thread, int window);
void PopThreadWindow(int thread, int window);
int NewestThreadWindow(int thread);
std::vector<int> ThreadWindows(int thread);  // oldest first
// Drops queued events meant for a window that has closed (close-down stays).
void DiscardWindowEvents(int window);

}  // namespace vrt
