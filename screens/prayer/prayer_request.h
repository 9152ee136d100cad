#pragma once
// The prayer requests: their browse, which also runs saved queries and starts the
// prayer-request reports, and their form.
#include <string>

#include "runtime/text/dates.h"

namespace vesp {

void BrowsePrayerRequest();
void UpdatePrayerRequest();

// The number of days a request took, as the form stores it: the date answered minus the
// date started (negative when answered "before" it started), empty while unanswered.
std::string NumberOfDays(vrt::DayNumber started, vrt::DayNumber answered);

}  // namespace vesp
