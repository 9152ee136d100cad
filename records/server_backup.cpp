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
  SetWriter set(backupFolder, now, kind);
  if (set.path().empty()) return set.Failure();

  // Every table read from the server into the set's files, and read back from them with
  // the same counts and digests.
  const std::vector<datacopy::Table> tables = datacopy::dataTables();
  const int steps = static_cast<int>(tables.size()) + 1;
  int step = 0;
  std::string shown;
  const datacopy::Outcome copied = datacopy::copyData(
      server, vrt::store::DataLocation::files(set.path()),
      [&](const std::string& table, std::int64_t, std::int64_t) {
        if (table == shown) return;
        shown = table;
        if (progress) progress(table, step++, steps);
      });
  if (!copied.ok) return set.Discard(copied.error);

  // Each file then as a backup of the files checks it: whole, its indexes agreeing with its
  // tables, holding the records the server gave.
  std::vector<SetFile> files;
  for (const std::string& name : dataFileNames()) {
    SetFile file;
    file.name = name;
    file.database = isDatabase(name);
    const fs::path copy = fs::path(set.path()) / name;
    if (!file.database) {
      const fs::path settings = fs::path(dataFolder) / name;
      if (!isFile(settings)) continue;
      if (std::string bad = copyAndVerify(settings, copy, file); !bad.empty()) return set.Discard(bad);
      files.push_back(std::move(file));
      continue;
    }
    if (!isFile(copy)) return set.Discard("the copy made no file " + name);
    if (std::string bad = vrt::store::verifyDatabase(copy.string(), nullptr, &file.counts); !bad.empty())
      return set.Discard(bad);
    for (const datacopy::TableSum& t : copied.tables) {
      const auto counted = file.counts.find(t.table);
      if (counted != file.counts.end() && counted->second != t.records)
        return set.Discard(name + " holds " + std::to_string(counted->second) + " records of " + t.table + " instead of " +
                       std::to_string(t.records));
    }
    std::error_code ec;
    file.bytes = static_cast<std::int64_t>(fs::file_size(copy, ec));
    file.digest = vrt::store::fileDigest(copy.string());
    if (ec || file.digest.empty()) return set.Discard("cannot read " + copy.string());
    files.push_back(std::move(file));
  }
  if (progress) progress({}, steps, steps);
  return set.Finish(std::move(files));
}

}  // namespace vesp::backup
