#pragma once
// Song usage for licence reporting: for the services whose week-of date lies in a range,
// every bibliography entry their elements used, with the number of services it was used in
// and their dates. Elements without an entry (number 0, or a number no entry has any more)
// are listed under their own title, so nothing that was used goes unreported. Read from
// the three tables' files, so the program's report and the command-line tool list the same.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/text/dates.h"

namespace vesp {

struct SongUse {
  std::int32_t bibliography = 0;  // 0: elements without an entry
  std::string title, writtenBy, publisher, ccli;
  std::vector<vrt::DayNumber> dates;  // of the services it was used in, ascending, each once
  int services() const { return static_cast<int>(dates.size()); }
};

enum class UsageOrder { Title, Count };

struct SongUsageReport {
  bool ok = false;
  std::string error;  // when not ok
  int services = 0;   // in the range
  std::vector<SongUse> entries;
};

inline constexpr const char* kNoBibliographyEntry = "no bibliography entry";

// The three files must be open. `from` and `to` are inclusive.
SongUsageReport SongUsage(vrt::DataFile& services, vrt::DataFile& elements, vrt::DataFile& bibliography,
                          vrt::DayNumber from, vrt::DayNumber to, UsageOrder order);

// The report's columns, as both the printed report and the CSV name them.
const std::vector<std::string>& songUsageHeadings();
// One text per column of an entry: dates as yyyy-mm-dd separated by "; ".
std::vector<std::string> songUsageRow(const SongUse& use);

}  // namespace vesp
