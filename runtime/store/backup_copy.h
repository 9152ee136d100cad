#pragma once
// Copying and checking whole SQLite files, for backups and restores. The copy goes through
// SQLite's online backup API from one read snapshot of the source, so a file another
// connection has open is copied consistently; never as raw bytes.
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace vrt::store {

// Rows of every table in a file, by table name.
using TableCounts = std::map<std::string, std::int64_t>;

// Pages done so far and pages in all; called now and then during a copy.
using PageProgress = std::function<void(std::int64_t done, std::int64_t total)>;

struct CopyResult {
  bool ok = false;
  std::string error;       // a sentence for the user when !ok
  TableCounts counts;      // of the source, from the snapshot that was copied
  std::int64_t bytes = 0;  // size of the copy
};

// Copies `source` to `target` (which must not exist) and syncs it to disk. On failure the
// partial target is removed.
CopyResult copyDatabase(const std::string& source, const std::string& target, const PageProgress& progress = {});

// Checks a file as SQLite's integrity check does, through our collations: every page and
// record (the quick check) and every index against its table (`checkIndexes`), side by
// side; then, when `expected` is given, the same tables with the same row counts. Returns
// "" or what is wrong.
std::string verifyDatabase(const std::string& path, const TableCounts* expected = nullptr,
                           TableCounts* counts = nullptr);

// A digest of the file's bytes (hexadecimal), "" when it cannot be read: a copy whose
// digest still matches has not been changed by a single byte.
std::string fileDigest(const std::string& path);

// The integer `name` the metadata table holds for each table ("version"), by table.
std::map<std::string, std::int64_t> metadataValues(const std::string& path, const std::string& name);

}  // namespace vrt::store
