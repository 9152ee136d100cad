#include "runtime/store/server_upgrade.h"

#include "runtime/data/errors.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/server_table.h"

namespace vrt::store::server {

namespace {

// Records carried per round trip, and between two reports of progress.
constexpr int kBatch = 250;

// The conversion's transaction: its own, or a savepoint inside the caller's. Until finish()
// succeeds, everything it did is undone when it ends.
class Converting {
 public:
  explicit Converting(pg::Connection& c) : c_(c), own_(!c.inTransaction()) {}
  ~Converting() {
    if (open_) c_.exec(own_ ? "ROLLBACK" : "ROLLBACK TO SAVEPOINT vesp_convert");
  }
  Converting(const Converting&) = delete;
  Converting& operator=(const Converting&) = delete;

  bool begin() { return open_ = c_.exec(own_ ? "BEGIN" : "SAVEPOINT vesp_convert").ok(); }
  // Undoes the work and records why; returns the error code.
  int fail(const std::string& why) {
    c_.exec(own_ ? "ROLLBACK" : "ROLLBACK TO SAVEPOINT vesp_convert");
    open_ = false;
    setDriverError(0, why);
    return errorCode();
  }
  int finish() {
    pg::Result r = c_.exec(own_ ? "COMMIT" : "RELEASE SAVEPOINT vesp_convert");
    open_ = false;
    // A transaction the server had already given up answers a commit with a rollback.
    if (!r.ok() || (own_ && std::string_view(PQcmdStatus(r.handle())) != "COMMIT")) {
      setDriverError(0, r.ok() ? std::string("The server undid the conversion") : r.error());
      return errorCode();
    }
    return 0;
  }

 private:
  pg::Connection& c_;
  bool own_;
  bool open_ = false;
};

std::string marks(int first, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (i ? ",$" : "$") + std::to_string(first + i);
  return out;
}

// Carries every record of `old` (the table set aside) into the new table, in position order.
std::string carryRecords(pg::Connection& c, const TableLayout& old, const TableLayout& target,
                         const ConvertProgress& progress, const RecordAdjust& adjust) {
  pg::Result counted = c.exec("SELECT count(*) FROM " + quotedTable(old));
  if (!counted.ok()) return counted.error();
  const std::int64_t total = counted.int64(0, 0);
  if (progress) progress(target.schema().label, 0, total);

  const RecordConversion conversion(old.schema(), target.schema());
  RecordBuffer src(old.schema().recordSize), dst(target.schema().recordSize);
  const std::string read = "SELECT " + selectList(old) + " FROM " + quotedTable(old) +
                           " WHERE _pos > $1 ORDER BY _pos LIMIT " + std::to_string(kBatch);
  const int columns = 2 + writeCount(target);
  const std::string insert = "INSERT INTO " + quotedTable(target) + " (_pos,_changes," + writeColumns(target) + ") VALUES ";
  const bool words = hasWords(target);
  std::int64_t last = 0, done = 0;
  for (;;) {
    pg::Params at;
    at.add(last);
    pg::Result rows = c.exec(read, at);
    if (!rows.ok()) return rows.error();
    if (rows.rows() == 0) break;
    pg::Params values;
    std::string tuples;
    std::vector<std::string> wordPos, wordCol, wordText;
    for (int row = 0; row < rows.rows(); ++row) {
      std::int64_t pos = 0, changes = 0;
      readRecord(rows, row, old, src, pos, changes);
      conversion.apply(src, dst);
      if (adjust) adjust(old.schema(), src, dst);
      values.add(pos).add(changes);
      addRecord(values, target, dst);
      tuples += (row ? ",(" : "(") + marks(row * columns + 1, columns) + ")";
      if (words)
        for (auto& [field, word] : recordWords(target, dst)) {
          wordPos.push_back(std::to_string(pos));
          wordCol.push_back(std::to_string(field));
          wordText.push_back(std::move(word));
        }
      last = pos;
    }
    pg::Result written = c.exec(insert + tuples, values);
    if (!written.ok()) return written.error();
    if (!wordPos.empty()) {
      pg::Params w;
      w.add(arrayText(wordPos)).add(arrayText(wordCol)).add(arrayText(wordText));
      pg::Result indexed = c.exec("INSERT INTO " + sql::quoteIdent(wordsTable(target)) +
                                      " (pos, col, word) SELECT * FROM unnest($1::bigint[], $2::int[], $3::text[])",
                                  w);
      if (!indexed.ok()) return indexed.error();
    }
    done += rows.rows();
    if (progress) progress(target.schema().label, done, total);
  }
  // New records go on numbering their positions after the highest carried.
  pg::Params table;
  table.add(quotedTable(target));
  pg::Result numbered = c.exec("SELECT setval(pg_get_serial_sequence($1, '_pos'), m) FROM (SELECT max(_pos) AS m FROM " +
                                   quotedTable(target) + ") s WHERE m IS NOT NULL",
                               table);
  return numbered.ok() ? std::string() : numbered.error();
}

}  // namespace

std::optional<TableSchema> storedSchema(const DataLocation& at, const std::string& sqlTable) {
  pg::Connection* c = pg::serverConnection(at);
  if (!c) return std::nullopt;
  std::string error;
  const std::string text = storedStructure(*c, sqlTable, error);
  if (!error.empty()) setDriverError(0, error);
  if (text.empty()) return std::nullopt;
  return TableLayout::parseStructure(text);
}

bool needsConversion(const DataLocation& at, const TableLayout& target) {
  pg::Connection* c = pg::serverConnection(at);
  if (!c) return false;
  std::string error;
  const std::string stored = storedStructure(*c, target.sqlTable(), error);
  return !stored.empty() && stored != target.structureText();
}

int convertTable(const DataLocation& at, const TableLayout& target, const ConvertProgress& progress,
                 const RecordAdjust& adjust) {
  clearError();
  pg::Connection* c = pg::serverConnection(at);
  if (!c) return errorCode();
  Converting work(*c);
  if (!work.begin()) return work.fail(c->lastError());
  // One station converts at a time (the lock that making tables takes); one that waited
  // finds the table converted and has nothing left to do.
  if (pg::Result r = c->exec("SELECT pg_advisory_xact_lock(hashtext('vesp: making tables'))"); !r.ok())
    return work.fail(r.error());
  std::string error;
  const std::string stored = storedStructure(*c, target.sqlTable(), error);
  if (!error.empty()) return work.fail(error);
  if (stored == target.structureText()) return work.finish();
  auto oldSchema = stored.empty() ? std::nullopt : TableLayout::parseStructure(stored);
  if (!oldSchema) {
    work.fail("");
    setError(kInvalidRecordDeclaration);
    return errorCode();
  }
  oldSchema->label = target.schema().label;
  const std::string aside = target.sqlTable() + "__converting";
  const TableLayout old(*oldSchema, aside, "");

  // The old table steps aside without the indexes and word index whose names the new one
  // takes; its primary key and position numbering go with it.
  pg::Params table;
  table.add(sql::quoteIdent(target.sqlTable()));
  pg::Result indexes = c->exec(
      "SELECT i.relname FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
      "WHERE x.indrelid = to_regclass($1) AND NOT x.indisprimary",
      table);
  if (!indexes.ok()) return work.fail(indexes.error());
  std::vector<std::string> steps;
  for (int i = 0; i < indexes.rows(); ++i) steps.push_back("DROP INDEX " + sql::quoteIdent(std::string(indexes.text(i, 0))));
  steps.push_back("DROP TABLE IF EXISTS " + sql::quoteIdent(wordsTable(target)));
  steps.push_back("DROP TABLE IF EXISTS " + quotedTable(old));
  steps.push_back("ALTER TABLE " + quotedTable(target) + " RENAME TO " + quotedTable(old));
  for (const auto& s : steps)
    if (pg::Result r = c->exec(s); !r.ok()) return work.fail(r.error());

  // The new table records the declared structure and version as it is made.
  if (error = createTable(*c, target); !error.empty()) return work.fail(error);
  if (error = carryRecords(*c, old, target, progress, adjust); !error.empty()) return work.fail(error);
  if (pg::Result r = c->exec("DROP TABLE " + quotedTable(old)); !r.ok()) return work.fail(r.error());
  return work.finish();
}

}  // namespace vrt::store::server
