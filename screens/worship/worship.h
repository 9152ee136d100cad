#pragma once
// The reports a worship leader prints each week: song usage over a range of services, for
// the licence return, and the order of one service. Each is a procedure registered by its
// name, which a button starts on a thread of its own.
#include <vector>

#include "worship/song_usage.h"
#include "windows/report_rows.h"

namespace vesp {

inline constexpr const char* kSongUsageProcedure = "ReportSongUsage";
inline constexpr const char* kOrderOfServiceProcedure = "ReportOrderOfService";

// Asks for the range of week-of dates and the order, then prints the usage.
void ReportSongUsage();
// Prints the service this thread's Service record holds (its caller's copy), with its
// elements, passages and key words as stored.
void ReportOrderOfService();

// The usage report's lines: the range, the entries and the total.
std::vector<ReportLine> SongUsageLines(const SongUsageReport& usage, vrt::DayNumber from, vrt::DayNumber to,
                                       UsageOrder order);

void RegisterWorship();

}  // namespace vesp
