#include "bench/keyset_reference.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "tools/vesp_data/sample_data.h"

namespace vbench {

using namespace vrt;

KeysetReference::KeysetReference(sql::Database& db, const store::TableLayout& layout, int key) {
  std::string cols, marks, asc, desc;
  for (const auto& c : layout.keyColumns(key)) {
    cols += (cols.empty() ? "" : ",") + sql::quoteIdent(c);
    marks += marks.empty() ? "?" : ",?";
    asc += sql::quoteIdent(c) + ",";
    desc += sql::quoteIdent(c) + " DESC,";
  }
  const std::string base = "SELECT _pos,_changes," + layout.columnList() + " FROM PrayerRequest WHERE (" + cols + ") ";
  forward = sql::Statement(db.handle(), base + ">= (" + marks + ") ORDER BY " + asc + "_pos LIMIT 20");
  backward = sql::Statement(db.handle(), base + "<= (" + marks + ") ORDER BY " + desc + "_pos DESC LIMIT 20");
}

std::size_t KeysetReference::readPage(sql::Statement& s, const std::vector<store::KeyValue>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) store::bindKeyValue(s, static_cast<int>(i) + 1, values[i]);
  std::size_t bytes = 0;
  const int columns = sqlite3_column_count(s.handle());
  while (s.step() == SQLITE_ROW)
    for (int c = 0; c < columns; ++c) bytes += s.text(c).size();
  s.reset();
  return bytes;
}

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

bool ensurePrayerRequests(std::int64_t requests, const std::string& folder) {
  if (std::filesystem::exists("PrayerRequest.vdb")) return true;
  std::cout << "Generating " << requests << " prayer requests in " << folder << " ...\n";
  vesp::tools::SampleOptions options;
  options.prayerRequests = requests;
  options.services = 10;
  std::ostringstream log;
  const auto start = std::chrono::steady_clock::now();
  if (vesp::tools::generateSampleData(options, log, std::cerr) != 0) return false;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << log.str();
  std::cout << "bulk insert (all tables): " << seconds << " s\n";
  return true;
}

}  // namespace vbench
