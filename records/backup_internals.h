#pragma once
// The steps the backup and the restore share, for records/ only: not part of what a menu
// item or vesp-data calls.
#include <QDateTime>

#include <filesystem>
#include <future>
#include <string>

#include "records/data_backup.h"

namespace vesp::backup {

Outcome failed(std::string error);
// Whether the data file `name` is an SQLite file (all but the settings file).
bool isDatabase(const std::string& name);
bool isFile(const std::filesystem::path& p);
// The digest of a file, taken on a thread of its own.
std::future<std::string> digestBeside(const std::filesystem::path& path);
// Copies one data file to `to` (which must not exist), syncs it and checks the copy
// against its source; fills in `file`'s size, digest and counts. "" or what went wrong.
std::string copyAndVerify(const std::filesystem::path& from, const std::filesystem::path& to, SetFile& file);
// A new, empty folder for a set in `backupFolder`; "" (with the reason) when none can be made.
std::string makeSetFolder(const std::string& backupFolder, const QDateTime& now, const std::string& kind,
                          std::string& error);

// A new set being written: its folder is made at once; Discard removes it with whatever
// was written, Finish writes the manifest of `files` and returns the finished set.
class SetWriter {
 public:
  SetWriter(const std::string& backupFolder, const QDateTime& now, const std::string& kind);
  // Empty when no folder could be made; Failure() then says why.
  const std::string& path() const { return set_.path; }
  Outcome Failure() const { return failed(error_); }
  Outcome Discard(const std::string& why);
  Outcome Finish(std::vector<SetFile> files);

 private:
  BackupSet set_;
  std::string error_;
};

// BackUpNow while the data lives on a server: every table copied from the server into a
// new set of files, checked against the server's counts and digests and as a set of the
// files is checked; the settings file from `dataFolder`. Defined in server_backup.cpp.
Outcome BackUpServer(const std::string& dataFolder, const std::string& backupFolder, const QDateTime& now,
                     const std::string& kind, const Progress& progress);

// While one lives, structure conversions make no backup first (the restore's set holds
// the files as they were).
struct SuppressUpgradeBackup {
  SuppressUpgradeBackup();
  ~SuppressUpgradeBackup();
};

}  // namespace vesp::backup
