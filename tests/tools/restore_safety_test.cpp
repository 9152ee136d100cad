// A restore as an attacker and a power cut would try it: crafted sets, a restore killed at
// every step, and a data file left with a hot journal by a killed commit.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/data_backup.h"
#include "records/data_restore.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/store/upgrader.h"
#include "support/backup_hooks.h"
#include "support/run_vesp_data.h"
#include "backup_data.h"
#include "support/temp_dir.h"
#include "tools/vesp_data/sample_data.h"

namespace fs = std::filesystem;
using namespace vesp::backup;
using namespace vesp::testing::backup_data;

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool anyBeforeRestoreSet() {
  for (const auto& set : listSets(kBackupFolder))
    if (set.kind == "before-restore") return true;
  return false;
}

// A copy of `set` in `folder` whose manifest lines went through `edit`.
std::string craft(const std::string& set, const std::string& folder,
                  const std::function<void(std::vector<std::string>&)>& edit) {
  fs::copy(set, folder, fs::copy_options::recursive);
  std::vector<std::string> lines;
  {
    std::ifstream in(fs::path(folder) / kManifestName);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  edit(lines);
  std::ofstream out(fs::path(folder) / kManifestName, std::ios::trunc);
  for (const auto& l : lines) out << l << "\n";
  return folder;
}

// Renames a file's entry (and its count lines) in a manifest.
void renameEntry(std::vector<std::string>& lines, const std::string& from, const std::string& to) {
  for (auto& l : lines) {
    for (const std::string head : {"file ", "count "})
      if (l.rfind(head + from + " ", 0) == 0) l = head + to + l.substr(head.size() + from.size());
  }
}

void dropEntry(std::vector<std::string>& lines, const std::string& name) {
  std::erase_if(lines, [&](const std::string& l) {
    return l.rfind("file " + name + " ", 0) == 0 || l.rfind("count " + name + " ", 0) == 0;
  });
}

// A digest of `path` and its size in the manifest's words, for an entry of plain bytes.
std::string plainEntry(const std::string& name, const fs::path& path) {
  return "file " + name + " " + std::to_string(fs::file_size(path)) + " plain unchecked " +
         vrt::store::fileDigest(path.string());
}

}  // namespace

// Each crafted set is refused before anything moves, naming the entry that is wrong; the
// files beside the data folder and the data itself stay as they were.
TEST(RestoreSafety, ACraftedSetIsRefusedNamingTheWrongEntry) {
  vtest::TempDir dir;
  fs::create_directory("data");
  fs::current_path("data");
  makeData(40);
  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  std::ofstream("../victim.txt") << "the church's own notes";
  const std::string absoluteVictim = (dir.path() / "absolute-victim.txt").string();
  std::ofstream(absoluteVictim) << "more notes";
  std::ofstream("notes.txt") << "a file of the user's beside the data";
  const auto data = snapshot();

  struct Case {
    std::string why, named;
    std::function<void(const std::string& set, std::vector<std::string>&)> edit;
  };
  const std::vector<Case> cases = {
      {"a path out of the data folder", "../victim.txt",
       [](const std::string& set, std::vector<std::string>& lines) {
         // The bytes would come from the backups folder and land beside the data folder.
         std::ofstream(fs::path(set).parent_path() / "victim.txt") << "overwritten";
         lines.push_back(plainEntry("../victim.txt", fs::path(set) / "../victim.txt"));
       }},
      {"an absolute path", absoluteVictim,
       [&](const std::string&, std::vector<std::string>& lines) {
         lines.push_back(plainEntry(absoluteVictim, absoluteVictim));
       }},
      {"a path with a folder", "sub/Topic.vdb",
       [](const std::string& set, std::vector<std::string>& lines) {
         fs::create_directory(fs::path(set) / "sub");
         fs::copy_file(fs::path(set) / "Topic.vdb", fs::path(set) / "sub/Topic.vdb");
         renameEntry(lines, "Topic.vdb", "sub/Topic.vdb");
       }},
      {"a name not among the data files", "notes.txt",
       [](const std::string& set, std::vector<std::string>& lines) {
         std::ofstream(fs::path(set) / "notes.txt") << "overwritten";
         lines.push_back(plainEntry("notes.txt", fs::path(set) / "notes.txt"));
       }},
      {"a set without the Service table", "Service.vdb",
       [](const std::string& set, std::vector<std::string>& lines) {
         fs::remove(fs::path(set) / "Service.vdb");
         dropEntry(lines, "Service.vdb");
       }},
      {"a table's file passed off as plain bytes", "Service.vdb",
       [](const std::string&, std::vector<std::string>& lines) {
         for (auto& l : lines)
           if (l.rfind("file Service.vdb ", 0) == 0) l.replace(l.find(" database "), 10, " plain ");
       }},
      {"a symbolic link in the set", "Topic.vdb",
       [](const std::string& set, std::vector<std::string>&) {
         const fs::path file = fs::path(set) / "Topic.vdb", moved = fs::path(set).parent_path() / "elsewhere.vdb";
         fs::rename(file, moved);
         fs::create_symlink(fs::absolute(moved), file);
       }},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string set = (fs::path(kBackupFolder) / ("crafted-" + std::to_string(++n))).string();
    craft(made.setPath, set, [&](std::vector<std::string>& lines) { c.edit(set, lines); });
    int status = 0;
    const std::string text = run({"restore", set}, &status);
    EXPECT_EQ(status, 1) << text;
    EXPECT_NE(text.find("\"" + c.named + "\""), std::string::npos) << text;
    EXPECT_NE(text.find("nothing was changed"), std::string::npos) << text;
    EXPECT_EQ(snapshot(), data);
    EXPECT_EQ(readFile("../victim.txt"), "the church's own notes");
    EXPECT_EQ(readFile(absoluteVictim), "more notes");
    EXPECT_EQ(readFile("notes.txt"), "a file of the user's beside the data");
    EXPECT_FALSE(anyBeforeRestoreSet());
    for (const auto& entry : fs::directory_iterator("."))
      EXPECT_EQ(entry.path().string().find(".restoring"), std::string::npos) << entry.path();
  }
  // The untouched set still restores: the checks refuse what is wrong, not sets as such.
  int status = 0;
  EXPECT_NE(run({"restore", made.setPath}, &status).find("restored"), std::string::npos);
  EXPECT_EQ(status, 0);
}

namespace {

// Runs a restore of `set` in a child process that is killed just before its step number
// `killAt` (counted from 1); the child's exit status, 0 when the restore ran through.
int restoreKilledAt(const std::string& set, int killAt, std::vector<std::string>* steps = nullptr) {
  int fds[2];
  if (steps && ::pipe(fds) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    int taken = 0;
    setRestoreStepHookForTesting([&](const std::string& step) {
      if (steps) {
        const std::string line = step + "\n";
        [[maybe_unused]] auto w = ::write(fds[1], line.data(), line.size());
      }
      if (++taken == killAt) ::_exit(99);
    });
    RestoreOptions options;
    options.now = kMonday.addSecs(60);
    const Outcome o = RestoreSet(".", set, options);
    ::_exit(o.ok ? 0 : 1);
  }
  if (steps) {
    ::close(fds[1]);
    std::string all;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) all.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    std::istringstream lines(all);
    for (std::string line; std::getline(lines, line);) steps->push_back(line);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// A restore killed at each of its steps in turn: the next vesp-data command finds either
// the data as it was or the set's, every table there and sound, and a finished restore
// can still be undone from its before-restore set.
TEST(RestoreSafety, ARestoreKilledAtAnyStepIsFinishedOrUndoneByTheNextCommand) {
  vtest::TempDir dir;
  fs::create_directory("template");
  fs::current_path("template");
  makeData(30);
  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  const std::string restoredRequests = exportTable("PrayerRequest");
  addPrayerRequests(4);
  const std::string oldRequests = exportTable("PrayerRequest");
  const auto oldFiles = snapshot();
  const std::string set = made.setPath;  // relative: the same in every copy
  fs::current_path("..");

  // The steps of one whole restore, seen from outside.
  std::vector<std::string> steps;
  fs::copy("template", "whole", fs::copy_options::recursive);
  fs::current_path("whole");
  ASSERT_EQ(restoreKilledAt(set, 0, &steps), 0);
  fs::current_path("..");
  ASSERT_GT(steps.size(), 20u);

  int undone = 0, finished = 0;
  for (int k = 1; k <= static_cast<int>(steps.size()); ++k) {
    SCOPED_TRACE("killed before step " + std::to_string(k) + ": " + steps[static_cast<std::size_t>(k - 1)]);
    const std::string folder = "killed-" + std::to_string(k);
    fs::copy("template", folder, fs::copy_options::recursive);
    fs::current_path(folder);
    ASSERT_EQ(restoreKilledAt(set, k), 99);

    int status = 0;
    const std::string text = run({"count", "PrayerRequest"}, &status);
    EXPECT_EQ(status, 0) << text;
    EXPECT_FALSE(fs::exists(kRestoreJournal));
    for (const auto& entry : fs::directory_iterator("."))
      EXPECT_EQ(entry.path().string().find(kStagedSuffix), std::string::npos) << entry.path();
    for (const auto& table : vesp::dict::tables()) {
      const std::string file = table.label + ".vdb";
      ASSERT_TRUE(fs::exists(file)) << file;
      vrt::store::TableCounts counts;
      EXPECT_EQ(vrt::store::verifyDatabase(file, nullptr, &counts), "");
      EXPECT_TRUE(counts.count(table.label)) << file;
    }
    const std::string now = exportTable("PrayerRequest");
    if (now == oldRequests) {
      ++undone;
      EXPECT_EQ(snapshot(), oldFiles);
      EXPECT_FALSE(anyBeforeRestoreSet());
    } else {
      ++finished;
      EXPECT_EQ(now, restoredRequests);
      EXPECT_NE(text.find("finished"), std::string::npos) << text;
      // The undo: the before-restore set is whole and brings the old data back (a whole
      // restore each time, so tried on every fourth).
      std::string asidePath;
      for (const auto& s : listSets(kBackupFolder))
        if (s.kind == "before-restore") asidePath = s.path;
      ASSERT_FALSE(asidePath.empty());
      if (finished % 4 == 1) {
        const std::string undo = run({"restore", asidePath}, &status);
        EXPECT_EQ(status, 0) << undo;
        EXPECT_EQ(exportTable("PrayerRequest"), oldRequests);
      }
    }
    fs::current_path("..");
    fs::remove_all(folder);
  }
  EXPECT_GT(undone, 5);
  EXPECT_GT(finished, 5);
}

namespace {

// A process killed halfway through deleting every record of `table`, its changes spilled
// into the file: the file is left with a hot journal.
void crashMidCommit(const std::string& table = "PrayerRequest") {
  const pid_t child = ::fork();
  if (child == 0) {
    vrt::sql::Database db;
    if (db.open(table + ".vdb", false, false) != SQLITE_OK) ::_exit(1);
    // Far more pages than the cache holds: they spill into the file, after the journal is
    // synced with its header, as in a large commit.
    db.exec("PRAGMA cache_size=10; BEGIN; DELETE FROM \"" + table + "\"; CREATE TABLE filler(x);"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
            "INSERT INTO filler SELECT randomblob(4000) FROM n");
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_GT(fs::file_size(table + ".vdb-journal"), 0u);
  ASSERT_NE(readFile(table + ".vdb-journal")[0], 0) << "the journal's header is written: it is hot";
}

}  // namespace

TEST(HotJournal, EveryReadingCommandAndTheBackupRollItBack) {
  vtest::TempDir dir;
  makeData(300);
  struct Case {
    std::string table;  // the file the crash leaves with a journal, one the command reads
    std::vector<std::string> words;
  };
  const std::vector<Case> cases = {
      {"PrayerRequest", {"count", "PrayerRequest"}},
      {"PrayerRequest", {"export", "PrayerRequest"}},
      {"PrayerRequest", {"query", "PrayerRequest", "--filter", "PRA:DateAnswered = 0"}},
      {"ServiceElement", {"usage", "--from", "2000-01-01", "--to", "2100-12-31"}},
      {"PrayerRequest", {"backup"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words[0]);
    const std::string before = exportTable(c.table);
    crashMidCommit(c.table);
    int status = 0;
    const std::string text = run(c.words, &status);
    EXPECT_EQ(status, 0) << text;
    EXPECT_EQ(text.find("readonly"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(c.table + ".vdb-journal"));
    EXPECT_EQ(exportTable(c.table), before);
  }
  EXPECT_EQ(run({"count", "PrayerRequest"}), "300\n");

  // The program's start-up backup likewise; no set ever holds a journal.
  crashMidCommit();
  const Outcome o = StartupBackup(".", kMonday.addDays(1));
  ASSERT_TRUE(o.ok) << o.error;
  for (const auto& set : listSets(kBackupFolder)) {
    EXPECT_EQ(set.records("PrayerRequest"), 300);
    for (const auto& entry : fs::directory_iterator(set.path))
      EXPECT_EQ(entry.path().string().find("-journal"), std::string::npos) << entry.path();
  }
  EXPECT_EQ(listSets(kBackupFolder).size(), 2u);
}

// A restore over a file with a hot journal rolls the journal back first: moved aside on its
// own, it would be played into the restored file.
TEST(HotJournal, ARestoreSettlesItBeforeMovingTheFileAside) {
  vtest::TempDir dir;
  makeData(50);
  const Outcome made = BackUpNow(".", kBackupFolder, kMonday);
  ASSERT_TRUE(made.ok) << made.error;
  addPrayerRequests(2);
  const std::string changed = exportTable("PrayerRequest");
  crashMidCommit();
  int status = 0;
  const std::string text = run({"restore", made.setPath}, &status);
  ASSERT_EQ(status, 0) << text;
  EXPECT_EQ(run({"count", "PrayerRequest"}), "50\n");
  EXPECT_FALSE(fs::exists("PrayerRequest.vdb-journal"));
  std::string aside;
  for (const auto& set : listSets(kBackupFolder))
    if (set.kind == "before-restore") aside = set.path;
  ASSERT_FALSE(aside.empty());
  EXPECT_FALSE(fs::exists(fs::path(aside) / "PrayerRequest.vdb-journal"));
  EXPECT_EQ(run({"restore", aside}, &status).find("restored"), 0u);
  EXPECT_EQ(exportTable("PrayerRequest"), changed);
}

// A backup is whole or it fails: a table that cannot be read is a failure, a table never
// used is kept empty, so that every set can be restored.
TEST(BackupTruth, AnUnreadableTableFailsAndAnUnusedOneIsKeptEmpty) {
  vtest::TempDir dir;
  makeData(20);
  fs::rename("Service.vdb", "Service.vdb.away");
  fs::create_directory("Service.vdb");
  int status = 0;
  std::string text = run({"backup"}, &status);
  EXPECT_EQ(status, 1) << text;
  EXPECT_NE(text.find("Service"), std::string::npos) << text;
  EXPECT_EQ(text.find("verified"), std::string::npos) << text;
  EXPECT_TRUE(listSets(kBackupFolder).empty());
  fs::remove("Service.vdb");
  fs::create_symlink("nowhere.vdb", "Service.vdb");
  text = run({"backup"}, &status);
  EXPECT_EQ(status, 1) << text;
  EXPECT_NE(text.find("Service"), std::string::npos) << text;
  EXPECT_TRUE(listSets(kBackupFolder).empty());

  // Never made: the set holds the table empty, and restoring it makes the file.
  fs::remove("Service.vdb");
  text = run({"backup"}, &status);
  ASSERT_EQ(status, 0) << text;
  const auto sets = listSets(kBackupFolder);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].records("Service"), 0);
  fs::rename("Service.vdb.away", "Service.vdb");
  EXPECT_NE(run({"count", "Service"}), "0\n");
  text = run({"restore", sets[0].path}, &status);
  EXPECT_EQ(status, 0) << text;
  EXPECT_EQ(run({"count", "Service"}), "0\n");
}

TEST(BackupTruth, RepairInAFolderThatCannotBeWrittenSaysSo) {
  vtest::TempDir dir;
  makeData(100);
  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("PrayerRequest.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DROP INDEX \"PrayerRequest_DateStartedKey\""), SQLITE_OK);
  }
  const auto damaged = snapshot();
  fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  int status = 0;
  const std::string text = run({"check", "--repair"}, &status);
  fs::permissions(".", fs::perms::owner_all);
  EXPECT_EQ(status, 1) << text;
  EXPECT_NE(text.find("cannot be written"), std::string::npos) << text;
  EXPECT_EQ(text.find("damaged file"), std::string::npos) << text;
  EXPECT_EQ(snapshot(), damaged);
  const std::string again = run({"check", "--repair"}, &status);
  EXPECT_EQ(status, 0) << again;
  EXPECT_NE(again.find("keys rebuilt"), std::string::npos) << again;
}
