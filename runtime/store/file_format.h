#pragma once
// What a data file holds besides its records: the metadata table with each table's declared
// structure, version and record count, and the triggers that keep the count. Shared by
// creating, opening, upgrading and repairing files.
#include <optional>
#include <string>

#include "runtime/store/sqlite_db.h"
#include "runtime/store/table_layout.h"

namespace vrt::store {

inline constexpr const char* kMetaTable = "_vesp_meta";

// Creates the table, its indexes, its metadata and its count triggers in `schemaName`
// of `db`. Runs inside the caller's transaction. Returns the SQLite result code.
int createTable(sql::Database& db, const std::string& schemaName, const TableLayout& layout);
// Just the indexes, for a rebuild.
int createIndexes(sql::Database& db, const std::string& schemaName, const TableLayout& layout);
// The structure text stored for `sqlTable`; nullopt when the file does not hold the table
// (or is not one of ours). `rc` receives the SQLite result of the lookup.
std::optional<std::string> storedStructure(sql::Database& db, const std::string& schemaName,
                                           const std::string& sqlTable, int& rc);
// Records a (new) structure and the current record count for `sqlTable`.
int writeStructure(sql::Database& db, const std::string& schemaName, const TableLayout& layout);
// The triggers that keep the record count.
int createCountTriggers(sql::Database& db, const std::string& schemaName, const TableLayout& layout);
// Whether every declared index exists in the file.
bool indexesPresent(sql::Database& db, const std::string& schemaName, const TableLayout& layout);

}  // namespace vrt::store
