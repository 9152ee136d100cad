// Backup sets that take the files unchanged since the newest set from it, by link.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/data_backup.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/upgrader.h"
#include "support/run_vesp_data.h"
#include "backup_data.h"
#include "support/temp_dir.h"
#include "tools/vesp_data/sample_data.h"

namespace fs = std::filesystem;
using namespace vesp::backup;
using namespace vesp::testing::backup_data;

namespace {

constexpr const char* kRequests = "PrayerRequest.vdb";

void addPrayerRequest(int number) {
  vesp::dict::registerTablesForUpgrade();
  vrt::DataFile file(*vesp::dict::table("PrayerRequest"));
  ASSERT_EQ(vrt::ds_FileOpen(file, vrt::OpenAccess::ReadWrite), 0);
  const auto& fields = file.schema().fields;
  file.buffer().clearAll(fields);
  file.buffer().setNumber(fields[static_cast<std::size_t>(file.schema().fieldIndex("REQUESTNUMBER"))], number);
  file.buffer().setText(fields[static_cast<std::size_t>(file.schema().fieldIndex("REQUEST"))], "added later");
  ASSERT_TRUE(file.add());
  file.close();
}

BackupSet backUp(const QDateTime& when, Checking checking = Checking::Changed) {
  const Outcome o = BackUpNow(".", kBackupFolder, when, {}, {}, checking);
  EXPECT_TRUE(o.ok) << o.error;
  std::string why;
  auto set = readSet(o.setPath, why);
  EXPECT_TRUE(set) << why;
  return set ? *set : BackupSet{};
}

const SetFile& entry(const BackupSet& set, const std::string& name) {
  for (const auto& f : set.files)
    if (f.name == name) return f;
  static const SetFile none;
  ADD_FAILURE() << name << " is not in " << set.path;
  return none;
}

// The files of `set` that were taken from an older set.
std::set<std::string> carried(const BackupSet& set) {
  std::set<std::string> names;
  for (const auto& f : set.files)
    if (f.carried) names.insert(f.name);
  return names;
}

std::set<std::string> databases(const BackupSet& set) {
  std::set<std::string> names;
  for (const auto& f : set.files)
    if (f.database) names.insert(f.name);
  return names;
}

bool sameBytesOnDisk(const BackupSet& a, const BackupSet& b, const std::string& name) {
  return fs::equivalent(fs::path(a.path) / name, fs::path(b.path) / name);
}

std::string exportRequests() {
  const auto outcome = vesp::testing::runVespData({"export", "PrayerRequest"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  return outcome.out;
}

}  // namespace

TEST(BackupReuse, AnUnchangedFolderIsLinkedAndOneChangedTableIsCopiedAlone) {
  vtest::TempDir dir;
  makeData(300);
  const BackupSet first = backUp(kMonday);
  EXPECT_TRUE(carried(first).empty());

  // Nothing changed: every table's file is the first set's copy, digest and counts carried.
  const BackupSet second = backUp(kMonday.addSecs(60));
  EXPECT_EQ(carried(second), databases(second));
  EXPECT_EQ(second.files.size(), first.files.size());
  for (const auto& name : databases(second)) {
    EXPECT_TRUE(sameBytesOnDisk(first, second, name)) << name;
    EXPECT_EQ(entry(second, name).digest, entry(first, name).digest);
    EXPECT_EQ(entry(second, name).counts, entry(first, name).counts);
  }
  EXPECT_FALSE(sameBytesOnDisk(first, second, "vsp.INI"));  // small enough to copy every time

  // One request more: that table alone is copied and checked afresh.
  addPrayerRequest(900001);
  const BackupSet third = backUp(kMonday.addSecs(120));
  std::set<std::string> others = databases(third);
  others.erase(kRequests);
  EXPECT_EQ(carried(third), others);
  EXPECT_FALSE(sameBytesOnDisk(second, third, kRequests));
  EXPECT_EQ(third.records("PrayerRequest"), 301);
  EXPECT_EQ(vrt::store::fileDigest((fs::path(third.path) / kRequests).string()), entry(third, kRequests).digest);
}

TEST(BackupReuse, DeletingOlderSetsLeavesTheNewestWhole) {
  vtest::TempDir dir;
  makeData(200);
  const BackupSet first = backUp(kMonday);
  const BackupSet second = backUp(kMonday.addSecs(60));
  addPrayerRequest(900001);
  const BackupSet third = backUp(kMonday.addSecs(120));
  const std::string expected = exportRequests();
  fs::remove_all(first.path);
  fs::remove_all(second.path);

  addPrayerRequest(900002);
  RestoreOptions options;
  options.now = kMonday.addSecs(180);
  const Outcome restored = RestoreSet(".", third.path, options);
  ASSERT_TRUE(restored.ok) << restored.error;  // the restore checks every file of the set
  EXPECT_EQ(exportRequests(), expected);
}

TEST(BackupReuse, AChangeIsSeenWhicheverOfCounterSizeOrTimeShowsIt) {
  vtest::TempDir dir;
  makeData(200);
  BackupSet last = backUp(kMonday);
  int minute = 0;
  auto next = [&] {
    last = backUp(kMonday.addSecs(60 * ++minute));
    return carried(last).count(kRequests) == 0;
  };

  // A commit, with the file's time put back as it was: SQLite's change counter still tells.
  const auto time = fs::last_write_time(kRequests);
  addPrayerRequest(900001);
  fs::last_write_time(kRequests, time);
  EXPECT_TRUE(next());
  EXPECT_EQ(last.records("PrayerRequest"), 201);
  EXPECT_FALSE(next());

  // Only the time moved (another program wrote the same bytes back).
  fs::last_write_time(kRequests, fs::last_write_time(kRequests) + std::chrono::seconds(1));
  EXPECT_TRUE(next());
  EXPECT_FALSE(next());

  // A journal beside the file: what SQLite reads may not be the file's own bytes.
  std::ofstream(std::string(kRequests) + "-journal").close();
  EXPECT_TRUE(next());
  fs::remove(std::string(kRequests) + "-journal");
  next();  // that copy's source was not known: taken afresh once more

  // The newest set's copy was cut short where it lies: copied again, not carried on.
  EXPECT_FALSE(next());
  const fs::path copy = fs::path(last.path) / kRequests;
  fs::resize_file(copy, fs::file_size(copy) - 4096);
  EXPECT_TRUE(next());
  EXPECT_EQ(last.records("PrayerRequest"), 201);
}

TEST(BackupReuse, EveryFileIsCheckedAgainWhenAskedAndOnceAMonth) {
  vtest::TempDir dir;
  makeData(100);
  backUp(kMonday);
  EXPECT_TRUE(carried(backUp(kMonday.addSecs(60), Checking::Full)).empty());
  EXPECT_FALSE(carried(backUp(kMonday.addSecs(120))).empty());

  // The month's first set copies every file, even unchanged.
  const QDateTime april(QDate(2026, 4, 1), QTime(9, 0));
  EXPECT_TRUE(carried(backUp(april)).empty());
  EXPECT_FALSE(carried(backUp(april.addSecs(60))).empty());

  // At start-up the month's check does not wait on an unchanged folder; it comes with the
  // first start-up that has something to copy.
  const QDateTime may(QDate(2026, 5, 4), QTime(9, 0));
  ASSERT_TRUE(StartupBackup(".", may).ok);
  EXPECT_EQ(carried(listSets(kBackupFolder).front()), databases(listSets(kBackupFolder).front()));
  addPrayerRequest(900001);
  ASSERT_TRUE(StartupBackup(".", may.addDays(1)).ok);
  EXPECT_TRUE(carried(listSets(kBackupFolder).front()).empty());
  ASSERT_TRUE(StartupBackup(".", may.addDays(2)).ok);
  EXPECT_EQ(carried(listSets(kBackupFolder).front()), databases(listSets(kBackupFolder).front()));

  // The command line's --full.
  const auto outcome = vesp::testing::runVespData({"backup", "--full"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_TRUE(carried(listSets(kBackupFolder).front()).empty());
}

TEST(BackupReuse, ASetOfFilesARestoreReplacedIsNotTakenFrom) {
  vtest::TempDir dir;
  makeData(100);
  const BackupSet first = backUp(kMonday);
  addPrayerRequest(900001);
  RestoreOptions options;
  options.now = kMonday.addSecs(60);
  const Outcome restored = RestoreSet(".", first.path, options);
  ASSERT_TRUE(restored.ok) << restored.error;
  // The newest set holds the files the restore replaced, unchecked: the next set copies
  // from the data folder, or takes from a set a backup made.
  const BackupSet next = backUp(kMonday.addSecs(120));
  for (const auto& f : next.files)
    if (f.carried) {
      EXPECT_FALSE(fs::equivalent(fs::path(restored.setPath) / f.name, fs::path(next.path) / f.name)) << f.name;
    }
  EXPECT_EQ(next.records("PrayerRequest"), 100);
}

TEST(BackupReuse, ASetWithoutSourceStatesStillRestoresAndIsNotTakenFrom) {
  vtest::TempDir dir;
  makeData(100);
  const BackupSet first = backUp(kMonday);
  // The manifest as sets were written before files were carried.
  const fs::path manifest = fs::path(first.path) / kManifestName;
  std::ifstream in(manifest);
  std::string lines, line;
  while (std::getline(in, line)) {
    if (const auto at = line.find(" source="); at != std::string::npos) line.erase(at);
    lines += line + "\n";
  }
  in.close();
  std::ofstream(manifest, std::ios::trunc) << lines;
  ASSERT_EQ(lines.find("source="), std::string::npos);

  EXPECT_TRUE(carried(backUp(kMonday.addSecs(60))).empty());
  addPrayerRequest(900001);
  RestoreOptions options;
  options.now = kMonday.addSecs(120);
  const Outcome restored = RestoreSet(".", first.path, options);
  ASSERT_TRUE(restored.ok) << restored.error;
  const auto outcome = vesp::testing::runVespData({"count", "PrayerRequest"});
  EXPECT_NE(outcome.out.find("100"), std::string::npos) << outcome.out;
}
