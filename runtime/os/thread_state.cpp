#include "runtime/os/thread_state.h"

#include <atomic>

namespace vrt {

namespace {

std::atomic<int> nextOsThreadNumber{1};

ThreadContext& osThreadRoot() {
  thread_local ThreadContext root(nextOsThreadNumber++);
  return root;
}

thread_local ThreadContext* currentContext = nullptr;

}  // namespace

ThreadContext::~ThreadContext() {
  ThreadContext* previous = switchTo(this);
  while (!values_.empty()) {
    auto node = values_.extract(values_.begin());
    node.mapped().reset();
  }
  switchTo(previous == this ? nullptr : previous);
}

ThreadContext& ThreadContext::current() { return currentContext ? *currentContext : osThreadRoot(); }

ThreadContext* ThreadContext::switchTo(ThreadContext* context) {
  ThreadContext* previous = currentContext;
  currentContext = context;
  return previous;
}

}  // namespace vrt
