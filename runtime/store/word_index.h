#pragma once
// The word index of a table that declares search fields: an FTS5 table over those columns,
// kept in step with the records by triggers (so every write, in or out of a transaction,
// changes both or neither), folding case and accents as the word search does. The table's
// own columns and keys stay exactly as they are; the index can always be rebuilt from them.
#include <string>
#include <vector>

#include "runtime/store/sqlite_db.h"
#include "runtime/store/table_layout.h"

namespace vrt::store {

bool hasSearchFields(const TableLayout& layout);
std::string wordIndexTable(const TableLayout& layout);

// Whether the index and its triggers are all in the file.
bool wordIndexPresent(sql::Database& db, const TableLayout& layout);
// Creates what is missing and fills the index from the records; SQLITE_OK when nothing was
// missing. Needs a writable file.
int ensureWordIndex(sql::Database& db, const TableLayout& layout);
// Drops and makes the index again from the records.
int rebuildWordIndex(sql::Database& db, const TableLayout& layout);

// The query text that finds the records where every word of `words` starts a word of one of
// `fields` (indexes into the schema's fields, all of them search fields); empty when
// `words` holds no word.
std::string wordQuery(const TableLayout& layout, const std::string& words, const std::vector<int>& fields);
// The SQL condition on the table's rows for one bound query text.
std::string wordCondition(const TableLayout& layout, const std::string& mark);

}  // namespace vrt::store
