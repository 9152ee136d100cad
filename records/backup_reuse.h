#pragma once
// A new backup set takes the files that have not changed since the newest set from that set
// as they are, instead of copying and checking them again: a hard link to the same bytes
// (or, where the folder cannot hold links, a byte copy checked against the set's digest),
// carried into the new manifest with the digest and counts that set verified. Each set
// still holds every file, so removing older sets never breaks a newer one.
//
// A file is unchanged when SQLite's change counter in its header, its size and its
// modification time are what they were when that set copied it. Once a month a set checks
// every file afresh, so that a copy damaged where it lies is not carried on for ever.
#include <QDateTime>

#include <optional>
#include <string>
#include <vector>

#include "records/backup_sets.h"

namespace vesp::backup {

// How much of a new set is copied and checked afresh.
enum class Checking {
  Changed,          // the files changed since the newest set; every file once a month
  Full,             // every file
  ChangedAtStartup  // as Changed, but when no file changed the month's full check waits for
                    // a set that must copy something anyway: a start-up never waits for it
};

// What a data file is now; unknown, so that the file is always copied, for a file that is not
// an SQLite database, cannot be read, or has a journal beside it that a crash may have left.
SourceState sourceStateOf(const std::string& path);

// The newest set in a backups folder, as far as a new set there may take files from it.
class CarrySource {
 public:
  // `files`: the data files about to be backed up, with their name, kind and source state.
  CarrySource(const std::string& backupFolder, const QDateTime& now, Checking checking,
              const std::vector<SetFile>& files);

  // The newest set's copy of `file` when the data file has not changed since that set was
  // made and may be taken as it is; nullptr when it must be copied and checked.
  const SetFile* unchanged(const SetFile& file) const;
  // Puts `from`, what unchanged() gave for `file`, into the set folder `setPath` and fills
  // `file` from it. "" or what went wrong.
  std::string carry(const SetFile& from, const std::string& setPath, SetFile& file) const;

 private:
  std::optional<BackupSet> newest_;  // absent when every file is to be copied
};

}  // namespace vesp::backup
