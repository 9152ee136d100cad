#include "records/data_backup.h"

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/backup_reuse.h"
#include "runtime/data/errors.h"
#include "runtime/store/data_file.h"
#include "runtime/store/upgrader.h"

namespace vesp::backup {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBeforeRestore = "before-restore";
constexpr const char* kBeforeUpgrade = "before-upgrade";
constexpr const char* kStagedSuffix = ".restoring";

Outcome failed(std::string error) {
  Outcome o;
  o.error = std::move(error);
  return o;
}

bool isDatabase(const std::string& name) { return name != kSettingsFile; }

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool sameContents(const fs::path& a, const fs::path& b) {
  std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
  if (!x || !y) return false;
  return std::equal(std::istreambuf_iterator<char>(x), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(y), std::istreambuf_iterator<char>());
}

// The digest of a file, taken on a thread of its own: the integrity check reads the same
// file meanwhile, and on a second core the digest then costs no time.
std::future<std::string> digestBeside(const fs::path& path) {
  return std::async(std::launch::async, [file = path.string()] { return vrt::store::fileDigest(file); });
}

// Copies one data file and checks the copy against its source: a database through the
// online backup and the integrity check with equal counts, the settings file byte for byte.
std::string copyAndVerify(const fs::path& from, const fs::path& to, SetFile& file) {
  if (!file.database) {
    std::error_code ec;
    fs::copy_file(from, to, ec);
    if (ec) return "cannot copy " + from.string() + " to " + to.string() + ": " + ec.message();
    if (!sameContents(from, to)) return "the copy " + to.string() + " differs from " + from.string();
    file.bytes = static_cast<std::int64_t>(fs::file_size(to, ec));
    file.counts.clear();
    file.digest = vrt::store::fileDigest(to.string());
    return file.digest.empty() ? "cannot read " + to.string() : std::string();
  }
  vrt::store::CopyResult copy = vrt::store::copyDatabase(from.string(), to.string());
  if (!copy.ok) return copy.error;
  auto digest = digestBeside(to);
  if (std::string bad = vrt::store::verifyDatabase(to.string(), &copy.counts); !bad.empty()) return bad;
  file.bytes = copy.bytes;
  file.counts = std::move(copy.counts);
  file.digest = digest.get();
  return file.digest.empty() ? "cannot read " + to.string() : std::string();
}

// A new, empty folder for a set in `backupFolder`.
std::string makeSetFolder(const std::string& backupFolder, const QDateTime& now, const std::string& kind,
                          std::string& error) {
  std::error_code ec;
  fs::create_directories(backupFolder, ec);
  if (ec) {
    error = "cannot make the backup folder " + backupFolder + ": " + ec.message();
    return {};
  }
  const std::string base = setFolderName(now, kind);
  for (int n = 1; n < 1000; ++n) {
    const fs::path folder = fs::path(backupFolder) / (n == 1 ? base : base + "-" + std::to_string(n));
    if (fs::create_directory(folder, ec)) return folder.string();
    if (ec) {
      error = "cannot make a backup set in " + backupFolder + ": " + ec.message();
      return {};
    }
  }
  error = "too many backup sets made at " + base;
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

struct Move {
  fs::path from, to;
};

// Renames in order; on a failure undoes the renames done and says why.
std::string renameAll(const std::vector<Move>& moves, std::vector<Move>& done) {
  for (const auto& m : moves) {
    std::error_code ec;
    fs::rename(m.from, m.to, ec);
    if (ec) return "cannot move " + m.from.string() + " to " + m.to.string() + ": " + ec.message();
    done.push_back(m);
  }
  return {};
}

void undoRenames(std::vector<Move>& done) {
  for (auto it = done.rbegin(); it != done.rend(); ++it) {
    std::error_code ec;
    fs::rename(it->to, it->from, ec);
  }
  done.clear();
}

struct UpgradeBackup {
  std::mutex lock;
  bool made = false;
  int suppressed = 0;
};

UpgradeBackup& upgradeBackup() {
  static UpgradeBackup u;
  return u;
}

// While a restore brings its files up, the set it restored from already holds them as
// they were.
struct SuppressUpgradeBackup {
  SuppressUpgradeBackup() {
    std::lock_guard g(upgradeBackup().lock);
    ++upgradeBackup().suppressed;
  }
  ~SuppressUpgradeBackup() {
    std::lock_guard g(upgradeBackup().lock);
    --upgradeBackup().suppressed;
  }
};

// Opens every table's file once through the upgrader; what could not be converted.
std::string upgradeTables(const std::string& dataFolder) {
  SuppressUpgradeBackup quiet;
  std::string problems;
  for (const auto& table : dict::tables()) {
    const fs::path path = fs::path(dataFolder) / (table.label + ".vdb");
    if (!isFile(path)) continue;
    vrt::DataFile file(table, path.string());
    const int rc = vrt::ds_FileOpen(file, vrt::OpenAccess::ReadWrite);
    if (rc != 0 && rc != vrt::kFileNotFound)
      problems += (problems.empty() ? "" : "; ") + table.label + ": " + vrt::threadError().text;
    file.close();
  }
  return problems;
}

}  // namespace

std::vector<std::string> dataFileNames() {
  std::vector<std::string> names;
  for (const auto& t : dict::tables()) names.push_back(t.label + ".vdb");
  names.push_back(kQueriesFile);
  names.push_back(kSettingsFile);
  return names;
}

Outcome BackUpNow(const std::string& dataFolder, const std::string& backupFolder, const QDateTime& now,
                  const std::string& kind, const Progress& progress, Checking checking) {
  std::vector<SetFile> files;
  for (const auto& name : dataFileNames()) {
    const fs::path path = fs::path(dataFolder) / name;
    if (!isFile(path)) continue;
    SetFile file;
    file.name = name;
    file.database = isDatabase(name);
    // Taken before the copy: a change made meanwhile makes the next set copy the file again.
    if (file.database) file.source = sourceStateOf(path.string());
    files.push_back(std::move(file));
  }
  if (files.empty()) return failed("there are no data files in " + fs::absolute(dataFolder).string());
  const CarrySource previous(backupFolder, now, checking, files);

  BackupSet set;
  set.made = now;
  set.kind = kind;
  std::string error;
  set.path = makeSetFolder(backupFolder, now, kind, error);
  if (set.path.empty()) return failed(error);
  auto discard = [&](const std::string& why) {
    std::error_code ec;
    fs::remove_all(set.path, ec);
    return failed("the backup failed and was removed: " + why);
  };
  int done = 0;
  for (SetFile& file : files) {
    if (progress) progress(file.name, done++, static_cast<int>(files.size()));
    const SetFile* same = previous.unchanged(file);
    const std::string bad = same ? previous.carry(*same, set.path, file)
                                 : copyAndVerify(fs::path(dataFolder) / file.name, fs::path(set.path) / file.name, file);
    if (!bad.empty()) return discard(bad);
  }
  set.files = std::move(files);
  if (!writeManifest(set, error)) return discard(error);
  if (progress) progress({}, done, done);
  Outcome o;
  o.ok = true;
  o.setPath = set.path;
  return o;
}

Outcome StartupBackup(const std::string& dataFolder, const QDateTime& now) {
  const std::string folder = (fs::path(dataFolder) / kBackupFolder).string();
  Outcome o;
  for (const auto& set : listSets(folder)) {
    if (set.made.date() == now.date()) {
      o.ok = o.skipped = true;
      return o;
    }
  }
  bool anyData = false;
  for (const auto& name : dataFileNames()) anyData = anyData || isFile(fs::path(dataFolder) / name);
  if (!anyData) {
    o.ok = o.skipped = true;
    return o;
  }
  o = BackUpNow(dataFolder, folder, now, {}, {}, Checking::ChangedAtStartup);
  if (o.ok) pruneSets(folder, now);
  return o;
}

Outcome RestoreSet(const std::string& dataFolder, const std::string& setFolder, const RestoreOptions& options) {
  std::string error;
  auto set = readSet(setFolder, error);
  if (!set) return failed("cannot restore: " + error);
  if (options.filesInUse) {
    if (const std::string user = options.filesInUse(); !user.empty())
      return failed("cannot restore while " + user + " has the data files open; close it first");
  }
  dict::registerTablesForUpgrade();
  if (std::string bad = verifySet(*set, options.progress); !bad.empty())
    return failed("cannot restore " + setFolder + ", it fails verification: " + bad);
  if (std::string newer = newerStructure(*set); !newer.empty())
    return failed("cannot restore " + setFolder + ", it was made by a newer version of the program: " + newer);

  // The set's files are copied in beside the current ones first; the current data is not
  // touched until every copy has been made and checked.
  std::vector<fs::path> staged;
  auto unstage = [&] {
    std::error_code ec;
    for (const auto& p : staged) fs::remove(p, ec);
  };
  int done = 0;
  for (const auto& f : set->files) {
    if (options.progress) options.progress(f.name, done++, static_cast<int>(set->files.size()));
    const fs::path temp = fs::path(dataFolder) / (f.name + kStagedSuffix);
    std::error_code ec;
    fs::remove(temp, ec);
    SetFile copy = f;
    std::string bad = copyAndVerify(fs::path(set->path) / f.name, temp, copy);
    staged.push_back(temp);
    if (bad.empty() && f.database && f.counted && copy.counts != f.counts)
      bad = temp.string() + " does not hold the set's records";
    if (!bad.empty()) {
      unstage();
      return failed("cannot restore: " + bad);
    }
  }

  // The checks took time in which the program went on: asked again right before the move.
  if (options.filesInUse) {
    if (const std::string user = options.filesInUse(); !user.empty()) {
      unstage();
      return failed("cannot restore while " + user + " has the data files open; close it first");
    }
  }
  if (options.beforeReplacing) options.beforeReplacing();
  // The current files go aside into a set of their own, counted where they can be.
  BackupSet aside;
  aside.made = options.now;
  aside.kind = kBeforeRestore;
  aside.path = makeSetFolder((fs::path(dataFolder) / kBackupFolder).string(), options.now, kBeforeRestore, error);
  if (aside.path.empty()) {
    unstage();
    return failed("cannot restore: " + error);
  }
  std::vector<Move> outMoves, inMoves, moved;
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
    aside.files.push_back(std::move(file));
    outMoves.push_back({current, fs::path(aside.path) / name});
    const fs::path journal = current.string() + "-journal";
    if (isFile(journal)) outMoves.push_back({journal, fs::path(aside.path) / (name + "-journal")});
  }
  for (const auto& f : set->files)
    inMoves.push_back({fs::path(dataFolder) / (f.name + kStagedSuffix), fs::path(dataFolder) / f.name});
  auto giveUp = [&](const std::string& why) {
    undoRenames(moved);
    unstage();
    std::error_code ec;
    fs::remove_all(aside.path, ec);
    return failed("cannot restore: " + why + "; the current data is as it was");
  };
  if (std::string bad = renameAll(outMoves, moved); !bad.empty()) return giveUp(bad);
  if (!writeManifest(aside, error)) return giveUp(error);
  if (std::string bad = renameAll(inMoves, moved); !bad.empty()) return giveUp(bad);

  // A table that cannot be brought up would leave data this program cannot use: the
  // current files go back in place instead.
  if (std::string problems = upgradeTables(dataFolder); !problems.empty())
    return giveUp("some tables could not be brought up to this version: " + problems);
  Outcome o;
  o.setPath = aside.path;
  o.ok = true;
  return o;
}

void BackUpBeforeUpgrades(const std::string& dataFolder) {
  vrt::ds_SetBeforeConvert([dataFolder](const std::string&) {
    std::lock_guard g(upgradeBackup().lock);
    if (upgradeBackup().made || upgradeBackup().suppressed > 0) return 0;
    const Outcome o = BackUpNow(dataFolder, (fs::path(dataFolder) / kBackupFolder).string(),
                                QDateTime::currentDateTime(), kBeforeUpgrade);
    if (!o.ok) {
      vrt::setError(vrt::kDriverError, "No backup could be made before upgrading the files: " + o.error);
      return static_cast<int>(vrt::kDriverError);
    }
    upgradeBackup().made = true;
    return 0;
  });
}

void ResetUpgradeBackupForTesting() {
  std::lock_guard g(upgradeBackup().lock);
  upgradeBackup().made = false;
}

}  // namespace vesp::backup
