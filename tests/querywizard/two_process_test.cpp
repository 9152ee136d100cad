// Two processes register fields and save queries in one saved-query file (or on one server)
// at the same time: this test program started twice more as the other stations.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "querywizard/filter_text.h"
#include "querywizard/query_store.h"
#include "querywizard/query_tables.h"
#include "qw_fixture.h"
#include "runtime/store/data_file.h"
#include "runtime/store/file_repair.h"
#include "store_support.h"
#include "support/other_station.h"

using namespace qrywiz;
using namespace qwtest;

namespace {

constexpr int kQueriesEach = 25;

class TwoProcesses : public QwTest {};

// What each process does; returns its exit code (0 when no message was shown and every
// save succeeded).
int work(int id, std::vector<Shown>& shown) {
  int failures = 0;
  for (int k = 0; k < kQueriesEach; ++k) {
    // Each registration of a class's own list, and of a list both share, under contention.
    const std::string own = "Class" + std::to_string(id);
    XBQW_FIELDSQUEUE f = prayerFields();
    std::int32_t error = 0;
    XB_ADDFIELDSQUEUEDATA(f, error, packed({"Extra " + std::to_string(k % 3), "0", "PRA:Extra" + std::to_string(k % 3),
                                            "@s9", "9", "1", "1", "", ""}));
    XB_INITFIELDSQUEUE(f, k % 2 ? "Shared" : own);
    CurrentQuery q = {makeElement(rankOf(f, "PRA:Request"), f, kContains, "w" + std::to_string(k), "AND"),
                      makeElement(rankOf(f, "PRA:Request Number"), f, kIsGreaterThan, std::to_string(id))};
    SaveInput in;
    in.className = own;
    const std::string text = assembleQuery(q, Syntax::Standard);
    in.filterText = text;
    std::string accepted;
    hooks().describe = [&](DescriptionRequest, std::string_view) -> std::optional<std::string> {
      return "P" + std::to_string(id) + "-" + std::to_string(k);
    };
    if (saveQuery(q, f, in, accepted) <= 0) ++failures;
  }
  for (const auto& m : shown) std::fprintf(stderr, "process %d: %s: %s\n", id, m.caption.c_str(), m.text.c_str());
  return failures == 0 && shown.empty() ? 0 : 1;
}

}  // namespace

// A station's side: "<id>:<folder>", started by the case below; it works in that folder (on
// a server, in the case's schema) once the folder holds "go".
TEST_F(TwoProcesses, Work) {
  const char* job = vtest::stationJob();
  if (!job) GTEST_SKIP() << "started only as another station";
  const std::string text(job);
  const int id = std::atoi(text.c_str());
  const std::filesystem::path folder = text.substr(text.find(':') + 1);
  std::filesystem::current_path(folder);
  while (!std::filesystem::exists(folder / "go")) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(work(id, shown), 0);
}

TEST_F(TwoProcesses, RegisterAndSaveAtTheSameTime) {
  const std::string folder = dir.path().string();
  pid_t children[2];
  for (int id = 0; id < 2; ++id)
    children[id] = vtest::startStation(dir.engine().schema(), std::to_string(id + 1) + ":" + folder,
                                       "TwoProcesses.Work");
  std::ofstream(dir.file("go")) << "go\n";  // both start now
  for (pid_t child : children) EXPECT_EQ(vtest::waitForStation(child), 0);
  // Every query of both is there, once, with its two elements.
  vrt::DataFile queries(queriesSchema(), "QUERIES.TPS\\!XBQW_Queries");
  vrt::DataFile elements(elementsSchema(), "QUERIES.TPS\\!XBQW_Elements");
  ASSERT_TRUE(queries.open(vrt::OpenAccess::ReadOnly));
  ASSERT_TRUE(elements.open(vrt::OpenAccess::ReadOnly));
  std::set<std::int32_t> numbers;
  std::set<std::string> descriptions;
  queries.setToStart(vrt::DataFile::kFileOrder);
  while (queries.next()) {
    EXPECT_TRUE(numbers.insert(queries.buffer().get(QR::QUERYNO)).second);
    descriptions.insert(queries.buffer().get(QR::DESCRIPTION));
  }
  EXPECT_EQ(numbers.size(), 2u * kQueriesEach);
  for (int id = 1; id <= 2; ++id)
    for (int k = 0; k < kQueriesEach; ++k)
      EXPECT_TRUE(descriptions.count("P" + std::to_string(id) + "-" + std::to_string(k)));
  std::map<std::int32_t, int> perQuery;
  elements.setToStart(vrt::DataFile::kFileOrder);
  while (elements.next()) ++perQuery[elements.buffer().get(EL::QUERYNO)];
  for (std::int32_t n : numbers) EXPECT_EQ(perQuery[n], 2) << n;
  EXPECT_EQ(perQuery.size(), numbers.size());

  // Field numbers are unique within each class.
  vrt::DataFile registered(fieldsSchema(), "QUERIES.TPS\\!XBQW_Fields");
  ASSERT_TRUE(registered.open(vrt::OpenAccess::ReadOnly));
  std::map<std::string, std::set<std::int16_t>> perClass;
  std::map<std::string, int> rows;
  registered.setToStart(vrt::DataFile::kFileOrder);
  while (registered.next()) {
    const std::string cls = registered.buffer().get(FD::CLASSNAME);
    EXPECT_TRUE(perClass[cls].insert(fieldPointer(registered.buffer())).second) << cls;
    ++rows[cls];
  }
  for (const char* cls : {"CLASS1", "CLASS2", "SHARED"}) EXPECT_EQ(rows[cls], 9) << cls;

  // The shared file came through whole.
  if (vtest::serverEngineWanted()) return;
  for (const vrt::TableSchema* s : {&queriesSchema(), &elementsSchema(), &fieldsSchema()}) {
    const auto report = vrt::store::checkFile("QUERIES.TPS", vrt::store::TableLayout(*s, s->label, s->label + "_"));
    EXPECT_TRUE(report.ok) << s->label << ": " << (report.problems.empty() ? "" : report.problems.front());
  }
}
