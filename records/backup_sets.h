#pragma once
// Backup sets on disk: one folder per set under a backups folder, named by the moment it was
// made ("2026-12-09_151700", with "-before-restore" or "-before-upgrade" when it was made
// for one), holding copies of the data files and, written last, a manifest that lists
// every file with its size and the record count of each table in it. A folder without a
// manifest is not a set.
#include <QDateTime>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/store/backup_copy.h"

namespace vesp::backup {

inline constexpr const char* kBackupFolder = "backups";
inline constexpr const char* kManifestName = "manifest.txt";

// What a data file was when a set copied it: SQLite's change counter from the file's header,
// its size and its modification time. Unknown in sets made before it was kept, and for files
// that are not databases.
struct SourceState {
  std::int64_t counter = -1, bytes = -1;
  std::int64_t modified = -1;  // nanoseconds since the epoch
  bool known() const { return counter >= 0 && bytes >= 0 && modified >= 0; }
  bool operator==(const SourceState&) const = default;
};

struct SetFile {
  std::string name;         // as in the data folder ("PrayerRequest.vdb", "vsp.INI")
  std::int64_t bytes = 0;
  std::string digest;       // of the copy's bytes
  bool database = true;     // an SQLite file; otherwise copied as it is
  bool counted = true;      // counts were taken (false for a damaged file set aside)
  vrt::store::TableCounts counts;
  SourceState source;       // of the data file this copy was made from
  bool carried = false;     // taken unchanged from an older set instead of copied afresh
};

struct BackupSet {
  std::string path;         // the set's folder
  QDateTime made;
  std::string kind;         // "", "before-restore", "before-upgrade"
  std::vector<SetFile> files;
  std::int64_t bytes() const;
  // Records of a table in the set's files, or -1.
  std::int64_t records(const std::string& table) const;
};

// The folder name for a set made at `made`.
std::string setFolderName(const QDateTime& made, const std::string& kind);

bool writeManifest(const BackupSet& set, std::string& error);
// The set in `folder`; nullopt (with the reason) when it is not a complete set.
std::optional<BackupSet> readSet(const std::string& folder, std::string& error);
// Every complete set in `backupFolder`, newest first.
std::vector<BackupSet> listSets(const std::string& backupFolder);

// The keep rule: the newest 10 sets, and the newest set of each of the 12 calendar months up
// to and including `now`'s, stay; the folders of the others are returned, oldest first.
std::vector<std::string> setsToRemove(const std::vector<BackupSet>& newestFirst, const QDateTime& now);
// Applies the keep rule in `backupFolder`. Returns the folders removed.
std::vector<std::string> pruneSets(const std::string& backupFolder, const QDateTime& now);

}  // namespace vesp::backup
