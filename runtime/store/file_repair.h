#pragma once
// Checking a data file's integrity and rebuilding its keys.
#include <string>
#include <vector>

#include "runtime/store/sqlite_db.h"
#include "runtime/store/table_layout.h"

namespace vrt::store {

// Whether every record of the table reads in full without touching its indexes.
bool recordsReadable(sql::Database& db, const std::string& schemaName, const TableLayout& layout);

// Rebuilds every index of the table from its records. When the indexes cannot even be
// dropped (their pages are damaged), a file of its own is rewritten from its records under a
// temporary name and put in place of the old one. Returns 0, or the error code it recorded.
int rebuildKeys(const std::string& path, const TableLayout& layout);

struct CheckReport {
  bool ok = true;
  std::vector<std::string> problems;
};
// SQLite's integrity check plus the table's own structure and indexes.
CheckReport checkFile(const std::string& path, const TableLayout& layout);

}  // namespace vrt::store
