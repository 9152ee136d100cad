// A backup set of data that lives on a server: the same set of SQLite files a backup of
// the files makes, so that any set restores to files or, copied, to a server.
#include <filesystem>

#include "records/backup_internals.h"
#include "records/data_copy.h"
#include "runtime/store/backup_copy.h"

namespace vesp::backup {

namespace fs = std::filesystem;

Outcome BackUpServer(const std::string& dataFolder, const std::string& backupFolder, const QDateTime& now,
                     const std::string& kind, const Progress& progress) {
  const vrt::store::DataLocation server = vrt::store::currentDataLocation();
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

  // Every table read from the server into the set's files, and read back from them with
  // the same counts and digests.
  const std::vector<datacopy::Table> tables = datacopy::dataTables();
  const int steps = static_cast<int>(tables.size()) + 1;
  int step = 0;
  std::string shown;
  const datacopy::Outcome copied = datacopy::copyData(
      server, vrt::store::DataLocation::files(set.path),
      [&](const std::string& table, std::int64_t, std::int64_t) {
        if (table == shown) return;
        shown = table;
        if (progress) progress(table, step++, steps);
      });
  if (!copied.ok) return discard(copied.error);

  // Each file then as a backup of the files checks it: whole, its indexes agreeing with its
  // tables, holding the records the server gave.
  for (const std::string& name : dataFileNames()) {
    SetFile file;
    file.name = name;
    file.database = isDatabase(name);
    const fs::path copy = fs::path(set.path) / name;
    if (!file.database) {
      const fs::path settings = fs::path(dataFolder) / name;
      if (!isFile(settings)) continue;
      if (std::string bad = copyAndVerify(settings, copy, file); !bad.empty()) return discard(bad);
      set.files.push_back(std::move(file));
      continue;
    }
    if (!isFile(copy)) return discard("the copy made no file " + name);
    if (std::string bad = vrt::store::verifyDatabase(copy.string(), nullptr, &file.counts); !bad.empty())
      return discard(bad);
    for (const datacopy::TableSum& t : copied.tables) {
      const auto counted = file.counts.find(t.table);
      if (counted != file.counts.end() && counted->second != t.records)
        return discard(name + " holds " + std::to_string(counted->second) + " records of " + t.table + " instead of " +
                       std::to_string(t.records));
    }
    std::error_code ec;
    file.bytes = static_cast<std::int64_t>(fs::file_size(copy, ec));
    file.digest = vrt::store::fileDigest(copy.string());
    if (ec || file.digest.empty()) return discard("cannot read " + copy.string());
    set.files.push_back(std::move(file));
  }
  if (!writeManifest(set, error)) return discard(error);
  if (progress) progress({}, steps, steps);
  Outcome o;
  o.ok = true;
  o.setPath = set.path;
  return o;
}

}  // namespace vesp::backup
