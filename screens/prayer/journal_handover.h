#pragma once
// What the prayer-request browse hands to the prayer-journal reports, shared by the whole
// process: the filter and the description of the query to print, and the run-time category
// a "SELECT CATEGORY" query was last run with (bound in the evaluator as RUNTIMECATEGORY).
// Each value is cut to its width when it is set.
#include <cstddef>
#include <string>

namespace vesp {

inline constexpr std::size_t kHandedFilterWidth = 1000, kHandedDescriptionWidth = 100, kRuntimeCategoryWidth = 30;

void SetHandedFilter(std::string filter);
void SetHandedDescription(std::string description);
void SetRuntimeCategory(std::string category);

std::string HandedFilter();
std::string HandedDescription();
std::string RuntimeCategory();

// The report takes the filter and empties it, so a later report starts clean.
std::string TakeHandedFilter();

}  // namespace vesp
