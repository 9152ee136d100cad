#include "runtime/testing/pinned_clock.h"

#include <atomic>

namespace vrt {

namespace {

std::atomic<DayNumber> pinnedDate{0};
std::atomic<TimeOfDay> pinnedTime{0};

ClockReading pinnedClock() { return {pinnedDate, pinnedTime}; }

}  // namespace

void pinClockForTesting(DayNumber date, TimeOfDay time) {
  pinnedDate = date;
  pinnedTime = time;
  installClock(&pinnedClock);
}

void unpinClockForTesting() { installClock(nullptr); }

}  // namespace vrt
