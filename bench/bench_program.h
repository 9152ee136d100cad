#pragma once
// What the benchmarks that drive the whole program share: filling a table fast, and letting
// the real timers tick while the threads run.
#include <chrono>
#include <functional>

#include "dictionary/declare.h"
#include "runtime/text/record.h"

namespace vrt {
class TestRobot;
}

namespace vbench {

using Clock = std::chrono::steady_clock;

// Seconds since `start`.
double since(Clock::time_point start);

// Adds `count` records to `table`, the n-th (from 1) filled by `fill`; false on the first failure.
bool writeRecords(const vesp::dict::TableDecl& table, int count, const std::function<void(vrt::RecordRef, int)>& fill);

// Lets the real timer tick and the threads run for a moment.
void spin(vrt::TestRobot& robot);

}  // namespace vbench
