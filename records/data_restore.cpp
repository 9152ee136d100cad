#include "records/data_restore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/backup_internals.h"
#include "records/backup_seams.h"
#include "records/data_backup.h"
#include "records/set_checks.h"
#include "runtime/data/errors.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/data_location.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/store/upgrader.h"

namespace vesp::backup {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBeforeRestore = "before-restore";
constexpr const char* kJournalHead = "vespera restore journal 1";
// The journal's states: current files are going aside (undo on recovery), or the
// before-restore set is complete and the set's files are going in (finish on recovery).
constexpr const char* kGoingOut = "out";
constexpr const char* kGoingIn = "in";

void step(const std::string& what) {
  if (const auto& listener = restoreStepListener()) listener(what);
}

// fsync of a file or a folder (a rename or a removal lasts once its folder is synced).
bool syncPath(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

fs::path backupsOf(const std::string& dataFolder) { return fs::path(dataFolder) / kBackupFolder; }

struct Journal {
  std::string state;
  std::string aside;  // the before-restore set's folder name, in the backups folder
  std::string set;    // the set restored, for the user
  std::vector<std::string> out;  // current files moved into the aside set
  std::vector<std::string> in;   // staged files moved in place
};

bool writeJournal(const std::string& dataFolder, const Journal& j, std::string& error) {
  const fs::path file = fs::path(dataFolder) / kRestoreJournal;
  const fs::path temp = file.string() + ".new";
  step("write the journal (" + j.state + ")");
  {
    std::ofstream o(temp, std::ios::binary | std::ios::trunc);
    o << kJournalHead << "\nstate " << j.state << "\naside " << j.aside << "\nset " << j.set << "\n";
    for (const auto& n : j.out) o << "out " << n << "\n";
    for (const auto& n : j.in) o << "in " << n << "\n";
    o << "end\n";
    o.flush();
    if (!o) return error = "cannot write " + temp.string(), false;
  }
  if (!syncPath(temp)) return error = "cannot write " + temp.string() + " to disk", false;
  step("put the journal in place (" + j.state + ")");
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) return error = "cannot write " + file.string() + ": " + ec.message(), false;
  if (!syncPath(dataFolder)) return error = "cannot write " + file.string() + " to disk", false;
  return true;
}

bool isDataFileName(const std::string& name) {
  const auto names = dataFileNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The journal in the folder; nullopt when there is none, or (with `error`) when it is not
// one this program wrote. Every name in it is checked as a set's names are.
std::optional<Journal> readJournal(const std::string& dataFolder, std::string& error) {
  std::ifstream in(fs::path(dataFolder) / kRestoreJournal, std::ios::binary);
  if (!in) return std::nullopt;
  Journal j;
  bool head = false, end = false;
  for (std::string line; std::getline(in, line);) {
    if (!head) {
      head = line == kJournalHead;
      if (!head) break;
      continue;
    }
    const auto space = line.find(' ');
    const std::string word = line.substr(0, space), rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "state") j.state = rest;
    else if (word == "aside") j.aside = rest;
    else if (word == "set") j.set = rest;
    else if (word == "out" && isDataFileName(rest)) j.out.push_back(rest);
    else if (word == "in" && isDataFileName(rest)) j.in.push_back(rest);
    else if (word == "end") end = true;
    else break;
  }
  const bool bareAside = !j.aside.empty() && j.aside.find('/') == std::string::npos && j.aside != "." &&
                         j.aside != "..";
  if (!head || !end || (j.state != kGoingOut && j.state != kGoingIn) || !bareAside) {
    error = "the journal " + (fs::path(dataFolder) / kRestoreJournal).string() +
            " of an interrupted restore is damaged; the files in " + dataFolder + " and " +
            backupsOf(dataFolder).string() + " need to be put right by hand";
    return std::nullopt;
  }
  return j;
}

void removeStaged(const std::string& dataFolder) {
  for (const auto& name : dataFileNames()) {
    const fs::path staged = fs::path(dataFolder) / (name + kStagedSuffix);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(staged, ec))) continue;
    step("remove " + staged.filename().string());
    fs::remove(staged, ec);
  }
}

bool removeJournal(const std::string& dataFolder) {
  step("remove the journal");
  std::error_code ec;
  fs::remove(fs::path(dataFolder) / kRestoreJournal, ec);
  fs::remove(fs::path(dataFolder) / (std::string(kRestoreJournal) + ".new"), ec);
  return !ec && syncPath(dataFolder);
}

// Puts the current files back from the aside set and drops what the restore had made.
std::string undoSwap(const std::string& dataFolder, const Journal& j) {
  const fs::path aside = backupsOf(dataFolder) / j.aside;
  std::string problems;
  for (auto it = j.out.rbegin(); it != j.out.rend(); ++it) {
    const fs::path current = fs::path(dataFolder) / *it, kept = aside / *it;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(current, ec)) || !fs::exists(fs::symlink_status(kept, ec))) continue;
    step("move " + *it + " back");
    fs::rename(kept, current, ec);
    if (ec) problems += (problems.empty() ? "" : "; ") + ("cannot move " + kept.string() + " back: " + ec.message());
  }
  if (!problems.empty()) return problems;
  syncPath(dataFolder);
  std::error_code ec;
  step("remove the before-restore set");
  fs::remove(aside / kManifestName, ec);
  fs::remove(aside / (std::string(kManifestName) + ".new"), ec);
  fs::remove(aside, ec);  // only when empty: whatever else is there stays
  removeStaged(dataFolder);
  return {};
}

// Moves in the set's files not yet in place.
std::string finishSwap(const std::string& dataFolder, const Journal& j) {
  for (const auto& name : j.in) {
    const fs::path staged = fs::path(dataFolder) / (name + kStagedSuffix);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(staged, ec))) continue;  // moved in already
    step("move " + name + " in");
    fs::rename(staged, fs::path(dataFolder) / name, ec);
    if (ec) return "cannot move " + staged.string() + " in place: " + ec.message();
  }
  if (!syncPath(dataFolder)) return "cannot write " + dataFolder + " to disk";
  return {};
}

// Checks every file of a set against its manifest; "" when all are sound.
std::string verifySet(const BackupSet& set, const Progress& progress) {
  int done = 0;
  for (const auto& f : set.files) {
    if (progress) progress(f.name, done, static_cast<int>(set.files.size()));
    ++done;
    const fs::path path = fs::path(set.path) / f.name;
    if (!isFile(path)) return set.path + " lacks " + f.name;
    auto digest = digestBeside(path);
    const std::string bad =
        f.database ? vrt::store::verifyDatabase(path.string(), f.counted ? &f.counts : nullptr) : std::string();
    // A changed byte is told as such, before whatever the check made of it.
    if (digest.get() != f.digest) return path.string() + " has been changed or damaged since the set was made";
    if (!bad.empty()) return bad;
  }
  return {};
}

// A table in the set that this program's structures are older than; "" when none.
std::string newerStructure(const BackupSet& set) {
  for (const auto& f : set.files) {
    if (!f.database) continue;
    for (const auto& [table, version] : vrt::store::metadataValues((fs::path(set.path) / f.name).string(), "version")) {
      const int known = vrt::ds_RegisteredVersion(table);
      if (known >= 0 && version > known)
        return f.name + " holds " + table + " in structure version " + std::to_string(version) +
               ", newer than this program's version " + std::to_string(known);
    }
  }
  return {};
}

// Brings every staged table file up through the upgrader; what could not be converted.
std::string upgradeStaged(const std::string& dataFolder) {
  SuppressUpgradeBackup quiet;
  std::string problems;
  for (const auto& table : dict::tables()) {
    const fs::path path = fs::path(dataFolder) / (table.label + ".vdb" + kStagedSuffix);
    if (!isFile(path)) continue;
    vrt::DataFile file(table, path.string());
    const int rc = vrt::ds_FileOpen(file, vrt::OpenAccess::ReadWrite);
    if (rc != 0 && rc != vrt::kFileNotFound)
      problems += (problems.empty() ? "" : "; ") + table.label + ": " + vrt::threadError().text;
    file.close();
  }
  return problems;
}

// A journal left by a process that died mid-commit is rolled back before the file is
// counted and moved aside: moved on its own, it would be played into the restored file.
std::string settleJournals(const std::string& dataFolder) {
  for (const auto& name : dataFileNames()) {
    if (!isDatabase(name)) continue;
    const fs::path file = fs::path(dataFolder) / name, journal = file.string() + "-journal";
    std::error_code ec;
    if (!isFile(file) || fs::file_size(journal, ec) == 0 || ec) continue;
    vrt::sql::Database db;
    if (db.open(file.string(), false, false) == SQLITE_OK) db.exec("SELECT count(*) FROM sqlite_schema");
    db.close();
    if (fs::file_size(journal, ec) > 0 && !ec)
      return journal.string() + " is left from an interrupted change and cannot be rolled back";
  }
  return {};
}

// The lock a restore needs: the session's, made alone, or one of its own.
class AloneForRestore {
 public:
  explicit AloneForRestore(const std::string& dataFolder) : own_(dataFolder) {}
  ~AloneForRestore() {
    if (fromSession_) sessionLock()->backToShared();
  }
  bool take(std::string& error) {
    DataFolderLock* session = sessionLock();
    if (session && session->held()) {
      const bool wasShared = !session->alone();
      if (!session->takeAlone(error)) return false;
      fromSession_ = wasShared;
      return true;
    }
    return own_.takeAlone(error);
  }

 private:
  DataFolderLock own_;
  bool fromSession_ = false;
};

}  // namespace

std::function<void(const std::string&)>& restoreStepListener() {
  static std::function<void(const std::string&)> listener;
  return listener;
}

namespace {

// With the folder held alone: finishes or undoes a restore cut off in it, and drops copies
// a restore made before it began to swap. "" or why that could not be done; `recovered`
// tells what was done.
std::string settleInterrupted(const std::string& dataFolder, const std::optional<Journal>& journal,
                              std::string& recovered) {
  if (!journal) {
    removeStaged(dataFolder);
    // The before-restore set's folder is made just before the journal that names it: a
    // restore cut off between the two leaves it empty.
    std::error_code ec;
    for (fs::directory_iterator it(backupsOf(dataFolder), ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.find(std::string("-") + kBeforeRestore) != std::string::npos && it->is_directory(ec) &&
          fs::is_empty(it->path(), ec))
        fs::remove(it->path(), ec);
    }
    return {};
  }
  if (journal->state == kGoingOut) {
    if (std::string bad = undoSwap(dataFolder, *journal); !bad.empty())
      return "an interrupted restore could not be undone: " + bad;
    removeJournal(dataFolder);
    recovered = "A restore of " + journal->set +
                " was interrupted before any file was replaced.\nIt was undone: your data is as it was.";
    return {};
  }
  if (std::string bad = finishSwap(dataFolder, *journal); !bad.empty())
    return "an interrupted restore could not be finished: " + bad;
  removeJournal(dataFolder);
  recovered = "A restore of " + journal->set +
              " was interrupted and has now been finished.\nThe data it replaced is in " +
              fs::absolute(backupsOf(dataFolder) / journal->aside).lexically_normal().string() +
              " (restore that set to undo).";
  return {};
}

bool stagedCopiesLeft(const std::string& dataFolder) {
  for (const auto& name : dataFileNames()) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(fs::path(dataFolder) / (name + kStagedSuffix), ec))) return true;
  }
  return false;
}

}  // namespace

TakenFolder TakeDataFolder(const std::string& dataFolder, DataFolderLock& lock, const std::function<void()>& waiting) {
  TakenFolder t;
  if (!lock.share(t.error, waiting)) return t;
  const auto journal = readJournal(dataFolder, t.error);
  if (!t.error.empty()) return t;
  if (!journal && !stagedCopiesLeft(dataFolder)) {
    t.ok = true;
    return t;
  }
  std::string error;
  if (!lock.takeAlone(error)) {
    // Copies of a restore that never began its swap are harmless: removed another time.
    t.ok = !journal;
    if (journal)
      t.error = "a restore of the data was interrupted and cannot be finished while " + error +
                "; close them and try again";
    return t;
  }
  t.error = settleInterrupted(dataFolder, journal, t.recovered);
  t.ok = t.error.empty();
  lock.backToShared();
  return t;
}

Outcome RestoreSet(const std::string& dataFolder, const std::string& setFolder, const RestoreOptions& options) {
  if (const auto& at = vrt::store::currentDataLocation(); at.onServer())
    return failed("your data lives on a server (" + at.describe() +
                  "), not in these files; a backup set goes onto a server by copying it into an empty database "
                  "with vesp-data copy --to-server");
  std::string error;
  auto set = readSet(setFolder, error);
  if (!set) return failed("cannot restore: " + error);
  if (std::string wrong = checkSetEntries(*set); !wrong.empty())
    return failed("cannot restore " + setFolder + ": " + wrong + "; nothing was changed");
  if (options.filesInUse) {
    if (const std::string user = options.filesInUse(); !user.empty())
      return failed("cannot restore while " + user + " has the data files open; close it first");
  }
  AloneForRestore lock(dataFolder);
  if (!lock.take(error)) return failed("cannot restore while " + error + "; close them first");
  // A restore cut off earlier is settled before this one begins: its journal is the only
  // record of where the files it moved are.
  {
    const auto interrupted = readJournal(dataFolder, error);
    std::string recovered;
    if (!error.empty()) return failed("cannot restore: " + error);
    if (std::string bad = settleInterrupted(dataFolder, interrupted, recovered); !bad.empty())
      return failed("cannot restore: " + bad);
  }
  dict::registerTablesForUpgrade();
  if (std::string bad = verifySet(*set, options.progress); !bad.empty())
    return failed("cannot restore " + setFolder + ", it fails verification: " + bad);
  if (std::string newer = newerStructure(*set); !newer.empty())
    return failed("cannot restore " + setFolder + ", it was made by a newer version of the program: " + newer);
  if (std::string bad = settleJournals(dataFolder); !bad.empty()) return failed("cannot restore: " + bad);

  // The set's files are copied in beside the current ones and brought up to this version
  // first; the current data is not touched until every copy has been made and checked.
  auto unstage = [&] { removeStaged(dataFolder); };
  removeStaged(dataFolder);
  int done = 0;
  for (const auto& f : set->files) {
    if (options.progress) options.progress(f.name, done++, static_cast<int>(set->files.size()));
    const fs::path temp = fs::path(dataFolder) / (f.name + kStagedSuffix);
    SetFile copy = f;
    step("copy " + f.name + " in");
    std::string bad = copyAndVerify(fs::path(set->path) / f.name, temp, copy);
    if (bad.empty() && f.database && f.counted && copy.counts != f.counts)
      bad = temp.string() + " does not hold the set's records";
    if (const std::string table = tableOfFile(f.name); bad.empty() && !table.empty() && !copy.counts.count(table))
      bad = set->path + "/" + f.name + " does not hold the " + table + " table";
    if (!bad.empty()) {
      unstage();
      return failed("cannot restore: " + bad);
    }
  }
  step("bring the copies up");
  if (std::string problems = upgradeStaged(dataFolder); !problems.empty()) {
    unstage();
    return failed("cannot restore: some tables could not be brought up to this version: " + problems +
                  "; the current data is as it was");
  }

  // The checks took time in which the program went on: asked again right before the swap.
  if (options.filesInUse) {
    if (const std::string user = options.filesInUse(); !user.empty()) {
      unstage();
      return failed("cannot restore while " + user + " has the data files open; close it first");
    }
  }
  if (options.beforeReplacing) options.beforeReplacing();

  // The current files become a set of their own, counted and checked before any moves.
  BackupSet aside;
  aside.made = options.now;
  aside.kind = kBeforeRestore;
  Journal journal;
  journal.state = kGoingOut;
  journal.set = fs::absolute(set->path).lexically_normal().string();
  for (const auto& name : dataFileNames()) {
    const fs::path current = fs::path(dataFolder) / name;
    if (!isFile(current)) continue;
    SetFile file;
    file.name = name;
    file.database = isDatabase(name);
    std::error_code ec;
    file.bytes = static_cast<std::int64_t>(fs::file_size(current, ec));
    if (file.database) file.counted = vrt::store::verifyDatabase(current.string(), nullptr, &file.counts).empty();
    file.digest = vrt::store::fileDigest(current.string());
    if (file.digest.empty()) {
      unstage();
      return failed("cannot restore: cannot read " + current.string() + "; the current data is as it was");
    }
    aside.files.push_back(std::move(file));
    journal.out.push_back(name);
  }
  for (const auto& f : set->files) journal.in.push_back(f.name);

  // The folder's name is settled before the journal names it; the folder is made after.
  step("make the before-restore set");
  aside.path = makeSetFolder(backupsOf(dataFolder).string(), options.now, kBeforeRestore, error);
  if (aside.path.empty()) {
    unstage();
    return failed("cannot restore: " + error);
  }
  syncPath(backupsOf(dataFolder));
  journal.aside = fs::path(aside.path).filename().string();
  if (!writeJournal(dataFolder, journal, error)) {
    std::error_code ec;
    fs::remove(aside.path, ec);
    removeJournal(dataFolder);
    unstage();
    return failed("cannot restore: " + error + "; the current data is as it was");
  }
  auto giveUp = [&](const std::string& why) {
    const std::string undo = undoSwap(dataFolder, journal);
    if (!undo.empty())
      return failed("cannot restore: " + why + "; putting the current files back failed too (" + undo +
                    "): the next start will try again");
    removeJournal(dataFolder);
    return failed("cannot restore: " + why + "; the current data is as it was");
  };
  for (const auto& name : journal.out) {
    step("move " + name + " aside");
    std::error_code ec;
    fs::rename(fs::path(dataFolder) / name, fs::path(aside.path) / name, ec);
    if (ec) return giveUp("cannot move " + name + " aside: " + ec.message());
  }
  syncPath(dataFolder);
  step("write the before-restore manifest");
  if (!writeManifest(aside, error)) return giveUp(error);
  if (!syncPath(fs::path(aside.path) / kManifestName) || !syncPath(aside.path))
    return giveUp("cannot write " + aside.path + " to disk");
  // From here on the before-restore set is complete: a cut-off restore is finished.
  journal.state = kGoingIn;
  if (!writeJournal(dataFolder, journal, error)) return giveUp(error);
  if (std::string bad = finishSwap(dataFolder, journal); !bad.empty()) {
    // The journal stays: the next start finishes what a failing disk stopped here.
    return failed("cannot restore: " + bad + "; the restore is finished the next time the data is opened");
  }
  removeJournal(dataFolder);
  Outcome o;
  o.setPath = aside.path;
  o.ok = true;
  return o;
}

}  // namespace vesp::backup
