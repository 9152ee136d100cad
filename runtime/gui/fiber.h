#pragma once
// One cooperative stack of execution over Boost.Context, with the AddressSanitizer
// annotations its switches need. Only the thread scheduler uses it directly.
#include <cstddef>
#include <functional>
#include <memory>

namespace vrt {

class Fiber {
 public:
  // The smallest stack a fiber gets, whatever is asked: Qt's widget code runs on it.
  static constexpr std::size_t kMinimumStack = 1024 * 1024;

  // `body` runs on its own stack (at least kMinimumStack, guard page below) the first
  // time the fiber is resumed. `body` must not let an exception escape; one that does
  // is swallowed here so that it never crosses the stack boundary.
  Fiber(std::size_t stackBytes, std::function<void()> body);
  // A fiber that has started but not finished is unwound: its destructors run.
  ~Fiber();
  Fiber(const Fiber&) = delete;
  Fiber& operator=(const Fiber&) = delete;

  // From the main stack: runs the fiber until it suspends or finishes.
  void resume();
  // From inside a fiber: returns control to whoever resumed it.
  static void suspend();
  // The fiber executing now, or nullptr on the main stack.
  static Fiber* running();

  // Ends a started fiber from outside by unwinding its stack (its destructors run there).
  void unwind();

  bool finished() const;
  bool unwinding() const;
  std::size_t stackSize() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vrt
