#include "runtime/store/side_index.h"

namespace vrt::store {

std::string sideIndexName(const TableLayout& layout, std::size_t index) {
  std::string name = layout.sqlTable() + "__side";
  for (int f : layout.schema().sideIndexes[index]) {
    const int c = layout.columnOfField(f);
    name += "_" + (c >= 0 ? layout.columns()[static_cast<std::size_t>(c)].name : std::to_string(f));
  }
  return name;
}

bool sideIndexesPresent(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  const auto& indexes = layout.schema().sideIndexes;
  if (indexes.empty()) return true;
  sql::Statement s(db.handle(),
                   "SELECT 1 FROM " + sql::quoteIdent(schemaName) + ".sqlite_schema WHERE type = 'index' AND name = ?",
                   false);
  if (!s.ok()) return false;
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    const std::string name = sideIndexName(layout, i);
    s.bind(1, std::string_view(name));
    const bool found = s.step() == SQLITE_ROW;
    s.reset();
    if (!found) return false;
  }
  return true;
}

int ensureSideIndexes(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  const auto& indexes = layout.schema().sideIndexes;
  if (sideIndexesPresent(db, schemaName, layout)) return SQLITE_OK;  // no write, no lock
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    std::string columns;
    for (int f : indexes[i]) {
      const int c = layout.columnOfField(f);
      if (c < 0) return SQLITE_MISUSE;  // a group has no column of its own
      columns += (columns.empty() ? "" : ",") + sql::quoteIdent(layout.columns()[static_cast<std::size_t>(c)].name);
    }
    // The columns' own collations, so that the index serves the same comparisons as the keys.
    const int rc = db.exec("CREATE INDEX IF NOT EXISTS " + sql::quoteIdent(schemaName) + "." +
                           sql::quoteIdent(sideIndexName(layout, i)) + " ON " + sql::quoteIdent(layout.sqlTable()) +
                           " (" + columns + ")");
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace vrt::store
