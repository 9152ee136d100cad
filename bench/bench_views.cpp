// Views on 1,000,000 prayer requests: the first 20 matches and all matches of two filters,
// against the same predicates written as SQL and run by one prepared SQLite statement; and a
// child view limited to one parent (one service's elements among 1,000,000).
//
//   bench_views [REQUESTS_FOLDER] [ELEMENTS_FOLDER]
//   (default: /tmp/vesp-bench-store with 1,000,000 requests, /tmp/vesp-bench-elements with
//    125,000 services of 8 elements; each is generated when missing)
#include <filesystem>
#include <iostream>
#include <sstream>

#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "runtime/data/errors.h"
#include "runtime/store/view.h"
#include "tools/vesp_data/sample_data.h"

using namespace vrt;

namespace {

void generateIfMissing(const char* file, std::int64_t requests, std::int64_t services) {
  if (std::filesystem::exists(file)) return;
  std::cout << "Generating sample data in " << std::filesystem::current_path().string() << " ...\n";
  vesp::tools::SampleOptions options;
  options.prayerRequests = requests;
  options.services = services;
  std::ostringstream log;
  if (vesp::tools::generateSampleData(options, log, std::cerr) != 0) std::exit(1);
}

// Reads up to `limit` records of a view from its start; returns how many it read.
std::int64_t readView(View& v, std::int64_t limit) {
  v.beginBatch();
  v.setToStart();
  std::int64_t n = 0;
  while (n < limit && v.next()) ++n;
  v.endBatch();
  return n;
}

std::int64_t readSql(sql::Statement& s, std::int64_t limit) {
  std::int64_t n = 0;
  const int columns = sqlite3_column_count(s.handle());
  std::size_t bytes = 0;
  while (n < limit && s.step() == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) bytes += s.text(c).size();
    ++n;
  }
  s.reset();
  return bytes ? n : n;
}

void row(const char* what, const std::vector<double>& view, const std::vector<double>& ref, std::int64_t rows) {
  std::printf("%-58s %9.0f %9.0f %6.2f %8lld\n", what, vbench::median(view), vbench::median(ref),
              vbench::median(view) / vbench::median(ref), static_cast<long long>(rows));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string requestsFolder = argc > 1 ? argv[1] : "/tmp/vesp-bench-store";
  const std::string elementsFolder = argc > 2 ? argv[2] : "/tmp/vesp-bench-elements";

  std::printf("%-58s %9s %9s %6s %8s\n", "median microseconds", "view", "SQL", "ratio", "rows");
  {
    vbench::DataFolder in(requestsFolder);
    generateIfMissing("PrayerRequest.vdb", 1'000'000, 10);
    DataFile file(vesp::dict::schemaOf(vesp::tables::PrayerRequest));
    if (!file.open(OpenAccess::ReadOnly)) return 1;
    sql::Database db;
    db.open(file.path(), true, false);
    struct Case {
      const char* filter;
      const char* sql;
    } cases[] = {
        {"INSTRING('CARE',UPPER(PRA:Request),1,1)", "instr(upper(REQUEST), 'CARE') > 0"},
        {"PRA:DateAnswered = 0 AND PRA:RequestCategory = 'Family'", "DATEANSWERED = 0 AND REQUESTCATEGORY = 'Family'"},
    };
    for (const auto& c : cases) {
      View v(file);
      v.setOrder("PRA:RequestNumber");
      if (!v.setFilter(c.filter) || !v.open()) {
        std::cerr << errorMessage() << "\n";
        return 1;
      }
      sql::Statement ref(db.handle(), "SELECT _pos,_changes," + file.layout().columnList() +
                                          " FROM PrayerRequest WHERE " + c.sql + " ORDER BY REQUESTNUMBER");
      std::int64_t rows = 0;
      const auto first = vbench::timeRuns(51, [&] { rows = readView(v, 20); });
      const auto firstRef = vbench::timeRuns(51, [&] { readSql(ref, 20); });
      row((std::string("first 20: ") + c.filter).c_str(), first, firstRef, rows);
      const auto all = vbench::timeRuns(5, [&] { rows = readView(v, 1LL << 60); });
      std::int64_t refRows = 0;
      const auto allRef = vbench::timeRuns(5, [&] { refRows = readSql(ref, 1LL << 60); });
      row((std::string("all: ") + c.filter).c_str(), all, allRef, rows);
      if (rows != refRows) std::cout << "  (SQL found " << refRows << ")\n";
    }
  }
  {
    vbench::DataFolder in(elementsFolder);
    generateIfMissing("ServiceElement.vdb", 0, 125'000);
    DataFile file(vesp::dict::schemaOf(vesp::tables::ServiceElement));
    if (!file.open(OpenAccess::ReadOnly)) return 1;
    const std::int64_t elements = file.records();
    View v(file);
    v.setOrder("SEL:ServiceNumber,SEL:ElementOrder");
    sql::Database db;
    db.open(file.path(), true, false);
    sql::Statement ref(db.handle(), "SELECT _pos,_changes," + file.layout().columnList() +
                                        " FROM ServiceElement WHERE SERVICENUMBER = ?1 ORDER BY SERVICENUMBER, "
                                        "ELEMENTORDER, _pos");
    std::vector<double> firstPage, refPage;
    std::int64_t rows = 0;
    for (const std::int64_t service : {1LL, 62'500LL, 125'000LL}) {
      const std::string filter = "SEL:ServiceNumber = " + std::to_string(service);
      v.close();
      v.setFilter(filter);
      v.open();
      const auto t = vbench::timeRuns(101, [&] { rows = readView(v, 20); });
      firstPage.insert(firstPage.end(), t.begin(), t.end());
      const auto r = vbench::timeRuns(101, [&] {
        ref.bind(1, service);
        readSql(ref, 20);
      });
      refPage.insert(refPage.end(), r.begin(), r.end());
    }
    row(("first page of one service among " + std::to_string(elements) + " elements").c_str(), firstPage, refPage,
        rows);
  }
  return 0;
}
