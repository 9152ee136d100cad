#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "runtime/store/sqlite_db.h"
#include "support/temp_dir.h"
#include "tools/vesp_data/commands.h"

using vesp::tools::runCommandLine;

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(std::vector<std::string> words) {
  std::ostringstream out, err;
  const int status = runCommandLine(words, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

}  // namespace

TEST(VespData, BadArgumentsGetTheUsageAndStatusTwo) {
  vtest::TempDir dir;
  for (const auto& words : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"count"}, {"count", "A", "B"}, {"export", "Service", "--order"},
           {"export", "Service", "--bogus", "x"}, {"generate", "--prayer-requests", "lots"},
           {"generate", "--prayer-requests", "-5"}, {"count", "NoSuchTable"}}) {
    const Outcome r = run(words);
    EXPECT_EQ(r.status, 2) << (words.empty() ? "(nothing)" : words[0]);
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_EQ(run({"--help"}).status, 0);
}

TEST(VespData, CreateMakesEveryTableAndLeavesExistingFilesAlone) {
  vtest::TempDir dir;
  Outcome r = run({"create"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines(r.out).size(), 27u);
  EXPECT_EQ(run({"count", "Service"}).out, "0\n");
  r = run({"create"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Service.vdb: exists, left as it is"), std::string::npos);
  EXPECT_EQ(run({"check"}).status, 0);
}

TEST(VespData, GenerateIsRepeatableAndExportWritesCsv) {
  std::string first, second;
  for (std::string* out : {&first, &second}) {
    vtest::TempDir dir;
    const Outcome g = run({"generate", "--prayer-requests", "300", "--services", "20"});
    ASSERT_EQ(g.status, 0) << g.err;
    EXPECT_EQ(run({"count", "PrayerRequest"}).out, "300\n");
    EXPECT_EQ(run({"count", "serviceelement"}).out, "160\n");
    const Outcome e = run({"export", "PrayerRequest", "--order", "PRA:DateStartedKey"});
    ASSERT_EQ(e.status, 0) << e.err;
    *out = e.out;
    // A second generate leaves the filled tables as they are.
    const Outcome again = run({"generate"});
    EXPECT_NE(again.out.find("PrayerRequest: holds records already"), std::string::npos);
    EXPECT_EQ(run({"count", "PrayerRequest"}).out, "300\n");
  }
  EXPECT_EQ(first, second);
  const auto rows = lines(first);
  ASSERT_EQ(rows.size(), 301u);
  EXPECT_EQ(rows[0],
            "PRA:REQUESTNUMBER,PRA:REQUEST,PRA:DATESTARTED,PRA:DATEANSWERED,PRA:NUMBERDAYS,PRA:ANSWER,PRA:COMMENTS,"
            "PRA:REQUESTCATEGORY");
  // Rows come in date order, with ISO dates.
  std::string previous;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const auto date = rows[i].substr(rows[i].find(",20") + 1, 10);
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(date[4], '-');
    EXPECT_LE(previous, date);
    previous = date;
  }
}

TEST(VespData, ExportQuotesWhatCsvMust) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "3"}).status, 0);
  const Outcome e = run({"export", "Service"});
  ASSERT_EQ(e.status, 0);
  EXPECT_NE(e.out.find("\"Foundations, week 1\""), std::string::npos);
  EXPECT_NE(e.out.find(",2000-01-02,09:30:00,"), std::string::npos);
  const Outcome stats = run({"export", "Statistics"});
  // Amounts carry their two places.
  EXPECT_NE(lines(stats.out)[1].find(",9500.00,0.00,"), std::string::npos) << lines(stats.out)[1];
}

TEST(VespData, CheckFindsDamageAndRepairMendsIt) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "500", "--services", "2"}).status, 0);
  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("PrayerRequest.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DROP INDEX \"PrayerRequest_DateStartedKey\""), SQLITE_OK);
  }
  Outcome r = run({"check"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("PrayerRequest.vdb: an index is missing"), std::string::npos) << r.out;
  r = run({"check", "--repair"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("PrayerRequest.vdb: keys rebuilt, ok"), std::string::npos);
  EXPECT_EQ(run({"check"}).status, 0);
  EXPECT_EQ(run({"count", "PrayerRequest"}).out, "500\n");
}
