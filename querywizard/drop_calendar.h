#pragma once
// The drop-down calendar window, on the calling thread (which waits by taking events).
#include <cstdint>
#include <string_view>

namespace qrywiz {

inline constexpr std::string_view kDropCalendarProcedure = "QW_DROPCAL";

// Opens below control `control` of the thread's newest window, on `given` (today when 0).
// Returns the chosen day, today for Today, 0 for None, and `given` for Escape or closing.
// Outside every thread nothing can wait: `given` comes back at once.
std::int32_t runDropCalendar(std::int32_t given, std::int32_t control);

}  // namespace qrywiz
