#pragma once
// The part of SQLite's integrity check that matches every index to its table, done with one
// sequential scan of each index and one of each table instead of a keyed seek per record
// and index. Together with `PRAGMA quick_check` (every page, every record, the free list)
// it finds what the full check finds, in a fraction of its time on large files.
//
// An index is sound when the (key columns, rowid) pairs it holds are exactly those its
// table's rows give, and a unique index holds no key twice. Pairs are compared as an
// order-free digest (a sum and an exclusive-or of a 64-bit hash per pair) and a count, so a
// missing, extra or changed entry shows; a digest collision needs two faults that cancel to
// the bit. Tables whose indexes this cannot read (expressions, partial indexes, tables
// without rowid that have secondary indexes) get SQLite's own check of that table.
#include <map>
#include <string>

#include "runtime/store/sqlite_db.h"

namespace vrt::store {

// Rows of every table of the file, by name; filled as the tables are scanned.
using RowCounts = std::map<std::string, std::int64_t>;

// Checks every index of the file `db` has open, inside the caller's read transaction if it
// holds one. Returns "" or what is wrong, one "; "-separated sentence per fault (at most
// `maxFaults`). `rows` receives each table's row count.
std::string checkIndexes(sql::Database& db, RowCounts& rows, int maxFaults = 20);

}  // namespace vrt::store
