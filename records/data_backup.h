#pragma once
// Backing up and restoring the program's data files (every table's file, "QUERIES.TPS" and
// "vsp.INI") as verified sets (records/backup_sets.h). Each call is one step a menu item or
// vesp-data can take: it returns what happened as a sentence for the user, and reports
// progress through a callback. Bad sets, full disks and read-only folders are refused with
// the current data left exactly as it was.
#include <QDateTime>

#include <functional>
#include <string>
#include <vector>

#include "records/backup_reuse.h"
#include "records/backup_sets.h"

namespace vesp::backup {

inline constexpr const char* kQueriesFile = "QUERIES.TPS";
inline constexpr const char* kSettingsFile = "vsp.INI";

// The file being worked on, and how far through the set's files the work is.
using Progress = std::function<void(const std::string& file, int done, int total)>;

struct Outcome {
  bool ok = false;
  std::string error;     // what went wrong, for the user
  std::string setPath;   // the set made (a backup) or the set the old files went to (a restore)
  bool skipped = false;  // nothing to do (a set made today already, no data yet)
};

// The data files this program keeps, by name in the data folder.
std::vector<std::string> dataFileNames();

// Makes a new set in `backupFolder` (created when missing). While the data lives on a
// server (runtime/store/data_location.h), a set of files made from every table there,
// checked against it, and the settings file of `dataFolder`. Otherwise of every data file in
// `dataFolder` that exists: the files changed since the newest set there are copied and the
// copies verified, the others taken from that set as records/backup_reuse.h says (every file
// is copied with Checking::Full, and once a month). A set that fails is removed.
Outcome BackUpNow(const std::string& dataFolder, const std::string& backupFolder, const QDateTime& now,
                  const std::string& kind = {}, const Progress& progress = {},
                  Checking checking = Checking::Changed);

// At start-up: one set a day in the data folder's backups folder, then the keep rule. When
// nothing changed it only links the newest set's files, whatever the month.
Outcome StartupBackup(const std::string& dataFolder, const QDateTime& now);

struct RestoreOptions {
  QDateTime now;
  Progress progress;
  // What has the data files open in this process ("the Prayer Requests browse"), or "".
  std::function<std::string()> filesInUse;
  // Called once the set has been checked and copied in beside the current files, just before
  // they are replaced: the moment to write out what the program still holds of them.
  std::function<void()> beforeReplacing;
};

// Refused while the data lives on a server: a set goes onto a server by copying it to an
// empty database (vesp-data copy --to-server). Otherwise verifies `setFolder`, refuses it when its manifest names anything but the program's own
// data files or lacks a table (records/set_checks.h), when it is damaged or made by a newer
// structure version, or while another process has the data folder open
// (records/data_lock.h); brings its tables of older versions up through the upgrader, moves
// the current files aside into a set of their own (in the data folder's backups folder;
// restoring that set undoes the restore) and puts the set's files in place, through a
// journal that lets a restore cut off at any moment be finished or undone
// (records/data_restore.h). Defined in data_restore.cpp.
Outcome RestoreSet(const std::string& dataFolder, const std::string& setFolder, const RestoreOptions& options);

// Makes every structure conversion of the upgrader wait for a set of the files in
// `dataFolder` as they were, once per process; a failed backup stops the conversion.
void BackUpBeforeUpgrades(const std::string& dataFolder);

}  // namespace vesp::backup
