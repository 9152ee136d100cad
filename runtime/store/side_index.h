#pragma once
// The side indexes of a table (TableSchema::sideIndexes): plain SQLite indexes beside the
// declared keys, for look-ups and orders no key declares. SQLite's planner uses them on its
// own; the declared structure, and so the file's format, does not mention them.
#include <string>

#include "runtime/store/sqlite_db.h"
#include "runtime/store/table_layout.h"

namespace vrt::store {

std::string sideIndexName(const TableLayout& layout, std::size_t index);

// Whether every side index is in the file.
bool sideIndexesPresent(sql::Database& db, const std::string& schemaName, const TableLayout& layout);
// Makes those that are missing from the records; SQLITE_OK when none was. Needs a writable file.
int ensureSideIndexes(sql::Database& db, const std::string& schemaName, const TableLayout& layout);

}  // namespace vrt::store
