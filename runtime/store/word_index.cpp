#include "runtime/store/word_index.h"

#include "runtime/text/search_words.h"

namespace vrt::store {

namespace {

std::vector<std::string> indexedColumns(const TableLayout& layout) {
  std::vector<std::string> names;
  for (int f : layout.schema().searchFields) {
    const int c = layout.columnOfField(f);
    if (c >= 0) names.push_back(layout.columns()[static_cast<std::size_t>(c)].name);
  }
  return names;
}

std::string joined(const std::vector<std::string>& parts, const std::string& before, const std::string& separator) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : separator) + before + sql::quoteIdent(p);
  return out;
}

const char* const kTriggerSuffixes[] = {"__words_added", "__words_deleted", "__words_changed"};

}  // namespace

bool hasSearchFields(const TableLayout& layout) { return !indexedColumns(layout).empty(); }

std::string wordIndexTable(const TableLayout& layout) { return layout.sqlTable() + "__words"; }

bool wordIndexPresent(sql::Database& db, const TableLayout& layout) {
  sql::Statement s(db.handle(), "SELECT count(*) FROM main.sqlite_schema WHERE name IN (?, ?, ?, ?)", false);
  if (!s.ok()) return false;
  const std::string index = wordIndexTable(layout);
  s.bind(1, std::string_view(index));
  std::vector<std::string> triggers;
  for (const char* suffix : kTriggerSuffixes) triggers.push_back(layout.sqlTable() + suffix);
  for (int i = 0; i < 3; ++i) s.bind(i + 2, std::string_view(triggers[static_cast<std::size_t>(i)]));
  return s.step() == SQLITE_ROW && s.int64(0) == 4;
}

int rebuildWordIndex(sql::Database& db, const TableLayout& layout) {
  const std::vector<std::string> columns = indexedColumns(layout);
  if (columns.empty()) return SQLITE_OK;
  const std::string table = sql::quoteIdent(layout.sqlTable()), index = sql::quoteIdent(wordIndexTable(layout));
  std::string sql;
  for (const char* suffix : kTriggerSuffixes)
    sql += "DROP TRIGGER IF EXISTS main." + sql::quoteIdent(layout.sqlTable() + suffix) + ";";
  sql += "DROP TABLE IF EXISTS main." + index + ";";
  // Case and accents folded as the word search folds them; the rows' own text is the content.
  sql += "CREATE VIRTUAL TABLE main." + index + " USING fts5(" + joined(columns, "", ", ") + ", content=" +
         sql::quoteText(layout.sqlTable()) + ", content_rowid='rowid', tokenize='unicode61 remove_diacritics 2');";
  const std::string all = joined(columns, "", ", ");
  const std::string fresh = joined(columns, "new.", ", "), old = joined(columns, "old.", ", ");
  const std::string add = "INSERT INTO " + index + " (rowid, " + all + ") VALUES (new.rowid, " + fresh + ");";
  const std::string remove =
      "INSERT INTO " + index + " (" + index + ", rowid, " + all + ") VALUES ('delete', old.rowid, " + old + ");";
  sql += "CREATE TRIGGER main." + sql::quoteIdent(layout.sqlTable() + kTriggerSuffixes[0]) + " AFTER INSERT ON " +
         table + " BEGIN " + add + " END;";
  sql += "CREATE TRIGGER main." + sql::quoteIdent(layout.sqlTable() + kTriggerSuffixes[1]) + " AFTER DELETE ON " +
         table + " BEGIN " + remove + " END;";
  sql += "CREATE TRIGGER main." + sql::quoteIdent(layout.sqlTable() + kTriggerSuffixes[2]) + " AFTER UPDATE ON " +
         table + " BEGIN " + remove + add + " END;";
  sql += "INSERT INTO " + index + " (" + index + ") VALUES ('rebuild');";
  const bool own = !db.inTransaction();
  if (own && db.exec("SAVEPOINT word_index") != SQLITE_OK) return db.lastErrorCode();
  int rc = db.exec(sql);
  if (own) db.exec(rc == SQLITE_OK ? "RELEASE word_index" : "ROLLBACK TO word_index; RELEASE word_index");
  return rc;
}

int ensureWordIndex(sql::Database& db, const TableLayout& layout) {
  if (!hasSearchFields(layout) || wordIndexPresent(db, layout)) return SQLITE_OK;
  return rebuildWordIndex(db, layout);
}

std::string wordQuery(const TableLayout& layout, const std::string& words, const std::vector<int>& fields) {
  std::string terms;
  for (const std::string& w : searchWords(words)) terms += (terms.empty() ? "" : " AND ") + sql::quoteIdent(w) + "*";
  if (terms.empty()) return {};
  std::vector<std::string> columns;
  for (int f : fields) {
    const int c = layout.columnOfField(f);
    if (c >= 0) columns.push_back(layout.columns()[static_cast<std::size_t>(c)].name);
  }
  return "{" + joined(columns, "", " ") + "} : (" + terms + ")";
}

std::string wordCondition(const TableLayout& layout, const std::string& mark) {
  const std::string index = sql::quoteIdent(wordIndexTable(layout));
  return "rowid IN (SELECT rowid FROM main." + index + " WHERE " + index + " MATCH " + mark + ")";
}

}  // namespace vrt::store
