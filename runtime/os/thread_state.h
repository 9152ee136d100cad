#pragma once
// State that belongs to one of the system's threads. The system's threads are cooperative
// (fibers on the GUI thread) or, in tools and tests, real OS threads; either way each has
// its own ThreadContext, and code reaches per-thread values through perThread<T>().
// The fiber scheduler makes a fiber's context current each time it resumes it.
#include <memory>
#include <unordered_map>

namespace vrt {

class ThreadContext {
 public:
  explicit ThreadContext(int number) : number_(number) {}
  ThreadContext(const ThreadContext&) = delete;
  ThreadContext& operator=(const ThreadContext&) = delete;
  // Releases the values one by one with this context current, so that a value's destructor
  // may still reach the thread's other values.
  ~ThreadContext();

  int number() const { return number_; }

  template <typename T>
  T& slot() {
    static const char key = 0;  // one distinct address per type
    auto& cell = values_[&key];
    if (!cell) cell = std::make_unique<Holder<T>>();
    return static_cast<Holder<T>*>(cell.get())->value;
  }

  // The context of the code running now; an OS thread that never entered one has its own.
  static ThreadContext& current();
  // Makes `context` current for this OS thread and returns the one it replaces.
  static ThreadContext* switchTo(ThreadContext* context);

 private:
  struct HolderBase {
    virtual ~HolderBase() = default;
  };
  template <typename T>
  struct Holder : HolderBase {
    T value{};
  };
  int number_;
  std::unordered_map<const void*, std::unique_ptr<HolderBase>> values_;
};

template <typename T>
T& perThread() {
  return ThreadContext::current().slot<T>();
}

// Makes a context current for a scope (used by the scheduler and by tests).
class ThreadContextScope {
 public:
  explicit ThreadContextScope(ThreadContext& c) : previous_(ThreadContext::switchTo(&c)) {}
  ~ThreadContextScope() { ThreadContext::switchTo(previous_); }
  ThreadContextScope(const ThreadContextScope&) = delete;
  ThreadContextScope& operator=(const ThreadContextScope&) = delete;

 private:
  ThreadContext* previous_;
};

}  // namespace vrt
