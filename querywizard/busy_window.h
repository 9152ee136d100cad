#pragma once
// The window that tells the user to wait while saved queries are converted: it shows its
// text, with the busy pointer over the whole program, until the work is done.
#include <string_view>

namespace qrywiz {

inline constexpr std::string_view kBusyProcedure = "QueryConversion";

void openBusyWindow(std::string_view text);
void closeBusyWindow();

}  // namespace qrywiz
