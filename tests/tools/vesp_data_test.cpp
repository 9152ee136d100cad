#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "records/location_file.h"
#include "runtime/store/sqlite_db.h"
#include "support/scratch_database.h"
#include "support/temp_dir.h"
#include "support/run_vesp_data.h"
#include "tools/vesp_data/commands.h"


namespace {

using Outcome = vesp::testing::CommandOutcome;

Outcome run(std::vector<std::string> words) { return vesp::testing::runVespData(std::move(words)); }

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
           {"generate", "--prayer-requests", "-5"}, {"generate", "--elements", "0"}, {"count", "NoSuchTable"}}) {
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

TEST(VespData, CreateGivesANewFolderItsStartingListsAndNoOtherFolder) {
  {
    vtest::TempDir dir;
    const Outcome r = run({"create"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("ElementType.vdb: created, with 21 starting values"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Service.vdb: created\n"), std::string::npos) << r.out;
    EXPECT_EQ(run({"count", "StatisticType"}).out, "5\n");
    EXPECT_EQ(run({"count", "Lookups"}).out, "14\n");
    EXPECT_EQ(run({"count", "Service"}).out, "0\n");
    const Outcome types = run({"export", "StatisticType", "--order", "STT:StatisticTypeKey"});
    EXPECT_NE(types.out.find("First-time Guests"), std::string::npos) << types.out;
    // A list the church changed stays as it is however often the files are made.
    ASSERT_EQ(run({"delete", "StatisticType", "1"}).status, 0);
    EXPECT_EQ(run({"create"}).status, 0);
    EXPECT_EQ(run({"count", "StatisticType"}).out, "4\n");
    EXPECT_EQ(run({"check"}).status, 0);
  }
  {
    vtest::TempDir dir;  // the program ran here before, though it kept nothing yet
    std::ofstream("vsp.INI") << "[Main]\n";
    ASSERT_EQ(run({"create"}).status, 0);
    EXPECT_EQ(run({"count", "ElementType"}).out, "0\n");
  }
}

// On a server the same: a database with none of the program's tables is new data and gets
// the lists; once it has them, a create finds every table there and adds nothing.
TEST(VespData, CreateOnANewServerDatabaseGivesItsListsOnceAndLeavesItsTablesAlone) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  vtest::TempDir dir;
  std::ofstream("vsp.INI") << "[Main]\n";  // a station's folder in use: the server decides
  ASSERT_EQ(vesp::location::writeLocation(".", db.location()), "");
  Outcome r = run({"create"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("ElementType: created, with 21 starting values"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists("ElementType.vdb")) << "made on the server, not in the folder";
  EXPECT_EQ(run({"count", "StatisticType"}).out, "5\n");
  ASSERT_EQ(run({"delete", "StatisticType", "1"}).status, 0);

  r = run({"create"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Service: exists, left as it is"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("created"), std::string::npos) << r.out;
  EXPECT_EQ(run({"count", "StatisticType"}).out, "4\n") << "an edited list is never filled again";
  EXPECT_EQ(run({"count", "ElementType"}).out, "21\n");
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

TEST(VespData, CheckListsRowsWhoseOwnerIsGoneAndRepairRemovesThemAfterABackup) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "3"}).status, 0);
  const std::string elements = run({"count", "ServiceElement"}).out, words = run({"count", "KeyWords"}).out;
  // Another program took service 2 out behind the relations' back.
  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("Service.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DELETE FROM Service WHERE SERVICENUMBER = 2"), SQLITE_OK);
  }
  Outcome r = run({"check"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("ServiceElement.vdb: element 9 belongs to service 2, which does not exist"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("KeyWords.vdb: key word "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" whose owner is missing (--repair removes them, after a backup)"), std::string::npos);
  EXPECT_EQ(run({"count", "ServiceElement"}).out, elements) << "a check alone removes nothing";
  EXPECT_FALSE(std::filesystem::exists("backups"));

  r = run({"check", "--repair"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("backed up and verified: backups/"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("removed "), std::string::npos) << r.out;
  EXPECT_EQ(std::stoi(run({"count", "ServiceElement"}).out), std::stoi(elements) * 2 / 3);
  EXPECT_EQ(std::stoi(run({"count", "KeyWords"}).out), std::stoi(words) * 2 / 3);
  EXPECT_EQ(lines(run({"query", "ServiceElement", "--filter", "SEL:ServiceNumber = 2"}).out).size(), 1u);
  r = run({"check"});
  EXPECT_EQ(r.out.find("owner"), std::string::npos) << r.out;
  // The backup holds the rows as they were.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("backups"), std::filesystem::directory_iterator()), 1);
}

TEST(VespData, QueryPrintsWhatAViewYields) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "400", "--services", "5"}).status, 0);
  Outcome r = run({"query", "Service", "--filter", "UPPER(SER:Title) = UPPER('foundations, WEEK 2')"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(lines(r.out).size(), 2u);
  EXPECT_EQ(lines(r.out)[1].rfind("2,\"Foundations, week 2\"", 0), 0u);
  r = run({"query", "Service", "--order", "-SER:ServiceNumber", "--limit", "2"});
  EXPECT_EQ(lines(r.out).size(), 3u);
  EXPECT_EQ(lines(r.out)[1].rfind("5,", 0), 0u);
  r = run({"query", "Service", "--reverse", "--limit", "1"});
  EXPECT_EQ(lines(r.out)[1].rfind("5,", 0), 0u);
  // The filter agrees with export filtered by hand.
  r = run({"query", "PrayerRequest", "--filter", "PRA:DateAnswered = 0 AND PRA:RequestCategory = 'Family'"});
  const Outcome all = run({"export", "PrayerRequest"});
  std::size_t expected = 0;
  for (const auto& l : lines(all.out))
    if (l.size() > 7 && l.substr(l.size() - 7) == ",Family" && l.find(",,") != std::string::npos) {
      const auto fields = l.substr(0, l.rfind(','));
      expected += fields.find(",20") != std::string::npos && l.find(",,,", l.find(",20") + 11) == l.find(",20") + 11;
    }
  EXPECT_EQ(lines(r.out).size() - 1, expected);
  EXPECT_GT(expected, 0u);
  r = run({"query", "Service", "--filter", "SER:Title = "});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("error 800"), std::string::npos);
  EXPECT_NE(r.err.find("position 13"), std::string::npos);
  r = run({"query", "Service", "--filter", "SER:Nope = 1"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("error 801"), std::string::npos);
}

TEST(VespData, GenerateGivesEachServiceTheElementsAskedFor) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "3", "--elements", "10"}).status, 0);
  EXPECT_EQ(run({"count", "ServiceElement"}).out, "30\n");
  const auto third = lines(run({"query", "ServiceElement", "--filter", "SEL:ServiceNumber = 3"}).out);
  EXPECT_EQ(third.size(), 11u);  // the heading and ten elements
}

TEST(VespData, DeleteTakesAServiceWithItsElementsAndPassages) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "4"}).status, 0);
  EXPECT_EQ(run({"count", "ServiceElement"}).out, "32\n");
  Outcome r = run({"delete", "Service", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Service 2 deleted\n");
  EXPECT_EQ(run({"count", "Service"}).out, "3\n");
  EXPECT_EQ(run({"count", "ServiceElement"}).out, "24\n");
  EXPECT_EQ(run({"count", "BibleRef"}).out, "6\n");
  EXPECT_EQ(run({"count", "KeyWords"}).out, "9\n");  // the service's own went with it
  EXPECT_EQ(lines(run({"query", "ServiceElement", "--filter", "SEL:ServiceNumber = 2"}).out).size(), 1u);
  r = run({"delete", "Service", "2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no record 2"), std::string::npos);
  EXPECT_EQ(run({"delete", "Lookups", "1"}).status, 2);
  EXPECT_EQ(run({"delete", "Service", "two"}).status, 2);
}
