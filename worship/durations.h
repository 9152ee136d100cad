#pragma once
// The lengths of a service's elements, typed as minutes and seconds ("3:45", "12:05"), and
// their total. Anything else typed into a duration ("about 5 min", "1:5", "") counts for
// nothing, so the total is what can be relied on, and says how many it left out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesp {

// Seconds of "m:ss" or "mm:ss" (blanks around are ignored, seconds below 60); nullopt for
// anything else.
std::optional<int> DurationSeconds(std::string_view text);

// "m:ss" below an hour, "h:mm:ss" from an hour on.
std::string DurationText(int seconds);

struct DurationTotal {
  int seconds = 0;
  int counted = 0;  // durations that took part
  int skipped = 0;  // durations typed in some other way (empty ones are not counted)
};
DurationTotal TotalDurations(const std::vector<std::string>& durations);

}  // namespace vesp
