#include "records/data_backup.h"

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/backup_reuse.h"
#include "records/backup_internals.h"
#include "records/backup_seams.h"
#include "records/set_checks.h"
#include "runtime/data/errors.h"
#include "runtime/store/data_file.h"
#include "runtime/store/upgrader.h"

namespace vesp::backup {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBeforeUpgrade = "before-upgrade";

}  // namespace

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

namespace {

bool sameContents(const fs::path& a, const fs::path& b) {
  std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
  if (!x || !y) return false;
  return std::equal(std::istreambuf_iterator<char>(x), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(y), std::istreambuf_iterator<char>());
}

}  // namespace

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

SetWriter::SetWriter(const std::string& backupFolder, const QDateTime& now, const std::string& kind) {
  set_.made = now;
  set_.kind = kind;
  set_.path = makeSetFolder(backupFolder, now, kind, error_);
}

Outcome SetWriter::Discard(const std::string& why) {
  std::error_code ec;
  fs::remove_all(set_.path, ec);
  return failed("the backup failed and was removed: " + why);
}

Outcome SetWriter::Finish(std::vector<SetFile> files) {
  set_.files = std::move(files);
  std::string error;
  if (!writeManifest(set_, error)) return Discard(error);
  Outcome o;
  o.ok = true;
  o.setPath = set_.path;
  return o;
}

namespace {

struct UpgradeBackup {
  std::mutex lock;
  bool made = false;
  int suppressed = 0;
};

UpgradeBackup& upgradeBackup() {
  static UpgradeBackup u;
  return u;
}

}  // namespace

SuppressUpgradeBackup::SuppressUpgradeBackup() {
  std::lock_guard g(upgradeBackup().lock);
  ++upgradeBackup().suppressed;
}

SuppressUpgradeBackup::~SuppressUpgradeBackup() {
  std::lock_guard g(upgradeBackup().lock);
  --upgradeBackup().suppressed;
}

std::vector<std::string> dataFileNames() {
  std::vector<std::string> names;
  for (const auto& t : dict::tables()) names.push_back(t.label + ".vdb");
  names.push_back(kQueriesFile);
  names.push_back(kSettingsFile);
  return names;
}

Outcome BackUpNow(const std::string& dataFolder, const std::string& backupFolder, const QDateTime& now,
                  const std::string& kind, const Progress& progress, Checking checking) {
  if (vrt::store::currentDataLocation().onServer()) return BackUpServer(dataFolder, backupFolder, now, kind, progress);
  std::vector<std::string> present, unused;
  if (std::string bad = dataFilesToBackUp(dataFolder, present, unused); !bad.empty()) return failed(bad);
  if (present.empty()) return failed("there are no data files in " + fs::absolute(dataFolder).string());
  std::vector<SetFile> files;
  for (const auto& name : present) {
    SetFile file;
    file.name = name;
    file.database = isDatabase(name);
    // Taken before the copy: a change made meanwhile makes the next set copy the file again.
    if (file.database) file.source = sourceStateOf((fs::path(dataFolder) / name).string());
    files.push_back(std::move(file));
  }
  const CarrySource previous(backupFolder, now, checking, files);

  SetWriter set(backupFolder, now, kind);
  if (set.path().empty()) return set.Failure();
  int done = 0;
  for (SetFile& file : files) {
    if (progress) progress(file.name, done++, static_cast<int>(files.size()));
    const SetFile* same = previous.unchanged(file);
    const std::string bad = same ? previous.carry(*same, set.path(), file)
                                 : copyAndVerify(fs::path(dataFolder) / file.name, fs::path(set.path()) / file.name, file);
    if (!bad.empty()) return set.Discard(bad);
  }
  for (const auto& name : unused) {
    SetFile file;
    if (std::string bad = addEmptyTable(set.path(), name, file); !bad.empty()) return set.Discard(bad);
    files.push_back(std::move(file));
  }
  if (progress) progress({}, done, done);
  return set.Finish(std::move(files));
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
  bool anyData = vrt::store::currentDataLocation().onServer();
  for (const auto& name : dataFileNames()) anyData = anyData || isFile(fs::path(dataFolder) / name);
  if (!anyData) {
    o.ok = o.skipped = true;
    return o;
  }
  o = BackUpNow(dataFolder, folder, now, {}, {}, Checking::ChangedAtStartup);
  if (o.ok) pruneSets(folder, now);
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

void forgetUpgradeBackup() {
  std::lock_guard g(upgradeBackup().lock);
  upgradeBackup().made = false;
}

}  // namespace vesp::backup
