#pragma once
// The backup's and the restore's test hooks, compiled into the tests only.
#include <functional>
#include <string>
#include <utility>

#include "records/backup_seams.h"

namespace vesp::backup {

// Called with the name of each step of a restore that writes, moves or removes a file, just
// before it is taken; tests end the process there to prove that every moment is safe.
inline void setRestoreStepHookForTesting(std::function<void(const std::string& step)> hook) {
  restoreStepListener() = std::move(hook);
}

// Forgets that a set was made before an upgrade.
inline void ResetUpgradeBackupForTesting() { forgetUpgradeBackup(); }

}  // namespace vesp::backup
