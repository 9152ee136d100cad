#pragma once
// The window in which the user picks the order a report prints its records in.
#include <string>
#include <vector>

namespace vesp {

struct OrderChoice {
  std::string name;  // the highlighted order's name; empty when cancelled
  bool cancelled = false;
};

// "Select the Order" with `names` in a list, the first highlighted. OK or a double-click
// takes the highlighted name; "&Cancel", closing the window or the thread's close-down
// cancel.
OrderChoice AskReportOrder(const std::vector<std::string>& names);

}  // namespace vesp
