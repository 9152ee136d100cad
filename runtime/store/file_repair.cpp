#include "runtime/store/file_repair.h"

#include <cstdio>

#include "runtime/data/errors.h"
#include "runtime/store/file_format.h"
#include "runtime/store/side_index.h"
#include "runtime/store/word_index.h"

namespace vrt::store {

namespace {

std::string qualified(const std::string& schemaName, const std::string& name) {
  return sql::quoteIdent(schemaName) + "." + sql::quoteIdent(name);
}

// Drops and recreates the indexes in place.
int reindexInPlace(sql::Database& db, const TableLayout& layout) {
  int rc = db.exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return rc;
  std::vector<std::string> existing;
  {
    sql::Statement s(db.handle(),
                     "SELECT name FROM sqlite_schema WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL", false);
    if (!s.ok()) rc = s.prepareResult();
    else {
      s.bind(1, std::string_view(layout.sqlTable()));
      while ((rc = s.step()) == SQLITE_ROW) existing.emplace_back(s.text(0));
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
  }
  for (const auto& name : existing)
    if (rc == SQLITE_OK) rc = db.exec("DROP INDEX " + qualified("main", name));
  if (rc == SQLITE_OK) rc = createIndexes(db, "main", layout);
  if (rc == SQLITE_OK) rc = writeStructure(db, "main", layout);
  if (rc == SQLITE_OK) rc = db.exec("COMMIT");
  if (rc != SQLITE_OK) {
    const int keep = db.lastErrorCode();
    db.exec("ROLLBACK");
    return keep ? keep : rc;
  }
  return SQLITE_OK;
}

// Writes a new file from the old one's records and puts it in place.
int rewriteFromRecords(const std::string& path, const TableLayout& layout) {
  const std::string fresh = path + ".rebuild";
  std::remove(fresh.c_str());
  sql::Database db;
  int rc = db.open(fresh, false, true);
  if (rc == SQLITE_OK) rc = db.exec("ATTACH DATABASE " + sql::quoteText(path) + " AS src");
  if (rc == SQLITE_OK) rc = db.exec("BEGIN IMMEDIATE");
  if (rc == SQLITE_OK) rc = createTable(db, "main", layout);
  if (rc == SQLITE_OK) {
    const std::string cols = "_pos,_changes," + layout.columnList();
    rc = db.exec("INSERT INTO " + qualified("main", layout.sqlTable()) + " (" + cols + ") SELECT " + cols +
                 " FROM " + qualified("src", layout.sqlTable()) + " NOT INDEXED ORDER BY _pos");
  }
  if (rc == SQLITE_OK) rc = writeStructure(db, "main", layout);
  if (rc == SQLITE_OK) rc = db.exec("COMMIT");
  if (rc != SQLITE_OK) {
    sql::recordError(db, rc);
    db.close();
    std::remove(fresh.c_str());
    return errorCode();
  }
  db.exec("DETACH DATABASE src");
  db.close();
  if (std::rename(fresh.c_str(), path.c_str()) != 0) {
    std::remove(fresh.c_str());
    setError(kAccessDenied);
    return kAccessDenied;
  }
  std::remove((path + "-journal").c_str());
  return 0;
}

}  // namespace

bool recordsReadable(sql::Database& db, const std::string& schemaName, const TableLayout& layout) {
  sql::Statement s(db.handle(), "SELECT * FROM " + qualified(schemaName, layout.sqlTable()) + " NOT INDEXED", false);
  if (!s.ok()) return false;
  int rc;
  while ((rc = s.step()) == SQLITE_ROW) {
  }
  return rc == SQLITE_DONE;
}

int rebuildKeys(const std::string& path, const TableLayout& layout) {
  clearError();
  sql::Database db;
  int rc = db.open(path, false, false);
  if (rc != SQLITE_OK) return sql::recordError(db, rc);
  rc = reindexInPlace(db, layout);
  if (rc == SQLITE_OK) rc = ensureSideIndexes(db, "main", layout);
  if (rc == SQLITE_OK) rc = rebuildWordIndex(db, layout);
  if (rc == SQLITE_OK) return 0;
  const bool damaged = (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB;
  // Only a file of its own can be rewritten whole; the records must still read.
  const bool ownFile = !layout.sharesFile();
  if (!damaged || !ownFile || !recordsReadable(db, "main", layout)) return sql::recordError(db, rc);
  db.close();
  return rewriteFromRecords(path, layout);
}

CheckReport checkFile(const std::string& path, const TableLayout& layout) {
  CheckReport report;
  auto problem = [&report](std::string text) {
    report.ok = false;
    report.problems.push_back(std::move(text));
  };
  sql::Database db;
  if (int rc = db.open(path, true, false); rc != SQLITE_OK) {
    problem("cannot open: " + std::string(sqlite3_errstr(rc)));
    return report;
  }
  {
    sql::Statement s(db.handle(), "PRAGMA integrity_check(50)", false);
    if (!s.ok()) {
      problem(db.lastError());
      return report;
    }
    int rc;
    while ((rc = s.step()) == SQLITE_ROW)
      if (s.text(0) != "ok") problem(std::string(s.text(0)));
    if (rc != SQLITE_DONE) problem(db.lastError());
  }
  int rc = SQLITE_OK;
  const auto stored = storedStructure(db, "main", layout.sqlTable(), rc);
  if (!stored) problem("the table " + layout.sqlTable() + " is missing or not readable");
  else if (*stored != layout.structureText()) problem("the stored structure differs from the declared one");
  else if (!indexesPresent(db, "main", layout)) problem("an index is missing");
  else if (hasSearchFields(layout) && !wordIndexPresent(db, layout)) problem("the word index is missing");
  else if (!sideIndexesPresent(db, "main", layout)) problem("a side index is missing");
  return report;
}

}  // namespace vrt::store
