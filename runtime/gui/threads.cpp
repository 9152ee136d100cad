#include "runtime/gui/threads.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <exception>
#include <map>
#include <memory>
#include <optional>

#include <boost/context/fiber.hpp>

#include "runtime/gui/fiber.h"
#include "runtime/os/thread_state.h"

namespace vrt {

namespace {

struct SystemThread {
  SystemThread(int n, std::size_t stack, std::string procName)
      : number(n), requestedStack(stack), name(std::move(procName)), context(n) {}
  int number;
  std::size_t requestedStack;
  std::string name;
  ThreadContext context;
  std::deque<Event> queue;
  std::vector<int> windows;  // oldest first
  std::unique_ptr<Fiber> fiber;
  bool waiting = false;
  bool ready = false;
  bool closingDown = false;     // it has taken close-down: every later take is close-down
  bool closeDownSent = false;   // by a thread closing down the others
  bool awaitingEnds = false;    // inside CloseDownOtherThreads

  // `own`: only events addressed to `window` itself, none without a window.
  std::optional<Event> take(int window, bool own) {
    auto it = std::find_if(queue.begin(), queue.end(), [window, own](const Event& e) {
      if (e.event == kEventCloseDown || e.window == window) return true;
      return !own && (window == 0 || e.window == 0);
    });
    if (it == queue.end()) return std::nullopt;
    Event e = *it;
    queue.erase(it);
    if (e.event == kEventCloseDown) closingDown = true;
    return e;
  }
};

struct Hook {
  int handle;
  bool atStart;
  std::function<void()> run;
};

// All of it lives on the GUI thread; fibers never run in parallel.
struct Scheduler {
  std::map<int, std::unique_ptr<SystemThread>> threads;
  std::deque<int> readyQueue;
  SystemThread* running = nullptr;
  std::vector<Hook> hooks;
  int nextHook = 1;
  bool runPending = false;
  bool runningThreads = false;  // inside RunThreads
  std::function<void(int, const std::string&)> reporter = [](int thread, const std::string& what) {
    std::fprintf(stderr, "vrt: thread %d ended by an exception: %s\n", thread, what.c_str());
  };

  SystemThread* find(int number) {
    auto it = threads.find(number);
    return it == threads.end() ? nullptr : it->second.get();
  }

  // Numbers are never reused while any thread lives, so a late event cannot reach a
  // stranger; once all have ended, numbering starts again at 1.
  int nextNumber = 1;
  int freeNumber() {
    if (threads.empty()) nextNumber = 1;
    return nextNumber++;
  }

  void makeReady(SystemThread& t) {
    if (t.ready) return;
    t.ready = true;
    readyQueue.push_back(t.number);
    requestRun();
  }

  // Asks the Qt event loop to give the threads a turn.
  void requestRun() {
    if (runPending || !QCoreApplication::instance()) return;
    runPending = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
          runPending = false;
          runReady();
        },
        Qt::QueuedConnection);
  }

  void runHooks(bool atStart, SystemThread& t) {
    std::vector<Hook> now;  // a hook may add or remove hooks
    for (const Hook& h : hooks)
      if (h.atStart == atStart) now.push_back(h);
    for (const Hook& h : now) {
      try {
        h.run();
      } catch (const std::exception& e) {
        reporter(t.number, e.what());
      } catch (...) {
        reporter(t.number, "unknown exception in a thread hook");
      }
    }
  }

  // What a thread's fiber runs: hooks around the procedure, and no exception let out.
  void body(SystemThread& t, const Procedure& procedure) {
    runHooks(true, t);
    try {
      procedure();
    } catch (const boost::context::detail::forced_unwind&) {
      runHooks(false, t);  // torn down while waiting: its end hooks still run, on its context
      throw;
    } catch (const std::exception& e) {
      reporter(t.number, e.what());
    } catch (...) {
      reporter(t.number, "unknown exception");
    }
    runHooks(false, t);
  }

  void resume(SystemThread& t) {
    ThreadContext* previous = ThreadContext::switchTo(&t.context);
    running = &t;
    t.fiber->resume();
    running = nullptr;
    ThreadContext::switchTo(previous);
    if (t.fiber->finished()) finish(t.number);
  }

  void finish(int number) {
    auto it = threads.find(number);
    if (it == threads.end()) return;
    std::unique_ptr<SystemThread> ended = std::move(it->second);
    threads.erase(it);
    readyQueue.erase(std::remove(readyQueue.begin(), readyQueue.end(), number), readyQueue.end());
    if (number == 1)
      for (auto& [n, other] : threads) {
        other->queue.push_back(Event{kEventCloseDown, 0, 0, 0});
        makeReady(*other);
      }
    for (auto& [n, other] : threads)
      if (other->awaitingEnds) makeReady(*other);
    if (threads.empty() && runningThreads && QCoreApplication::instance()) QCoreApplication::quit();
  }

  // One pass over the threads ready now; threads made ready meanwhile wait for the next
  // pass, so the Qt event loop gets its turn between passes however busy they are.
  int runReady() {
    if (Fiber::running() || running) return 0;
    int resumed = 0;
    for (std::size_t pass = readyQueue.size(); pass > 0 && !readyQueue.empty(); --pass) {
      int number = readyQueue.front();
      readyQueue.pop_front();
      SystemThread* t = find(number);
      if (!t) continue;
      t->ready = false;
      resume(*t);
      ++resumed;
    }
    if (!readyQueue.empty()) requestRun();
    return resumed;
  }
};

Scheduler& scheduler() {
  static Scheduler s;
  return s;
}

}  // namespace

int StartThread(Procedure procedure, std::size_t stackSize, std::string name) {
  Scheduler& s = scheduler();
  int number = s.freeNumber();
  auto thread = std::make_unique<SystemThread>(number, stackSize, std::move(name));
  SystemThread* t = thread.get();
  t->fiber = std::make_unique<Fiber>(stackSize, [t, proc = std::move(procedure)] { scheduler().body(*t, proc); });
  s.threads.emplace(number, std::move(thread));
  s.makeReady(*t);
  return number;
}

int ThreadNumber() {
  SystemThread* t = scheduler().running;
  return t ? t->number : 0;
}

bool ThreadAlive(int thread) { return scheduler().find(thread) != nullptr; }

std::vector<int> LiveThreads() {
  std::vector<int> numbers;
  for (const auto& [n, t] : scheduler().threads) numbers.push_back(n);
  return numbers;
}

std::size_t RequestedStackSize(int thread) {
  SystemThread* t = scheduler().find(thread);
  return t ? t->requestedStack : 0;
}

std::string ThreadName(int thread) {
  SystemThread* t = scheduler().find(thread);
  return t ? t->name : std::string();
}

int AddThreadStartHook(std::function<void()> hook) {
  Scheduler& s = scheduler();
  s.hooks.push_back({s.nextHook, true, std::move(hook)});
  return s.nextHook++;
}

int AddThreadEndHook(std::function<void()> hook) {
  Scheduler& s = scheduler();
  s.hooks.push_back({s.nextHook, false, std::move(hook)});
  return s.nextHook++;
}

void RemoveThreadHook(int handle) {
  auto& hooks = scheduler().hooks;
  hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [handle](const Hook& h) { return h.handle == handle; }),
              hooks.end());
}

void SetThreadFailureReporter(std::function<void(int, const std::string&)> reporter) {
  if (reporter) scheduler().reporter = std::move(reporter);
}

bool PostEvent(int event, int control, int thread) { return PostEvent(Event{event, control, 0, 0}, thread); }

bool PostEvent(Event event, int thread) {
  Scheduler& s = scheduler();
  SystemThread* t = s.find(thread == 0 ? ThreadNumber() : thread);
  if (!t) return false;
  t->queue.push_back(event);
  if (t != s.running) s.makeReady(*t);
  return true;
}

bool PostEventOnce(Event event, int thread) {
  SystemThread* t = scheduler().find(thread == 0 ? ThreadNumber() : thread);
  if (!t) return false;
  const bool waiting = std::any_of(t->queue.begin(), t->queue.end(), [&event](const Event& e) {
    return e.event == event.event && e.control == event.control && e.window == event.window;
  });
  return waiting || PostEvent(event, thread);
}

namespace {

Event takeEvent(int window, bool own) {
  Scheduler& s = scheduler();
  SystemThread* t = s.running;
  const Event closeDown{kEventCloseDown, 0, window, 0};
  if (!t) return closeDown;
  if (t->fiber->unwinding()) return closeDown;
  if (t->closingDown) {
    // A turn for the others first: a loop deaf to close-down must not freeze them all.
    s.makeReady(*t);
    Fiber::suspend();
    return closeDown;
  }
  for (;;) {
    if (auto e = t->take(window, own)) return *e;
    if (t->fiber->unwinding()) return closeDown;
    t->waiting = true;
    Fiber::suspend();
    t->waiting = false;
  }
}

}  // namespace

Event TakeEvent(int window) { return takeEvent(window, false); }
Event TakeOwnEvent(int window) { return takeEvent(window, true); }

bool ClosingDown() {
  SystemThread* t = scheduler().running;
  return t && t->closingDown;
}

std::size_t PendingEvents(int thread) {
  SystemThread* t = scheduler().find(thread);
  return t ? t->queue.size() : 0;
}

int RunReadyThreads() { return scheduler().runReady(); }

bool AnyThreadReady() { return !scheduler().readyQueue.empty(); }

void RunThreads() {
  Scheduler& s = scheduler();
  if (s.threads.empty() || !QCoreApplication::instance() || Fiber::running()) return;
  s.runningThreads = true;
  s.requestRun();
  QCoreApplication::exec();
  s.runningThreads = false;
}

void YieldThread() {
  Scheduler& s = scheduler();
  SystemThread* t = s.running;
  if (!t || t->fiber->unwinding()) return;
  s.makeReady(*t);
  Fiber::suspend();
}

void CloseDownOtherThreads() {
  Scheduler& s = scheduler();
  SystemThread* self = s.running;
  if (!self) return;
  self->awaitingEnds = true;
  for (;;) {
    bool others = false;
    for (auto& [n, t] : s.threads) {
      if (t.get() == self || (t->awaitingEnds && t->number < self->number)) continue;
      others = true;
      if (t->closeDownSent) continue;
      t->closeDownSent = true;
      t->queue.push_back(Event{kEventCloseDown, 0, 0, 0});
      s.makeReady(*t);
    }
    if (!others || self->fiber->unwinding()) break;
    Fiber::suspend();  // made ready again whenever a thread ends
  }
  self->awaitingEnds = false;
}

void EndAllThreads() {
  Scheduler& s = scheduler();
  if (Fiber::running()) return;
  for (auto& [n, t] : s.threads) {
    t->queue.push_back(Event{kEventCloseDown, 0, 0, 0});
    s.makeReady(*t);
  }
  for (int pass = 0; pass < 1000 && !s.readyQueue.empty(); ++pass) s.runReady();
  // Threads that ignored close-down are unwound, newest first.
  while (!s.threads.empty()) {
    auto last = std::prev(s.threads.end());
    SystemThread* t = last->second.get();
    ThreadContext* previous = ThreadContext::switchTo(&t->context);
    s.running = t;
    t->fiber->unwind();
    s.running = nullptr;
    ThreadContext::switchTo(previous);
    s.finish(last->first);
  }
  s.readyQueue.clear();
}

void PushThreadWindow(int thread, int window) {
  if (SystemThread* t = scheduler().find(thread)) t->windows.push_back(window);
}

void PopThreadWindow(int thread, int window) {
  if (SystemThread* t = scheduler().find(thread))
    t->windows.erase(std::remove(t->windows.begin(), t->windows.end(), window), t->windows.end());
}

int NewestThreadWindow(int thread) {
  SystemThread* t = scheduler().find(thread);
  return t && !t->windows.empty() ? t->windows.back() : 0;
}

std::vector<int> ThreadWindows(int thread) {
  SystemThread* t = scheduler().find(thread);
  return t ? t->windows : std::vector<int>{};
}

void DiscardWindowEvents(int window) {
  for (auto& [n, t] : scheduler().threads)
    t->queue.erase(std::remove_if(t->queue.begin(), t->queue.end(),
                                  [window](const Event& e) { return e.window == window && e.event != kEventCloseDown; }),
                   t->queue.end());
}

}  // namespace vrt
