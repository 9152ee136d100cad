#pragma once
// The running time of a service as its form shows it: the sum of its elements' durations,
// and how many durations could not be read.
#include <cstdint>
#include <string>

#include "worship/durations.h"

namespace vrt {
class Window;
}

namespace vesp {

inline constexpr const char* kRunningTimeUse = "?RunningTime";

DurationTotal ServiceRunningTime(std::int32_t service);
// "Running time: 25:20", then "(1 duration not read)" when some were left out.
std::string RunningTimeText(const DurationTotal& total);
// The running time of the service in the thread's service record, into the window's
// running-time prompt.
void ShowRunningTime(vrt::Window& window);

}  // namespace vesp
