#pragma once
// The least any store on SQLite can do for a page of prayer requests: position on a key value
// and read 20 records whole by one hand-written statement per direction, prepared once. The
// benchmarks print their figures beside this one.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"

namespace vbench {

struct KeysetReference {
  static constexpr int kPage = 20;
  vrt::sql::Statement forward, backward;
  KeysetReference(vrt::sql::Database& db, const vrt::store::TableLayout& layout, int key);
  // Reads one page in `s` from `values` on; the bytes read (so nothing is optimised away).
  static std::size_t readPage(vrt::sql::Statement& s, const std::vector<vrt::store::KeyValue>& values);
};

// The key values of the prayer request at `rank` in a key's order (set-up only: it counts).
std::vector<vrt::store::KeyValue> valuesAtRank(vrt::DataFile& file, int key, std::int64_t rank);

// Generates `requests` prayer requests (and a little of everything else) in the current folder
// when its PrayerRequest file is missing; false when the generator failed.
bool ensurePrayerRequests(std::int64_t requests, const std::string& folder);

}  // namespace vbench
