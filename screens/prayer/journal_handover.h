#pragma once
// What the prayer-request browse hands to the prayer-journal reports, shared by the whole
// process: the filter and the description of the query to print, and the run-time category
// a "SELECT CATEGORY" query was last run with (bound in the evaluator as RUNTIMECATEGORY).
// Each value is cut to its width when it is set; the filter's width is the browse's own,
// so a report selects exactly what its browse shows.
#include <cstddef>
#include <functional>
#include <string>

namespace vesp {

inline constexpr std::size_t kHandedFilterWidth = 1024, kHandedDescriptionWidth = 100, kRuntimeCategoryWidth = 30;

void SetHandedFilter(std::string filter);
void SetHandedDescription(std::string description);
void SetRuntimeCategory(std::string category);

std::string HandedFilter();
std::string HandedDescription();
std::string RuntimeCategory();

// The report takes the filter and empties it, so a later report starts clean.
std::string TakeHandedFilter();

// What one query report prints, fixed when it starts.
struct QueryHandover {
  std::string filter, description, category;
};
// The process-wide values as they stand.
QueryHandover CurrentQueryHandover();
// Runs `procedure` on this thread with `handover` as its own: a report started this way
// prints it whatever other browses hand over meanwhile.
void RunWithQueryHandover(const QueryHandover& handover, const std::function<void()>& procedure);
// For a report starting: the handover given to this thread, else the process-wide values;
// the process-wide filter is emptied either way.
QueryHandover TakeQueryHandover();

}  // namespace vesp
