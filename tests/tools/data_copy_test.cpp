// Moving a church's data between the files of a folder and a server, every table and the
// saved queries, checked on both sides.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "backup_data.h"
#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "querywizard/query_tables.h"
#include "records/data_backup.h"
#include "records/data_copy.h"
#include "records/location_file.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/upgrader.h"
#include "support/older_topic.h"
#include "support/backup_hooks.h"
#include "support/temp_dir.h"
#include "support/scratch_database.h"

using namespace vesp;
using namespace vesp::testing::backup_data;
namespace fs = std::filesystem;
using vrt::store::DataLocation;

namespace {

// One saved query, as the wizard would keep it.
void addSavedQuery(const std::string& description) {
  vrt::DataFile file(qrywiz::queriesSchema(), "QUERIES.TPS\\!XBQW_Queries");
  if (!file.open()) {
    ASSERT_TRUE(file.create() && file.open());
  }
  file.buffer().clearAll(file.schema().fields);
  file.buffer().set(qrywiz::QR::QUERYNO, 7);
  file.buffer().set(qrywiz::QR::DESCRIPTION, description);
  file.buffer().set(qrywiz::QR::QUERYSTRING, "PRA:RequestCategory = 'Family'");
  ASSERT_TRUE(file.add());
}

std::vector<datacopy::TableSum> sums(const DataLocation& at) {
  std::vector<datacopy::TableSum> out;
  std::string error;
  EXPECT_TRUE(datacopy::summarize(at, out, error)) << error;
  return out;
}

std::int64_t recordsOf(const std::vector<datacopy::TableSum>& all, const std::string& table) {
  for (const auto& t : all)
    if (t.table == table) return t.present ? t.records : -1;
  return -2;
}

}  // namespace

TEST(DataCopy, EveryTableAndTheSavedQueriesArriveAndAreCheckedAlike) {
  vtest::TempDir dir;
  makeData(400, 12);
  addSavedQuery("Open family requests");
  const auto before = sums(DataLocation::files());
  ASSERT_EQ(recordsOf(before, "PrayerRequest"), 400);
  ASSERT_EQ(recordsOf(before, "XBQW_Queries"), 1);

  std::vector<std::pair<std::string, std::int64_t>> seen;
  const datacopy::Outcome o = datacopy::copyData(DataLocation::files(), DataLocation::files("copy"),
                                                 [&](const std::string& t, std::int64_t done, std::int64_t) {
                                                   seen.emplace_back(t, done);
                                                 });
  ASSERT_TRUE(o.ok) << o.error;
  EXPECT_EQ(o.records(), [&] {
    std::int64_t n = 0;
    for (const auto& t : before) n += t.records;
    return n;
  }());
  // The copy, read on its own, holds what the source holds, table by table.
  const auto after = sums(DataLocation::files("copy"));
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].records, before[i].records) << before[i].table;
    EXPECT_EQ(after[i].digest, before[i].digest) << before[i].table;
  }
  // Every table of the program is there, those never used as empty tables.
  for (const auto& t : after) {
    EXPECT_TRUE(t.present) << t.table;
  }
  EXPECT_TRUE(fs::exists("copy/Topic.vdb"));
  EXPECT_TRUE(fs::exists("copy/QUERIES.TPS"));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().first, "XBQW_Queries");
  EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(std::string("PrayerRequest"), std::int64_t{400})),
            seen.end());
}

TEST(DataCopy, ATargetThatHoldsRecordsIsRefusedAndLeftAlone) {
  vtest::TempDir dir;
  makeData(50, 2);
  ASSERT_TRUE(datacopy::copyData(DataLocation::files(), DataLocation::files("copy")).ok);
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator("copy")) files[e.path().string()] = vrt::store::fileDigest(e.path().string());

  const datacopy::Outcome again = datacopy::copyData(DataLocation::files(), DataLocation::files("copy"));
  EXPECT_FALSE(again.ok);
  EXPECT_NE(again.error.find("already holds records"), std::string::npos) << again.error;
  EXPECT_NE(again.error.find("PrayerRequest (50)"), std::string::npos) << again.error;
  for (const auto& [name, digest] : files) EXPECT_EQ(vrt::store::fileDigest(name), digest) << name;
}

TEST(DataCopy, TheCommandNeedsOneServerAndAConnectionItCanRead) {
  vtest::TempDir dir;
  int status = 0;
  run({"copy"}, &status);
  EXPECT_EQ(status, 2);
  run({"copy", "--to-server", "host=a", "--from-server", "host=b"}, &status);
  EXPECT_EQ(status, 2);
  const std::string told = run({"copy", "--to-server", "host=a dbname"}, &status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(told.find("not valid"), std::string::npos) << told;
  // Nothing answers at a socket folder without a server: said so, and no file made.
  fs::create_directory("nowhere");
  const std::string unreachable =
      run({"copy", "--to-server", "host=" + fs::absolute("nowhere").string() + " dbname=v password=secret"}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(unreachable.find("secret"), std::string::npos) << unreachable;
  EXPECT_TRUE(fs::is_empty("nowhere"));
}

TEST(DataCopy, ToAServerAndBackGivesTheSameDataAndASecondCopyIsRefused) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  vtest::TempDir dir;
  makeData(300, 10);
  addSavedQuery("Früh: Gebete für Familien");
  const auto before = sums(DataLocation::files());

  int status = 0;
  const std::string up = run({"copy", "--to-server", db.connection()}, &status);
  ASSERT_EQ(status, 0) << up;
  EXPECT_NE(up.find("record counts and digests agree"), std::string::npos) << up;
  const auto onServer = sums(db.location());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(onServer[i].records, before[i].records) << before[i].table;
    EXPECT_EQ(onServer[i].digest, before[i].digest) << before[i].table;
  }

  const std::string twice = run({"copy", "--to-server", db.connection()}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(twice.find("already holds records"), std::string::npos) << twice;
  EXPECT_EQ(sums(db.location())[0].digest, onServer[0].digest);

  const std::string down = run({"copy", "--from-server", db.connection(), "back"}, &status);
  ASSERT_EQ(status, 0) << down;
  const auto back = sums(DataLocation::files("back"));
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(back[i].records, before[i].records) << before[i].table;
    EXPECT_EQ(back[i].digest, before[i].digest) << before[i].table;
  }
  // The station that points at the server works there: vesp-data counts what it holds.
  ASSERT_EQ(location::writeLocation(".", db.location()), "");
  fs::remove("PrayerRequest.vdb");
  EXPECT_EQ(run({"count", "PrayerRequest"}, &status), "300\n");
  EXPECT_EQ(vrt::store::currentDataLocation(), DataLocation::files());
}

TEST(DataCopy, AServersBackupIsAVerifiedSetThatRestoresToFilesOrToAnotherServer) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db, other;
  ASSERT_TRUE(db.ok() && other.ok());
  vtest::TempDir dir;
  makeData(200, 6);
  const auto before = sums(DataLocation::files());
  int status = 0;
  ASSERT_EQ((run({"copy", "--to-server", db.connection()}, &status), status), 0);
  // From now on this station's data lives on the server; its own files are gone.
  ASSERT_EQ(location::writeLocation(".", db.location()), "");
  for (const auto& t : datacopy::dataTables()) fs::remove(t.label() + ".vdb");
  fs::remove("QUERIES.TPS");

  const std::string made = run({"backup"}, &status);
  ASSERT_EQ(status, 0) << made;
  const auto sets = vesp::backup::listSets(vesp::backup::kBackupFolder);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].records("PrayerRequest"), 200);
  EXPECT_TRUE(fs::exists(sets[0].path + "/vsp.INI"));
  EXPECT_FALSE(fs::exists(sets[0].path + "/" + location::kLocationFile));
  const auto inSet = sums(DataLocation::files(sets[0].path));
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(inSet[i].digest, before[i].digest) << before[i].table;

  // A restore would put files where the server is meant: refused, saying what to do.
  const std::string refused = run({"restore", sets[0].path}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(refused.find("copy --to-server"), std::string::npos) << refused;

  // The set copies onto an empty server, and restores into a folder of files.
  const std::string path = fs::absolute(sets[0].path).string();
  ASSERT_EQ((run({"copy", "--to-server", other.connection(), path}, &status), status), 0);
  EXPECT_EQ(sums(other.location())[0].digest, before[0].digest);
  fs::create_directory("station");
  fs::current_path("station");
  const std::string restored = run({"restore", path}, &status);
  EXPECT_EQ(status, 0) << restored;
  EXPECT_EQ(run({"count", "PrayerRequest"}), "200\n");
  fs::current_path(dir.path());
}

TEST(DataCopy, AServersTableOfAnOlderVersionIsBackedUpAsItWasThenConverted) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  vtest::TempDir dir;
  // The table as an older version declared it on the server: one more field, since dropped.
  const vrt::TableSchema old = vtest::olderTopicSchema();
  const vrt::FieldDesc& gone = old.fields.back();
  {
    vrt::DataFile file(old, "", db.location());
    ASSERT_TRUE(file.create() && file.open()) << vrt::errorMessage();
    for (int i = 0; i < 5; ++i) {
      file.buffer().clearAll(old.fields);
      file.buffer().setNumber(old.fields[0], i + 1);
      file.buffer().setText(old.fields[1], "Topic " + std::to_string(i + 1));
      file.buffer().setText(gone, "kept aside");
      ASSERT_TRUE(file.add());
    }
  }
  // Reading only, the data tool converts nothing, and names the table it cannot open.
  ASSERT_EQ(location::writeLocation(".", db.location()), "");
  int status = 0;
  const std::string counted = run({"count", "Topic"}, &status);
  EXPECT_NE(counted.find("cannot open table Topic"), std::string::npos) << counted;
  EXPECT_EQ(status, 1);

  // A station of this version opens it, as the program does: through the upgrader, with its
  // backup before any conversion.
  ASSERT_TRUE(vrt::store::openData(db.location()).ok);
  dict::registerTablesForUpgrade();
  backup::ResetUpgradeBackupForTesting();
  backup::BackUpBeforeUpgrades(".");
  {
    vrt::DataFile current(*dict::table("Topic"));
    EXPECT_EQ(vrt::ds_FileOpen(current, vrt::OpenAccess::ReadWrite), 0) << vrt::threadError().text;
  }
  vrt::ds_SetBeforeConvert({});
  vrt::store::openData(DataLocation::files());

  // First a set of the server's data as it stood, the old table in its old structure.
  const auto sets = backup::listSets(backup::kBackupFolder);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].kind, "before-upgrade");
  const std::string kept = (fs::path(sets[0].path) / "Topic.vdb").string();
  EXPECT_EQ(vrt::store::metadataValues(kept, "version").at("Topic"), 0);
  EXPECT_EQ(sets[0].records("Topic"), 5);
  {
    vrt::DataFile file(old, kept);
    ASSERT_TRUE(file.open(vrt::OpenAccess::ReadOnly)) << vrt::errorMessage();
    file.setToStart(vrt::DataFile::kFileOrder);
    ASSERT_TRUE(file.next());
    EXPECT_EQ(file.buffer().text(gone), "kept aside");
  }
  // Then the server's table in today's structure, every record kept.
  vrt::DataFile now(*dict::table("Topic"), "", db.location());
  ASSERT_TRUE(now.open(vrt::OpenAccess::ReadOnly)) << vrt::errorMessage();
  EXPECT_EQ(now.records(), 5);
  now.setToStart(vrt::DataFile::kFileOrder);
  ASSERT_TRUE(now.next());
  EXPECT_EQ(now.buffer().text(now.schema().fields[1]), "Topic 1");
}
