#include "windows/thread_globals.h"

#include "runtime/os/thread_state.h"

namespace vesp {

ThreadGlobals& threadGlobals() { return vrt::perThread<ThreadGlobals>(); }

void clearThreadGlobals() { threadGlobals() = ThreadGlobals{}; }

FrameGeometry& frameGeometry() {
  static FrameGeometry geometry;
  return geometry;
}

}  // namespace vesp
