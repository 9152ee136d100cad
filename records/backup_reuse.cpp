#include "records/backup_reuse.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace vesp::backup {

namespace fs = std::filesystem;

namespace {

// The kinds of set a backup makes, and so verified every copy it holds; a set of the files
// a restore replaced holds them as they were, unchecked.
bool madeByABackup(const BackupSet& set) { return set.kind.empty() || set.kind == "before-upgrade"; }

bool sameMonth(const QDateTime& a, const QDateTime& b) {
  return a.date().year() == b.date().year() && a.date().month() == b.date().month();
}

// Every file of the set was copied and checked afresh (sets made before files were carried
// were all made so).
bool checkedEveryFile(const BackupSet& set) {
  for (const auto& f : set.files)
    if (f.carried) return false;
  return true;
}

}  // namespace

SourceState sourceStateOf(const std::string& path) {
  SourceState state;
  // A journal left by a crash means the file's own bytes are not yet what SQLite will read.
  std::error_code ec;
  if (fs::exists(path + "-journal", ec) || fs::exists(path + "-wal", ec)) return state;
  struct stat info{};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return state;
  std::array<unsigned char, 28> header{};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return state;
  static constexpr char kMagic[] = "SQLite format 3";  // and its zero
  if (!std::equal(std::begin(kMagic), std::end(kMagic), header.begin())) return state;
  // Bytes 24-27: raised by every transaction that changes the file, big-endian.
  state.counter = (std::int64_t(header[24]) << 24) | (header[25] << 16) | (header[26] << 8) | header[27];
  state.bytes = static_cast<std::int64_t>(info.st_size);
  state.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  return state;
}

CarrySource::CarrySource(const std::string& backupFolder, const QDateTime& now, Checking checking,
                         const std::vector<SetFile>& files) {
  if (checking == Checking::Full) return;
  bool checkedThisMonth = false;
  for (auto& set : listSets(backupFolder)) {
    if (!madeByABackup(set)) continue;
    if (sameMonth(set.made, now) && checkedEveryFile(set)) checkedThisMonth = true;
    if (!newest_) newest_ = std::move(set);
    if (checkedThisMonth) break;
  }
  if (!newest_ || checkedThisMonth) return;
  // The month's full check is due. A start-up whose files have not changed leaves it to the
  // next set that must copy something anyway.
  bool anyChanged = false;
  for (const auto& f : files) anyChanged = anyChanged || (f.database && !unchanged(f));
  if (checking == Checking::ChangedAtStartup && !anyChanged) return;
  newest_.reset();
}

const SetFile* CarrySource::unchanged(const SetFile& file) const {
  if (!newest_ || !file.database || !file.source.known()) return nullptr;
  for (const auto& f : newest_->files) {
    if (f.name != file.name) continue;
    if (!f.database || !f.counted || f.digest.empty() || !(f.source == file.source)) return nullptr;
    // The copy is still there, whole as far as its size tells.
    const fs::path copy = fs::path(newest_->path) / f.name;
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(copy, ec)) ||
        static_cast<std::int64_t>(fs::file_size(copy, ec)) != f.bytes || ec)
      return nullptr;
    return &f;
  }
  return nullptr;
}

std::string CarrySource::carry(const SetFile& from, const std::string& setPath, SetFile& file) const {
  const fs::path source = fs::path(newest_->path) / from.name, target = fs::path(setPath) / file.name;
  std::error_code ec;
  fs::create_hard_link(source, target, ec);
  if (ec) {
    // A folder that cannot hold links gets a copy, checked against what the set verified.
    fs::remove(target, ec);
    fs::copy_file(source, target, ec);
    if (ec) return "cannot copy " + source.string() + " to " + target.string() + ": " + ec.message();
    if (vrt::store::fileDigest(target.string()) != from.digest)
      return "the copy " + target.string() + " differs from " + source.string();
  }
  file.bytes = from.bytes;
  file.digest = from.digest;
  file.counted = from.counted;
  file.counts = from.counts;
  file.carried = true;
  return {};
}

}  // namespace vesp::backup
