#pragma once
// A restore that survives being cut off. RestoreSet (records/data_backup.h) checks the set
// and copies it in beside the current files while nothing current is touched; then it
// writes a journal of the swap to the data folder and syncs it, moves the current files
// into a before-restore set, completes that set's manifest, marks the journal, and moves
// the set's files in. Whatever process next takes the data folder (the program at start,
// any vesp-data command) reads a journal left behind and undoes the swap when the
// before-restore set was not yet complete, or finishes it when it was.
#include <functional>
#include <string>

#include "records/data_lock.h"

namespace vesp::backup {

// The journal of a swap in progress, in the data folder.
inline constexpr const char* kRestoreJournal = "vsp.RESTORING";
// A set's file copied in beside the current one, before the swap.
inline constexpr const char* kStagedSuffix = ".restoring";

struct TakenFolder {
  bool ok = false;        // the data may be used
  std::string error;      // why not, for the user
  std::string recovered;  // what was done about a restore that had been cut off, or "" (lines end in '\n')
};

// At the start of the program or of a command: holds `lock` shared (waiting while a
// restore of another process holds it alone; `waiting` is called first) and then finishes
// or undoes a restore cut off in this folder, with the lock alone for that moment.
TakenFolder TakeDataFolder(const std::string& dataFolder, DataFolderLock& lock,
                           const std::function<void()>& waiting = {});

}  // namespace vesp::backup
