// The bibliography's first and last used dates and times used over generated data, against
// a count made independently in SQL over the three files; and check --repair putting them
// right after they were written behind the program's back.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "runtime/store/sqlite_db.h"
#include "worship/song_rotation.h"
#include "support/temp_dir.h"
#include "support/run_vesp_data.h"
#include "tools/vesp_data/commands.h"

using namespace vesp;

namespace {

using Outcome = vesp::testing::CommandOutcome;

Outcome run(std::vector<std::string> words) { return vesp::testing::runVespData(std::move(words)); }

struct Use {
  std::int64_t first = 0, last = 0, services = 0;
  bool operator==(const Use&) const = default;
};

std::map<std::int64_t, Use> query(vrt::sql::Database& db, const std::string& sql,
                                  const std::function<void(Use&, vrt::sql::Statement&)>& take) {
  std::map<std::int64_t, Use> out;
  vrt::sql::Statement s(db.handle(), sql, false);
  EXPECT_TRUE(s.ok()) << db.lastError();
  while (s.step() == SQLITE_ROW) take(out[s.int64(0)], s);
  return out;
}

// Straight from the files: every entry (zero when unused), its dated services' range, and
// the number of services whatever their date.
std::map<std::int64_t, Use> independentCount() {
  vrt::sql::Database db;
  EXPECT_EQ(db.open("Bibliography.vdb", true, false), SQLITE_OK);
  EXPECT_EQ(db.exec("ATTACH 'Service.vdb' AS sv; ATTACH 'ServiceElement.vdb' AS el"), SQLITE_OK);
  auto all = query(db, "SELECT BIBLIOGRAPHYNUMBER FROM main.Bibliography", [](Use&, vrt::sql::Statement&) {});
  for (const auto& [entry, range] :
       query(db,
             "SELECT e.BIBLIOGRAPHYNUMBER, min(s.WEEKOFDATE_DATE), max(s.WEEKOFDATE_DATE) FROM el.ServiceElement e "
             "JOIN sv.Service s ON s.SERVICENUMBER = e.SERVICENUMBER WHERE s.WEEKOFDATE_DATE <> 0 GROUP BY 1",
             [](Use& u, vrt::sql::Statement& s) { u.first = s.int64(1), u.last = s.int64(2); }))
    if (all.count(entry)) all[entry].first = range.first, all[entry].last = range.last;
  for (const auto& [entry, count] :
       query(db, "SELECT BIBLIOGRAPHYNUMBER, count(DISTINCT SERVICENUMBER) FROM el.ServiceElement GROUP BY 1",
             [](Use& u, vrt::sql::Statement& s) { u.services = s.int64(1); }))
    if (all.count(entry)) all[entry].services = count.services;
  return all;
}

// What the files hold and what the program works out, entry by entry.
struct Program {
  std::map<std::int64_t, Use> stored, worked;
};
Program program() {
  Program p;
  const auto& S = dict::schemaOf;
  vrt::DataFile services(S(tables::Service)), elements(S(tables::ServiceElement)), bibliography(S(tables::Bibliography));
  EXPECT_TRUE(services.open() && elements.open() && bibliography.open());
  vrt::RecordRef b = bibliography.buffer();
  bibliography.setToStart(vrt::DataFile::kFileOrder);
  std::vector<std::int32_t> entries;
  while (bibliography.next()) {
    const std::int32_t entry = b.get(BBL_BIBLIOGRAPHYNUMBER);
    entries.push_back(entry);
    p.stored[entry] = {b.get(BBL_FIRSTUSED_DATE), b.get(BBL_LASTUSED_DATE), 0};
  }
  for (std::int32_t entry : entries) {
    SongUseDates d;
    EXPECT_TRUE(SongUseOf(services, elements, entry, d));
    p.worked[entry] = {d.first, d.last, TimesUsed(elements, entry)};
    p.stored[entry].services = p.worked[entry].services;
  }
  return p;
}

}  // namespace

TEST(SongRotation, GeneratedDataAgreesWithAnIndependentCountAndRepairMendsWhatWasWrittenAround) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "150", "--elements", "8"}).status, 0);
  {
    // Some services without a date: their songs must not count for the dates.
    vrt::sql::Database db;
    ASSERT_EQ(db.open("Service.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("UPDATE Service SET WEEKOFDATE_DATE = 0 WHERE SERVICENUMBER % 7 = 0"), SQLITE_OK);
  }
  Outcome r = run({"check"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Bibliography.vdb: first and last used of"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("differ from their services (--repair recomputes them)"), std::string::npos) << r.out;
  r = run({"check", "--repair"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("recomputed from their services"), std::string::npos) << r.out;

  const auto expected = independentCount();
  ASSERT_EQ(expected.size(), 150u);
  int unused = 0, undatedOnly = 0;
  for (const auto& [entry, use] : expected) {
    unused += use.services == 0;
    undatedOnly += use.services > 0 && use.last == 0;
  }
  EXPECT_GT(unused + undatedOnly, 0) << "the data should hold entries with no dates";
  Program p = program();
  EXPECT_EQ(p.stored, expected);
  EXPECT_EQ(p.worked, expected);
  EXPECT_EQ(run({"check"}).out.find("first and last used"), std::string::npos) << "nothing left to report";

  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("Bibliography.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("UPDATE Bibliography SET FIRSTUSED_DATE = 5, LASTUSED_DATE = 5 WHERE BIBLIOGRAPHYNUMBER <= 12"),
              SQLITE_OK);
  }
  r = run({"check"});
  EXPECT_NE(r.out.find("first and last used of 12 entries differ"), std::string::npos) << r.out;
  EXPECT_EQ(program().stored.at(1).first, 5);
  r = run({"check", "--repair"});
  EXPECT_NE(r.out.find("first and last used of 12 entries recomputed"), std::string::npos) << r.out;
  EXPECT_EQ(program().stored, expected);
}

TEST(SongRotation, DeletingServicesAndElementsFromTheCommandLineKeepsTheDatesInStep) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "40", "--elements", "8"}).status, 0);
  for (const char* service : {"40", "1", "17"}) {
    const Outcome r = run({"delete", "Service", service});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  for (const char* element : {"20", "21", "22", "23"}) {
    const Outcome r = run({"delete", "ServiceElement", element});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  const auto expected = independentCount();
  EXPECT_EQ(program().stored, expected);
  EXPECT_EQ(run({"check"}).out.find("first and last used"), std::string::npos);
}
