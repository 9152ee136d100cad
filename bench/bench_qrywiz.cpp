// A wizard-built filter over 1,000,000 prayer requests: "Request contains care AND Date
// Started within a range", assembled by the query wizard library and read through a view,
// against the same predicate written as SQL and run by one prepared SQLite statement.
//
//   bench_qrywiz [REQUESTS_FOLDER]   (default /tmp/vesp-bench-store, generated when missing)
#include <filesystem>
#include <iostream>
#include <sstream>

#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "querywizard/field_registry.h"
#include "querywizard/filter_text.h"
#include "runtime/data/errors.h"
#include "runtime/store/view.h"
#include "tools/vesp_data/sample_data.h"

using namespace vrt;

namespace {

std::string packed(const std::vector<std::string>& values) {
  std::string s;
  for (const auto& v : values) s += v + "\xA6";
  return s + "\xAB";
}

qrywiz::QueryElement element(const qrywiz::XBQW_FIELDSQUEUE& fields, const std::string& desc, std::uint8_t op,
                             std::string value, std::string conj) {
  qrywiz::QueryElement e;
  for (const auto& f : fields)
    if (f.QWFLDDESC == desc) {
      e.FIELDNAME = f.QWFLDNAME;
      e.DATATYPE = f.QWFLDDATATYPE;
      e.FLDQPOINTER = f.QWFLDQPOINTER;
    }
  e.OPCODE = op;
  e.VALUE = std::move(value);
  e.CONJUNCTION = std::move(conj);
  return e;
}

std::int64_t readView(View& v) {
  v.beginBatch();
  v.setToStart();
  std::int64_t n = 0;
  while (v.next()) ++n;
  v.endBatch();
  return n;
}

std::int64_t readSql(sql::Statement& s) {
  std::int64_t n = 0;
  const int columns = sqlite3_column_count(s.handle());
  std::size_t bytes = 0;
  while (s.step() == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) bytes += s.text(c).size();
    ++n;
  }
  s.reset();
  return bytes ? n : n;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-store";
  vbench::DataFolder in(folder);
  if (!std::filesystem::exists("PrayerRequest.vdb")) {
    std::cout << "Generating sample data in " << folder << " ...\n";
    vesp::tools::SampleOptions options;
    options.prayerRequests = 1'000'000;
    options.services = 10;
    std::ostringstream log;
    if (vesp::tools::generateSampleData(options, log, std::cerr) != 0) return 1;
  }
  DataFile file(vesp::dict::schemaOf(vesp::tables::PrayerRequest));
  if (!file.open(OpenAccess::ReadOnly)) return 1;
  sql::Database db;
  db.open(file.path(), true, false);

  // The middle half of the dates the requests were started on.
  sql::Statement range(db.handle(), "SELECT min(DATESTARTED), max(DATESTARTED) FROM PrayerRequest WHERE DATESTARTED > 0");
  range.step();
  const std::int64_t lo = range.int64(0), hi = range.int64(1);
  const std::int64_t from = lo + (hi - lo) / 4, to = hi - (hi - lo) / 4;
  range.reset();

  qrywiz::XBQW_FIELDSQUEUE fields;
  std::int32_t error = 0;
  qrywiz::XB_ADDFIELDSQUEUEDATA(fields, error,
                                packed({"PRA:Request", "0", "PRA:Request", "@s255", "5000", "1", "1", "", ""}) +
                                    packed({"PRA:Date Started", "0", "PRA:DateStarted", "@d2-", "4", "4", "1", "", ""}));
  const qrywiz::CurrentQuery query = {
      element(fields, "PRA:Request", qrywiz::kContains, "care", "AND"),
      element(fields, "PRA:Date Started", qrywiz::kIsGreaterOrEqual, std::to_string(from), "AND"),
      element(fields, "PRA:Date Started", qrywiz::kIsLessOrEqual, std::to_string(to), "")};
  const std::string filter = qrywiz::assembleQuery(query, qrywiz::Syntax::Standard);
  const std::string predicate = "instr(upper(REQUEST), 'CARE') > 0 AND DATESTARTED >= " + std::to_string(from) +
                                " AND DATESTARTED <= " + std::to_string(to);
  std::cout << "filter: " << filter << "\nSQL:    " << predicate << "\n";

  View v(file);
  v.setOrder("PRA:RequestNumber");
  if (!v.setFilter(filter) || !v.open()) {
    std::cerr << errorMessage() << "\n";
    return 1;
  }
  sql::Statement ref(db.handle(), "SELECT _pos,_changes," + file.layout().columnList() + " FROM PrayerRequest WHERE " +
                                      predicate + " ORDER BY REQUESTNUMBER");
  std::int64_t rows = 0, refRows = 0;
  const auto view = vbench::timeRuns(5, [&] { rows = readView(v); });
  const auto sqlRuns = vbench::timeRuns(5, [&] { refRows = readSql(ref); });
  std::printf("%-40s %12s %12s %6s %8s\n", "median milliseconds, all matches", "view", "SQL", "ratio", "rows");
  std::printf("%-40s %12.1f %12.1f %6.2f %8lld\n", "contains AND date range", vbench::median(view) / 1000,
              vbench::median(sqlRuns) / 1000, vbench::median(view) / vbench::median(sqlRuns),
              static_cast<long long>(rows));
  std::printf("pushed terms %d, terms per record %d\n", v.pushedTerms(), v.residualTerms());
  if (rows != refRows) std::cout << "  (SQL found " << refRows << ")\n";
  return 0;
}
