#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/data_backup.h"
#include "runtime/data/errors.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/store/upgrader.h"
#include "backup_data.h"
#include "support/older_topic.h"
#include "support/backup_hooks.h"
#include "support/temp_dir.h"
#include "support/run_vesp_data.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/sample_data.h"

namespace fs = std::filesystem;
using namespace vesp::backup;
using namespace vesp::testing::backup_data;

namespace {

// Every table's record count, by file.
std::map<std::string, vrt::store::TableCounts> counts() {
  std::map<std::string, vrt::store::TableCounts> all;
  for (const auto& name : dataFileNames()) {
    if (!fs::exists(name) || name == kSettingsFile) continue;
    EXPECT_EQ(vrt::store::verifyDatabase(name, nullptr, &all[name]), "");
  }
  return all;
}

void changeOneByte(const std::string& path, std::int64_t at, char to = 0) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekg(at);
  char c = 0;
  f.get(c);
  f.seekp(at);
  f.put(to ? to : static_cast<char>(c ^ 0x01));
}

}  // namespace

TEST(Backup, TenThousandPrayerRequestsRoundTripAndTheRestoreCanBeUndone) {
  vtest::TempDir dir;
  makeData(10'000);
  const std::string before = exportTable("PrayerRequest");
  const std::string servicesBefore = exportTable("Service");
  const auto filesBefore = snapshot();
  const auto countsBefore = counts();

  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  auto sets = listSets(kBackupFolder);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].records("PrayerRequest"), 10'000);
  EXPECT_EQ(sets[0].files.size(), filesBefore.size());  // every table, and vsp.INI

  addPrayerRequests(25);
  const std::string changed = exportTable("PrayerRequest");
  ASSERT_NE(changed, before);

  RestoreOptions options;
  options.now = kMonday.addSecs(60);
  const Outcome restored = RestoreSet(".", made.setPath, options);
  ASSERT_TRUE(restored.ok) << restored.error;
  EXPECT_EQ(exportTable("PrayerRequest"), before);
  EXPECT_EQ(exportTable("Service"), servicesBefore);
  EXPECT_EQ(counts(), countsBefore);
  EXPECT_EQ(snapshot().at(kSettingsFile), filesBefore.at(kSettingsFile));

  // The files the restore replaced were kept as a set; restoring it undoes the restore.
  std::string why;
  auto aside = readSet(restored.setPath, why);
  ASSERT_TRUE(aside);
  EXPECT_EQ(aside->kind, "before-restore");
  EXPECT_EQ(aside->records("PrayerRequest"), 10'025);
  options.now = kMonday.addSecs(120);
  const Outcome undone = RestoreSet(".", restored.setPath, options);
  ASSERT_TRUE(undone.ok) << undone.error;
  EXPECT_EQ(exportTable("PrayerRequest"), changed);
}

TEST(Backup, ASetWithOneByteChangedIsRefusedAndTheDataIsLeftAlone) {
  vtest::TempDir dir;
  makeData(500);
  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  addPrayerRequests(3);
  const auto current = snapshot();

  const std::string file = (fs::path(made.setPath) / "PrayerRequest.vdb").string();
  changeOneByte(file, static_cast<std::int64_t>(fs::file_size(file)) / 2);
  RestoreOptions options;
  options.now = kMonday.addSecs(60);
  const Outcome o = RestoreSet(".", made.setPath, options);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("PrayerRequest.vdb"), std::string::npos) << o.error;
  EXPECT_EQ(snapshot(), current);
  EXPECT_EQ(listSets(kBackupFolder).size(), 1u);  // no set of the current files was made

  // A manifest that no longer matches its set, or none at all, is refused the same way.
  fs::remove(fs::path(made.setPath) / kManifestName);
  EXPECT_FALSE(RestoreSet(".", made.setPath, options).ok);
  EXPECT_FALSE(RestoreSet(".", "no-such-set", options).ok);
  EXPECT_EQ(snapshot(), current);
}

TEST(Backup, ADamagedSourceOrAnUnwritableFolderMakesNoSet) {
  vtest::TempDir dir;
  makeData(200);
  std::ofstream("blocked") << "a file where the folder should be";
  const Outcome blocked = BackUpNow(".", "blocked/sets", kMonday);
  EXPECT_FALSE(blocked.ok);
  EXPECT_NE(blocked.error.find("blocked"), std::string::npos) << blocked.error;

  // A damaged table file fails the copy's verification: the set is removed, not kept.
  changeOneByte("PrayerRequest.vdb", 4096, '\x7f');  // the second page's type
  const Outcome damaged = BackUpNow(".", kBackupFolder, kMonday);
  EXPECT_FALSE(damaged.ok);
  EXPECT_NE(damaged.error.find("PrayerRequest"), std::string::npos) << damaged.error;
  EXPECT_TRUE(listSets(kBackupFolder).empty());
  if (fs::exists(kBackupFolder)) {
    EXPECT_TRUE(fs::is_empty(kBackupFolder));
  }
}

TEST(Backup, RefusesASetFromANewerVersionAndWhileFilesAreOpen) {
  vtest::TempDir dir;
  makeData(100);
  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("Topic.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("UPDATE _vesp_meta SET value = 999 WHERE name = 'version'"), SQLITE_OK);
  }
  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  const auto current = snapshot();
  RestoreOptions options;
  options.now = kMonday.addSecs(60);
  Outcome o = RestoreSet(".", made.setPath, options);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("newer version"), std::string::npos) << o.error;
  EXPECT_EQ(snapshot(), current);

  options.filesInUse = [] { return std::string("the Prayer Requests browse"); };
  o = RestoreSet(".", made.setPath, options);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("the Prayer Requests browse"), std::string::npos) << o.error;
  EXPECT_EQ(snapshot(), current);
}

TEST(Backup, AWindowOpenedWhileTheSetIsCheckedStillStopsTheRestore) {
  vtest::TempDir dir;
  makeData(20);
  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  addPrayerRequests(3);
  const auto current = snapshot();
  int asked = 0;
  RestoreOptions options;
  options.now = kMonday.addSecs(60);
  options.filesInUse = [&asked] { return std::string(++asked == 1 ? "" : "the Praises browse"); };
  const Outcome o = RestoreSet(".", made.setPath, options);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("the Praises browse"), std::string::npos) << o.error;
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(snapshot(), current);
  EXPECT_EQ(listSets(kBackupFolder).size(), 1u);
  for (const auto& entry : fs::directory_iterator("."))
    EXPECT_EQ(entry.path().string().find(".restoring"), std::string::npos) << entry.path();
}

TEST(Backup, AnUpgradeIsPrecededByASetHoldingTheOldFile) {
  vtest::TempDir dir;
  vesp::dict::registerTablesForUpgrade();
  // The table as an older version declared it: one more field, since dropped.
  const vrt::TableSchema old = vtest::olderTopicSchema();
  const vrt::FieldDesc& gone = old.fields.back();
  {
    vrt::DataFile file(old);
    ASSERT_TRUE(file.create());
    ASSERT_TRUE(file.open());
    for (int i = 0; i < 5; ++i) {
      file.buffer().clearAll(old.fields);
      file.buffer().setNumber(old.fields[0], i + 1);
      file.buffer().setText(gone, "kept aside");
      ASSERT_TRUE(file.add());
    }
  }
  const std::string oldDigest = vrt::store::fileDigest("Topic.vdb");

  ResetUpgradeBackupForTesting();
  BackUpBeforeUpgrades(".");
  vrt::DataFile current(*vesp::dict::table("Topic"));
  EXPECT_EQ(vrt::ds_FileOpen(current, vrt::OpenAccess::ReadWrite), 0) << vrt::threadError().text;
  current.close();
  vrt::ds_SetBeforeConvert({});

  EXPECT_NE(vrt::store::fileDigest("Topic.vdb"), oldDigest);  // converted
  const auto sets = listSets(kBackupFolder);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].kind, "before-upgrade");
  const std::string kept = (fs::path(sets[0].path) / "Topic.vdb").string();
  EXPECT_EQ(vrt::store::metadataValues(kept, "version").at("Topic"), 0);
  EXPECT_EQ(sets[0].records("Topic"), 5);

  // Restoring that set brings the old file back and up through the upgrader again.
  RestoreOptions options;
  options.now = QDateTime::currentDateTime().addSecs(5);
  const Outcome o = RestoreSet(".", sets[0].path, options);
  ASSERT_TRUE(o.ok) << o.error;
  EXPECT_EQ(vrt::store::metadataValues("Topic.vdb", "version").at("Topic"), vesp::dict::table("Topic")->version);
  EXPECT_EQ(vrt::store::metadataValues("Topic.vdb", "records").at("Topic"), 5);
}

TEST(Backup, ASetThatCannotBeBroughtUpLeavesTheCurrentDataInPlace) {
  vtest::TempDir dir;
  vesp::dict::registerTablesForUpgrade();
  makeData(50);
  const auto current = snapshot();
  // An older file whose records the unique key of this version cannot take: two records
  // share a number, which the old structure had no key against.
  fs::create_directory("older");
  vrt::TableSchema old = *vesp::dict::table("Topic");
  old.keys.clear();
  old.version = 0;
  {
    vrt::DataFile file(old, "older/Topic.vdb");
    ASSERT_TRUE(file.create());
    ASSERT_TRUE(file.open());
    for (int i = 0; i < 2; ++i) {
      file.buffer().clearAll(old.fields);
      file.buffer().setNumber(old.fields[0], 7);
      ASSERT_TRUE(file.add());
    }
  }
  const Outcome made = BackUpNow("older", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;

  RestoreOptions options;
  options.now = kMonday.addSecs(60);
  const Outcome o = RestoreSet(".", made.setPath, options);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("could not be brought up"), std::string::npos) << o.error;
  EXPECT_NE(o.error.find("as it was"), std::string::npos) << o.error;
  EXPECT_EQ(snapshot(), current);
  EXPECT_EQ(listSets(kBackupFolder).size(), 1u);  // no set of the current files left behind
  for (const auto& entry : fs::directory_iterator("."))
    EXPECT_EQ(entry.path().string().find(".restoring"), std::string::npos) << entry.path();
}

TEST(BackupKeepRule, AYearOfDailySetsKeepsTheNewestTenAndOnePerMonth) {
  vtest::TempDir dir;
  QDateTime day(QDate(2025, 1, 1), QTime(8, 30));
  std::string error;
  auto makeSet = [&](const QDateTime& when) {
    BackupSet set;
    set.made = when;
    set.path = (fs::path(kBackupFolder) / setFolderName(when, "")).string();
    fs::create_directories(set.path);
    ASSERT_TRUE(writeManifest(set, error)) << error;
  };
  for (; day.date() <= QDate(2025, 12, 31); day = day.addDays(1)) {
    makeSet(day);
    pruneSets(kBackupFolder, day);
  }
  auto names = [] {
    std::vector<std::string> out;
    for (const auto& s : listSets(kBackupFolder)) out.push_back(s.made.date().toString(Qt::ISODate).toStdString());
    return out;
  };
  std::vector<std::string> expected;
  for (int d = 31; d >= 22; --d) expected.push_back("2025-12-" + std::to_string(d));
  for (int m = 11; m >= 1; --m) {
    const QDate last = QDate(2025, m, 1).addMonths(1).addDays(-1);
    expected.push_back(last.toString(Qt::ISODate).toStdString());
  }
  EXPECT_EQ(names(), expected);

  // Into the next year the oldest month falls out; folders that are not sets are never touched.
  fs::create_directories(fs::path(kBackupFolder) / "2020-01-01_000000");
  fs::create_directories(fs::path(kBackupFolder) / "my things");
  for (; day.date() <= QDate(2026, 1, 15); day = day.addDays(1)) {
    makeSet(day);
    pruneSets(kBackupFolder, day);
  }
  const auto after = names();
  ASSERT_EQ(after.size(), 21u);
  EXPECT_EQ(after.front(), "2026-01-15");
  EXPECT_EQ(after[10], "2025-12-31");
  EXPECT_EQ(after.back(), "2025-02-28");
  EXPECT_TRUE(fs::exists(fs::path(kBackupFolder) / "my things"));
  EXPECT_TRUE(fs::exists(fs::path(kBackupFolder) / "2020-01-01_000000"));
}

TEST(BackupAtStartup, OneSetADayAndNoneWithoutData) {
  vtest::TempDir dir;
  Outcome o = StartupBackup(".", kMonday);
  EXPECT_TRUE(o.ok && o.skipped);
  EXPECT_FALSE(fs::exists(kBackupFolder));

  makeData(50);
  o = StartupBackup(".", kMonday);
  ASSERT_TRUE(o.ok) << o.error;
  EXPECT_FALSE(o.skipped);
  o = StartupBackup(".", kMonday.addSecs(3600));
  EXPECT_TRUE(o.ok && o.skipped);
  o = StartupBackup(".", kMonday.addDays(1));
  EXPECT_TRUE(o.ok && !o.skipped);
  EXPECT_EQ(listSets(kBackupFolder).size(), 2u);
}

TEST(BackupCommands, BackUpAndRestoreOnDemandWithClearFailures) {
  vtest::TempDir dir;
  int status = -1;
  std::string text = run({"backup"}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(text.find("no data files"), std::string::npos) << text;

  makeData(300);
  text = run({"backup", "offsite"}, &status);
  ASSERT_EQ(status, 0) << text;
  const auto sets = listSets("offsite");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_NE(text.find(sets[0].path), std::string::npos);

  text = run({"restore", "offsite/none"}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(text.find("not a complete backup set"), std::string::npos) << text;
  text = run({"restore", sets[0].path}, &status);
  EXPECT_EQ(status, 0) << text;
  EXPECT_NE(text.find("before-restore"), std::string::npos) << text;
  EXPECT_EQ(run({"restore"}, &status).find("usage"), 0u);
  EXPECT_EQ(status, 2);
}
