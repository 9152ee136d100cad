#include "runtime/gui/fiber.h"

#include <algorithm>
#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <cstdio>
#include <exception>

#if VESP_ASAN_FIBERS
#include <sanitizer/common_interface_defs.h>
#endif

namespace ctx = boost::context;

namespace vrt {

namespace {

// AddressSanitizer must be told about every switch of stacks, or it takes the other
// stack's frames for overflows. Without it these cost nothing.
void startSwitch([[maybe_unused]] void** fakeStackSave, [[maybe_unused]] const void* bottom,
                 [[maybe_unused]] std::size_t size) {
#if VESP_ASAN_FIBERS
  __sanitizer_start_switch_fiber(fakeStackSave, bottom, size);
#endif
}

void finishSwitch([[maybe_unused]] void* fakeStackSave, [[maybe_unused]] const void** bottomOld,
                  [[maybe_unused]] std::size_t* sizeOld) {
#if VESP_ASAN_FIBERS
  __sanitizer_finish_switch_fiber(fakeStackSave, bottomOld, sizeOld);
#endif
}

Fiber* runningFiber = nullptr;

}  // namespace

struct Fiber::State {
  std::function<void()> body;
  std::size_t requested = 0;
  ctx::fiber self;    // the fiber while it is suspended
  ctx::fiber caller;  // the main stack while the fiber runs
  ctx::stack_context stack{};
  bool started = false;
  bool finished = false;
  bool unwinding = false;
  // The main stack's bounds, learned each time the fiber is entered.
  const void* callerBottom = nullptr;
  std::size_t callerSize = 0;

  const void* stackBottom() const { return static_cast<const char*>(stack.sp) - stack.size; }

  void start() {
    ctx::protected_fixedsize_stack allocator(std::max(requested, kMinimumStack));
    stack = allocator.allocate();
    self = ctx::fiber(std::allocator_arg, ctx::preallocated(stack.sp, stack.size, stack), allocator,
                      [this](ctx::fiber&& from) { return run(std::move(from)); });
    started = true;
  }

  ctx::fiber run(ctx::fiber&& from) {
    caller = std::move(from);
    finishSwitch(nullptr, &callerBottom, &callerSize);
    try {
      body();
    } catch (const ctx::detail::forced_unwind&) {
      finished = true;
      startSwitch(nullptr, callerBottom, callerSize);
      throw;  // Boost.Context's own entry catches it and switches back
    } catch (const std::exception& e) {
      std::fprintf(stderr, "vrt: exception left a fiber: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "vrt: unknown exception left a fiber\n");
    }
    finished = true;
    startSwitch(nullptr, callerBottom, callerSize);  // this stack is about to go away
    return std::move(caller);
  }
};

Fiber::Fiber(std::size_t stackBytes, std::function<void()> body) : state_(std::make_unique<State>()) {
  state_->body = std::move(body);
  state_->requested = stackBytes;
}

Fiber::~Fiber() { unwind(); }

void Fiber::unwind() {
  State& s = *state_;
  if (!s.started || s.finished || !s.self) return;
  // Unwinding runs the fiber's destructors on its own stack.
  Fiber* previous = runningFiber;
  runningFiber = this;
  s.unwinding = true;
  void* fake = nullptr;
  startSwitch(&fake, s.stackBottom(), s.stack.size);
  s.self = ctx::fiber{};
  finishSwitch(fake, nullptr, nullptr);
  runningFiber = previous;
  s.finished = true;
}

void Fiber::resume() {
  State& s = *state_;
  if (s.finished || runningFiber) return;  // fibers are only resumed from the main stack
  if (!s.started) s.start();
  runningFiber = this;
  void* fake = nullptr;
  startSwitch(&fake, s.stackBottom(), s.stack.size);
  s.self = std::move(s.self).resume();
  finishSwitch(fake, nullptr, nullptr);
  runningFiber = nullptr;
}

void Fiber::suspend() {
  Fiber* fiber = runningFiber;
  if (!fiber) return;
  State& s = *fiber->state_;
  void* fake = nullptr;
  startSwitch(&fake, s.callerBottom, s.callerSize);
  try {
    s.caller = std::move(s.caller).resume();
  } catch (const ctx::detail::forced_unwind&) {
    finishSwitch(fake, &s.callerBottom, &s.callerSize);
    throw;
  }
  finishSwitch(fake, &s.callerBottom, &s.callerSize);
}

Fiber* Fiber::running() { return runningFiber; }
bool Fiber::finished() const { return state_->finished; }
bool Fiber::unwinding() const { return state_->unwinding; }
std::size_t Fiber::stackSize() const {
  return state_->started ? state_->stack.size : std::max(state_->requested, kMinimumStack);
}

}  // namespace vrt
