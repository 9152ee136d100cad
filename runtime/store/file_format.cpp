#include "runtime/store/file_format.h"

#include "runtime/store/side_index.h"
#include "runtime/store/word_index.h"

namespace vrt::store {

namespace {

std::string qualified(const std::string& schemaName, const std::string& name) {
  return sql::quoteIdent(schemaName) + "." + sql::quoteIdent(name);
}

}  // namespace

int createCountTriggers(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  const std::string& t = layout.sqlTable();
  const std::string update = "UPDATE " + std::string(kMetaTable) + " SET value = value %s 1 WHERE tbl = " +
                             sql::quoteText(t) + " AND name = 'records';";
  auto body = [&](const char* sign) {
    std::string b = update;
    b.replace(b.find("%s"), 2, sign);
    return b;
  };
  int rc = db.exec("CREATE TRIGGER " + qualified(schemaName, t + "__added") + " AFTER INSERT ON " +
                   sql::quoteIdent(t) + " BEGIN " + body("+") + " END");
  if (rc != SQLITE_OK) return rc;
  return db.exec("CREATE TRIGGER " + qualified(schemaName, t + "__deleted") + " AFTER DELETE ON " +
                 sql::quoteIdent(t) + " BEGIN " + body("-") + " END");
}

int createIndexes(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  for (const auto& s : layout.createIndexSql(schemaName))
    if (int rc = db.exec(s); rc != SQLITE_OK) return rc;
  return SQLITE_OK;
}

int createTable(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  int rc = db.exec("CREATE TABLE IF NOT EXISTS " + qualified(schemaName, kMetaTable) +
                   " (tbl TEXT NOT NULL, name TEXT NOT NULL, value, PRIMARY KEY (tbl, name)) WITHOUT ROWID");
  if (rc == SQLITE_OK) rc = db.exec(layout.createTableSql(schemaName));
  if (rc == SQLITE_OK) rc = createIndexes(db, schemaName, layout);
  if (rc == SQLITE_OK) rc = writeStructure(db, schemaName, layout);
  if (rc == SQLITE_OK) rc = createCountTriggers(db, schemaName, layout);
  if (rc == SQLITE_OK) rc = ensureSideIndexes(db, schemaName, layout);
  if (rc == SQLITE_OK && schemaName == "main") rc = ensureWordIndex(db, layout);
  return rc;
}

int writeStructure(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  const std::string t = sql::quoteText(layout.sqlTable());
  const std::string meta = qualified(schemaName, kMetaTable);
  return db.exec("INSERT OR REPLACE INTO " + meta + " VALUES (" + t + ", 'structure', " +
                 sql::quoteText(layout.structureText()) + ");" + "INSERT OR REPLACE INTO " + meta + " VALUES (" + t +
                 ", 'version', " + std::to_string(layout.schema().version) + ");" + "INSERT OR REPLACE INTO " + meta +
                 " VALUES (" + t + ", 'records', (SELECT count(*) FROM " +
                 qualified(schemaName, layout.sqlTable()) + "))");
}

std::optional<std::string> storedStructure(sql::Database& db, const std::string& schemaName,
                                           const std::string& sqlTable, int& rc) {
  sql::Statement s(db.handle(),
                   "SELECT value FROM " + qualified(schemaName, kMetaTable) + " WHERE tbl = ? AND name = 'structure'",
                   false);
  if (!s.ok()) {
    rc = s.prepareResult();
    // A file without our metadata table simply does not hold the table.
    if (rc == SQLITE_ERROR) rc = SQLITE_OK;
    return std::nullopt;
  }
  s.bind(1, std::string_view(sqlTable));
  rc = s.step();
  if (rc == SQLITE_ROW) {
    rc = SQLITE_OK;
    std::string text(s.text(0));
    // The table itself must be there too.
    sql::Statement t(db.handle(),
                     "SELECT 1 FROM " + qualified(schemaName, "sqlite_schema") + " WHERE type = 'table' AND name = ?",
                     false);
    if (!t.ok()) {
      rc = t.prepareResult();
      return std::nullopt;
    }
    t.bind(1, std::string_view(sqlTable));
    const int found = t.step();
    if (found == SQLITE_ROW) return text;
    if (found != SQLITE_DONE) rc = found;
    return std::nullopt;
  }
  if (rc == SQLITE_DONE) rc = SQLITE_OK;
  return std::nullopt;
}

bool indexesPresent(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  sql::Statement s(db.handle(),
                   "SELECT 1 FROM " + qualified(schemaName, "sqlite_schema") +
                       " WHERE type = 'index' AND name = ? AND tbl_name = ?",
                   false);
  if (!s.ok()) return false;
  for (std::size_t k = 0; k < layout.schema().keys.size(); ++k) {
    const std::string name = layout.indexName(static_cast<int>(k));
    s.bind(1, std::string_view(name));
    s.bind(2, std::string_view(layout.sqlTable()));
    const bool found = s.step() == SQLITE_ROW;
    s.reset();
    if (!found) return false;
  }
  return true;
}

}  // namespace vrt::store
