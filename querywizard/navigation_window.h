#pragma once
// The navigation progress window of the calling thread: an MDI child when the program's
// frame is open, a window of its own otherwise.
#include <cstdint>
#include <string_view>

namespace qrywiz {

inline constexpr std::string_view kNavigationProcedure = "QueryNavigation";

void openNavigationProgress(std::uint8_t direction);
// Shows `read` and waits for the next timer tick: false when the user cancelled.
bool tickNavigationProgress(std::int64_t read);
void closeNavigationProgress();

// The bar's position for `read` records: a percentage of 500 that restarts after 500,
// left at 0 until 40 records were read.
int navigationPercent(std::int64_t read);

}  // namespace qrywiz
