#pragma once
// The window in which the user says which services the song usage covers (by their
// week-of dates, both ends included) and in which order it lists the entries.
#include "worship/song_usage.h"

namespace vesp {

inline constexpr const char* kUsageRangeCaption = "Song Usage";

struct UsageRange {
  bool cancelled = false;
  vrt::DayNumber from = 0, to = 0;
  UsageOrder order = UsageOrder::Title;
};

// Starts at the twelve months up to `today`, by title. OK takes the range once both dates
// are real and the first is not after the second (else a message says what is wrong);
// "&Cancel" or closing the window cancels. F6 on a date opens the calendar.
UsageRange AskUsageRange(vrt::DayNumber today);

// The first day of the twelve months that end on `today`.
vrt::DayNumber YearBefore(vrt::DayNumber today);

}  // namespace vesp
