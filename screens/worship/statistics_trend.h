#pragma once
// The trend of one statistic over a range of services: one point per week-of date (the sum
// over that date's services and their statistics records of the chosen type), a trailing
// moving average, and the holidays and special events those records name.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/text/dates.h"

namespace vesp {

// A figure the statistics records hold, or a sum of several.
struct StatisticMeasure {
  const char* name;  // as the user chooses it, and as the chart's axis is titled
  bool money;        // an amount (two decimals) rather than a count
  // The figure of the record in the buffer, in cents for money, else as counted.
  std::int64_t (*of)(const vrt::RecordRef& statistics);
};
// Attendance first (everyone counted: adults, youth, children and their guests), then the
// guests together, then each figure on its own.
const std::vector<StatisticMeasure>& StatisticMeasures();

struct TrendPoint {
  vrt::DayNumber date = 0;
  std::int64_t total = 0;  // cents for money
  double average = 0;      // of this point and up to window - 1 before it, same unit as total
  std::vector<std::string> holidays, events;  // as the records name them, each once
};

struct StatisticsTrend {
  bool ok = false;
  std::string error;  // why not, when not ok
  int services = 0;   // services in the range, with or without statistics
  std::vector<TrendPoint> points;  // by date
};

// Reads the services whose week-of date lies in [from, to] and their statistics records
// whose type is `type` (case-blind; empty: any). The files must be open; their cursors and
// buffers are not kept.
StatisticsTrend StatisticsTrendOf(vrt::DataFile& services, vrt::DataFile& statistics, vrt::DayNumber from,
                                  vrt::DayNumber to, const StatisticMeasure& measure, const std::string& type,
                                  int window);

}  // namespace vesp
