#pragma once
// Deterministic, realistic sample data for every table: the same records every time for
// the same options, so that benchmarks and demonstrations can be repeated.
#include <cstdint>
#include <ostream>

namespace vesp::tools {

struct SampleOptions {
  std::int64_t prayerRequests = 200;
  std::int64_t services = 156;  // three years of Sundays
  std::int64_t elementsPerService = 8;
};

// Fills every table that is still empty (creating missing files); tables that hold records
// are left alone. Returns 0, or 1 when a table could not be written.
int generateSampleData(const SampleOptions& options, std::ostream& out, std::ostream& err);

}  // namespace vesp::tools
