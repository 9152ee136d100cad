#pragma once
// The lengths of a service's elements as people type them, and their total. A duration is
// read when it is written as minutes and seconds ("3:45"), hours, minutes and seconds
// ("1:02:30"), or as numbers with units ("5 min", "5m", "90 s", "1 h 5 min"), in any case;
// anything else ("about five", "3.5", "") counts for nothing, so the total is what can be
// relied on, and says how many it left out. The text itself is kept as typed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesp {

// Seconds of a duration written in one of the ways above (blanks around are ignored);
// nullopt for anything else.
std::optional<int> DurationSeconds(std::string_view text);

// What counts as a duration, for tips and for the total's note.
inline constexpr const char* kDurationForms = "m:ss, h:mm:ss, 5 min, 5m, 90 s or 1 h 5 min";

// "m:ss" below an hour, "h:mm:ss" from an hour on.
std::string DurationText(int seconds);

struct DurationTotal {
  int seconds = 0;
  int counted = 0;  // durations that took part
  int skipped = 0;  // durations typed in some other way (empty ones are not counted)
};
DurationTotal TotalDurations(const std::vector<std::string>& durations);

// "1 duration not read (counted when written as m:ss, ...)": what a total that left some
// out says about them.
std::string DurationsNotRead(int skipped);

}  // namespace vesp
