// The record store on 1,000,000 prayer requests: the bulk insert rate, and how long it takes
// to position on a key value and read a page of 20 records forward and 20 backward at the
// start, middle and end of each key, against the least any store on SQLite can do: the
// same page read by one hand-written statement prepared once.
//
//   bench_store [FOLDER] [REQUESTS]     (default: /tmp/vesp-bench-store, 1000000)
// The folder is filled by the sample-data generator when its PrayerRequest file is missing.
#include <filesystem>
#include <iostream>
#include <sstream>

#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "runtime/store/data_file.h"
#include "runtime/data/errors.h"
#include "runtime/store/upgrader.h"
#include "tools/vesp_data/sample_data.h"

using namespace vrt;

namespace {

constexpr int kPage = 20;
constexpr int kRuns = 301;

// The reference: one statement per direction, prepared once, reading every column.
struct Reference {
  sql::Statement forward, backward;
  std::size_t components;
  Reference(sql::Database& db, const store::TableLayout& layout, int key) {
    std::string cols, marks, asc, desc;
    for (const auto& c : layout.keyColumns(key)) {
      cols += (cols.empty() ? "" : ",") + sql::quoteIdent(c);
      marks += marks.empty() ? "?" : ",?";
      asc += sql::quoteIdent(c) + ",";
      desc += sql::quoteIdent(c) + " DESC,";
    }
    components = layout.keyColumns(key).size();
    const std::string base = "SELECT _pos,_changes," + layout.columnList() + " FROM PrayerRequest WHERE (" + cols + ") ";
    forward = sql::Statement(db.handle(), base + ">= (" + marks + ") ORDER BY " + asc + "_pos LIMIT 20");
    backward = sql::Statement(db.handle(), base + "<= (" + marks + ") ORDER BY " + desc + "_pos DESC LIMIT 20");
  }
  static std::size_t readPage(sql::Statement& s, const std::vector<store::KeyValue>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) store::bindKeyValue(s, static_cast<int>(i) + 1, values[i]);
    std::size_t bytes = 0;
    const int columns = sqlite3_column_count(s.handle());
    while (s.step() == SQLITE_ROW)
      for (int c = 0; c < columns; ++c) bytes += s.text(c).size();
    s.reset();
    return bytes;
  }
};

// The key values of the record at `rank` in a key's order (set-up only).
std::vector<store::KeyValue> valuesAtRank(DataFile& file, int key, std::int64_t rank) {
  sql::Database db;
  db.open(file.path(), true, false);
  std::string order;
  for (const auto& c : file.layout().keyColumns(key)) order += sql::quoteIdent(c) + ",";
  sql::Statement s(db.handle(), "SELECT _pos FROM PrayerRequest ORDER BY " + order + "_pos LIMIT 1 OFFSET ?", false);
  s.bind(1, rank);
  s.step();
  std::string pos(8, '\0');
  const std::int64_t rowid = s.int64(0);
  std::memcpy(pos.data(), &rowid, 8);
  file.getAt(pos);
  return file.layout().keyValues(key, file.buffer());
}

void placeBuffer(DataFile& file, int key, const std::vector<store::KeyValue>& values) {
  const auto& comps = file.schema().keys[static_cast<std::size_t>(key)].components;
  for (std::size_t i = 0; i < comps.size(); ++i) file.layout().setComponentValue(comps[i], values[i], file.buffer());
}

void readPageBothWays(DataFile& file, int key, const std::vector<store::KeyValue>& values) {
  placeBuffer(file, key, values);
  file.setToValue(key);
  for (int i = 0; i < kPage && file.next(); ++i) {
  }
  placeBuffer(file, key, values);
  file.setToValue(key);
  for (int i = 0; i < kPage && file.previous(); ++i) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-store";
  const std::int64_t requests = argc > 2 ? std::atoll(argv[2]) : 1'000'000;
  vbench::DataFolder in(folder);
  const auto& schema = vesp::dict::schemaOf(vesp::tables::PrayerRequest);

  if (!std::filesystem::exists("PrayerRequest.vdb")) {
    std::cout << "Generating " << requests << " prayer requests in " << folder << " ...\n";
    vesp::tools::SampleOptions options;
    options.prayerRequests = requests;
    options.services = 10;
    std::ostringstream log;
    const auto start = std::chrono::steady_clock::now();
    if (vesp::tools::generateSampleData(options, log, std::cerr) != 0) return 1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << log.str();
    std::cout << "bulk insert (all tables): " << seconds << " s\n";
  }

  DataFile file(schema);
  if (!file.open(OpenAccess::ReadOnly)) {
    std::cerr << "cannot open PrayerRequest.vdb: " << errorMessage() << "\n";
    return 1;
  }
  const std::int64_t n = file.records();
  sql::Database refDb;
  refDb.open(file.path(), true, false);
  std::cout << "\n" << n << " prayer requests; page = position on a key value, read " << kPage
            << " forward and " << kPage << " backward; median (p90) microseconds of " << kRuns << " runs\n\n";
  std::printf("%-36s %-7s %17s %17s %17s %7s\n", "key", "where", "driver", "driver in txn", "reference",
              "ratio");
  for (std::size_t key = 0; key < schema.keys.size(); ++key) {
    Reference ref(refDb, file.layout(), static_cast<int>(key));
    for (auto [where, rank] : {std::pair{"start", std::int64_t{kPage}}, std::pair{"middle", n / 2},
                               std::pair{"end", n - kPage - 1}}) {
      const auto values = valuesAtRank(file, static_cast<int>(key), rank);
      const auto plain = vbench::timeRuns(kRuns, [&] { readPageBothWays(file, static_cast<int>(key), values); });
      const auto inTxn = vbench::timeRuns(kRuns, [&] {
        file.stream();
        readPageBothWays(file, static_cast<int>(key), values);
        file.flush();
      });
      const auto reference = vbench::timeRuns(kRuns, [&] {
        Reference::readPage(ref.forward, values);
        Reference::readPage(ref.backward, values);
      });
      const double best = std::min(vbench::median(plain), vbench::median(inTxn));
      std::printf("%-36s %-7s %8.0f (%6.0f) %8.0f (%6.0f) %8.0f (%6.0f) %7.2f\n", schema.keys[key].label.c_str(), where,
                  vbench::median(plain), vbench::percentile(plain, 0.9), vbench::median(inTxn),
                  vbench::percentile(inTxn, 0.9), vbench::median(reference), vbench::percentile(reference, 0.9),
                  best / vbench::median(reference));
    }
  }
  return 0;
}
