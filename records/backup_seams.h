#pragma once
// Two places inside the backup and the restore that the program itself never touches: the
// listener told each step of a restore that writes, moves or removes a file just before it
// is taken, and the once-per-process memory that a set was made before an upgrade. Only
// test support (tests/support/backup_hooks.h) includes this header.
#include <functional>
#include <string>

namespace vesp::backup {

// Empty in the program; set by test support, read by every restore on any thread.
std::function<void(const std::string& step)>& restoreStepListener();
// Forgets that a set was made before an upgrade: the next conversion makes one again.
void forgetUpgradeBackup();

}  // namespace vesp::backup
