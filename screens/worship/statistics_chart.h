#pragma once
// The statistics chart the service browse prints: the user picks a statistic, the type of
// the statistics records, a range of week-of dates and the services the moving average
// spans; the chart, with a table of its points under it, goes to the print preview (to
// print or save as PDF). A range without such statistics says so and lets the user change it.
#include <vector>

#include "screens/worship/statistics_trend.h"
#include "windows/report_rows.h"

namespace vesp {

inline constexpr const char* kStatisticsChartProcedure = "ReportStatisticsChart";
inline constexpr const char* kStatisticsChartCaption = "Statistics Chart";

struct ChartRequest {
  const StatisticMeasure* measure = nullptr;
  std::string type;  // empty: every type
  vrt::DayNumber from = 0, to = 0;
  int window = 4;
};

// The report's lines: the request in words, the chart, and a line per point.
std::vector<ReportLine> StatisticsChartLines(const StatisticsTrend& trend, const ChartRequest& request);
// The chart's title: the statistic and the range.
std::string StatisticsChartTitle(const ChartRequest& request);

// Asks, then prints; on the thread it is started on.
void ReportStatisticsChart();

}  // namespace vesp
