// A data file on a PostgreSQL server: the same operations as on a file, each one statement
// with every value bound as a parameter.
#include "runtime/store/data_file_server.h"

#include "runtime/data/errors.h"
#include "runtime/expr/bindings.h"
#include "runtime/store/server_table.h"

namespace vrt {

namespace srv = store::server;

namespace {

// Rows read ahead in one round trip by a cursor's next and previous.
constexpr int kAhead = 32;

// What a statement that found its connection lost tells.
std::string lostConnectionText(const store::DataLocation& where, const pg::Connection* c) {
  std::string detail = c ? c->lastError() : std::string();
  if (const auto nl = detail.find('\n'); nl != std::string::npos) detail.resize(nl);
  std::string text = "The connection to the server for " + where.describe() + " was lost";
  if (!detail.empty()) text += " (" + detail + ")";
  // The server undoes a transaction whose connection went before it committed.
  if (c && c->lostInTransaction()) return text + ", and none of the changes begun were kept.";
  return text + ". Vespera connects again when the data is next used.";
}

}  // namespace

pg::Connection* DataFile::Server::connection() { return pg::serverConnection(f.location_); }

bool DataFile::Server::inTransaction() {
  pg::Connection* c = connection();
  return c && c->inTransaction();
}

void DataFile::Server::stopReading() { ahead.reset(); }

pg::Result DataFile::Server::read(const std::string& sql, const pg::Params& p) {
  pg::Connection* c = connection();
  if (!c) return pg::Result();
  const bool inside = c->inTransaction();
  // Prepared once per connection: a page read is then only run, not planned again.
  pg::Result r = c->run("read", sql, p);
  if (!r.ok() && !inside && c->broken() && c->reconnect()) r = c->run("read", sql, p);
  return r;
}

bool DataFile::Server::fail(const pg::Result& r, bool reading) {
  // Connecting again is left to the next use of the connection: now, as the server goes
  // away, it would fail, and a transaction lost with the connection must be ended first.
  pg::Connection* c = pg::currentConnection(f.location_);
  if (!c) return false;  // it could not be made, and serverConnection said why
  if (c->broken() || !r.handle()) {
    const std::string text = lostConnectionText(f.location_, c);
    setDriverError(0, text);
    threadError().text = text;
    return false;
  }
  const std::string state = r.sqlState();
  if (state == pg::kUniqueViolation) {
    const char* constraint = PQresultErrorField(r.handle(), PG_DIAG_CONSTRAINT_NAME);
    setError(kDuplicateKey);
    for (std::size_t k = 0; constraint && k < f.schema().keys.size(); ++k)
      if (srv::indexName(f.layout_, static_cast<int>(k)) == constraint)
        threadError().keyName = f.schema().keys[k].label;
  } else if (state == pg::kLockNotAvailable || state == pg::kDeadlock || state == pg::kSerializationFailure) {
    setError(reading ? kRecordHeld : kFileLocked);
  } else if (state == "42501" || state == "25006") {
    setError(kAccessDenied);
  } else {
    setDriverError(0, r.error());
  }
  return false;
}

// ---------------------------------------------------------------- making and opening

bool DataFile::Server::create() {
  pg::Connection* c = connection();
  if (!c) return false;
  std::string error;
  if (!srv::storedStructure(*c, f.sqlTable(), error).empty()) {
    setError(kAccessDenied, "Table already exists");
    return false;
  }
  if (!error.empty()) {
    setDriverError(0, error);
    return false;
  }
  const bool own = !c->inTransaction();
  if (own && !c->exec("BEGIN").ok()) return fail(pg::Result(), false);
  // Two stations starting on a new database make its tables one at a time; the second
  // finds the table the first made and uses it.
  if (!c->exec("SELECT pg_advisory_xact_lock(hashtext('vesp: making tables'))").ok()) {
    if (own) c->exec("ROLLBACK");
    return fail(pg::Result(), false);
  }
  // Looked for under a savepoint: on a database with no tables yet the look fails, which
  // would otherwise end the transaction.
  c->exec("SAVEPOINT vesp_look");
  const bool madeMeanwhile = !srv::storedStructure(*c, f.sqlTable(), error).empty();
  c->exec("ROLLBACK TO SAVEPOINT vesp_look");
  if (error.empty() && !madeMeanwhile) error = srv::createTable(*c, f.layout_);
  if (own) c->exec(error.empty() ? "COMMIT" : "ROLLBACK");
  if (!error.empty()) {
    setDriverError(0, error);
    return false;
  }
  return true;
}

bool DataFile::Server::open(OpenAccess access) {
  pg::Connection* c = connection();
  if (!c) return false;
  std::string error;
  const std::string stored = srv::storedStructure(*c, f.sqlTable(), error);
  if (!error.empty()) {
    setDriverError(0, error);
    return false;
  }
  if (stored.empty()) {
    setError(kFileNotFound);
    return false;
  }
  if (stored != f.layout_.structureText()) {
    setError(kInvalidRecordDeclaration);
    return false;
  }
  open_ = true;
  f.wordIndex_ = srv::hasWords(f.layout_);
  f.readOnly_ = access == OpenAccess::ReadOnly;
  f.current_ = {};
  *f.cursor_ = Cursor{};
  f.buffer_.clearAll(f.schema().fields);
  expr::bindRecord(f.schema(), f.buffer_);
  return true;
}

void DataFile::Server::close() {
  ahead.reset();
  releaseNumbering();
  if (streaming) {
    if (pg::Connection* c = connection()) c->exec("ROLLBACK");
    streaming = false;
  }
  open_ = false;
}

// ---------------------------------------------------------------- writing

namespace {

// Inside a transaction a failed statement would spoil the whole of it; each write stands
// in a savepoint of its own so that a refused write is undone alone, as on files.
class WriteStep {
 public:
  explicit WriteStep(pg::Connection& c) : c_(c), inside_(c.inTransaction()) {
    if (inside_) c_.exec("SAVEPOINT vesp_write");
  }
  void done(bool ok) {
    if (inside_) c_.exec(ok ? "RELEASE SAVEPOINT vesp_write" : "ROLLBACK TO SAVEPOINT vesp_write");
  }

 private:
  pg::Connection& c_;
  bool inside_;
};

}  // namespace

bool DataFile::Server::add() {
  ahead.reset();
  pg::Connection* c = connection();
  if (!c) return false;
  const int n = srv::writeCount(f.layout_);
  std::string marks;
  for (int i = 1; i <= n; ++i) marks += (i > 1 ? ",$" : "$") + std::to_string(i);
  pg::Params p;
  srv::addRecord(p, f.layout_, f.buffer_);
  std::string sql = "INSERT INTO " + srv::quotedTable(f.layout_) + " (" + srv::writeColumns(f.layout_) + ") VALUES (" +
                    marks + ") RETURNING _pos";
  if (srv::hasWords(f.layout_)) {
    // The record and its words in one statement: both are stored, or neither.
    srv::addWords(p, f.layout_, f.buffer_);
    sql = "WITH ins AS (" + sql + "), w AS (INSERT INTO " + sql::quoteIdent(srv::wordsTable(f.layout_)) +
          " SELECT ins._pos, x.c, x.w FROM ins, unnest($" + std::to_string(n + 1) + "::int[], $" +
          std::to_string(n + 2) + "::text[]) AS x(c, w)) SELECT _pos FROM ins";
  }
  WriteStep step(*c);
  pg::Result r = c->run("add." + f.sqlTable(), sql, p);
  step.done(r.ok());
  if (!r.ok() || r.rows() != 1) return fail(r, false);
  f.current_ = {r.int64(0, 0), 0};
  return true;
}

bool DataFile::Server::writeCurrent(const std::string& sql, pg::Params p, bool withWords) {
  ahead.reset();
  if (!f.hasCurrent()) {
    setError(kRecordNotFound);
    return false;
  }
  pg::Connection* c = connection();
  if (!c) return false;
  const int n = p.size();
  std::string text = sql + " WHERE _pos = $" + std::to_string(n + 1);
  p.add(f.current_.rowid);
  if (f.watched_) {
    text += " AND _changes = $" + std::to_string(n + 2);
    p.add(f.current_.changes);
  }
  if (withWords) {
    // The record's words change with it, in the same statement.
    srv::addWords(p, f.layout_, f.buffer_);
    const std::string words = sql::quoteIdent(srv::wordsTable(f.layout_));
    text = "WITH upd AS (" + text + " RETURNING _pos), d AS (DELETE FROM " + words +
           " WHERE pos IN (SELECT _pos FROM upd)), i AS (INSERT INTO " + words +
           " SELECT upd._pos, x.c, x.w FROM upd, unnest($" + std::to_string(p.size() - 1) + "::int[], $" +
           std::to_string(p.size()) + "::text[]) AS x(c, w)) SELECT count(*) FROM upd";
  }
  WriteStep step(*c);
  pg::Result r = c->exec(text, p);
  step.done(r.ok());
  if (!r.ok()) return fail(r, false);
  if ((withWords ? r.int64(0, 0) : r.affected()) == 0) {
    setError(f.watched_ ? kChangedByAnotherStation : kRecordNotFound);
    return false;
  }
  return true;
}

bool DataFile::Server::put() {
  const auto& cols = f.layout_.columns();
  std::string sets;
  int mark = 1;
  for (const auto& c : cols) sets += sql::quoteIdent(c.name) + " = $" + std::to_string(mark++) + ",";
  for (std::size_t i = 0; i < cols.size(); ++i)
    if (srv::hasFolded(f.layout_, static_cast<int>(i)))
      sets += sql::quoteIdent(srv::foldedName(f.layout_, static_cast<int>(i))) + " = $" + std::to_string(mark++) + ",";
  pg::Params p;
  srv::addRecord(p, f.layout_, f.buffer_);
  const bool ok = writeCurrent("UPDATE " + srv::quotedTable(f.layout_) + " SET " + sets + "_changes = _changes + 1",
                               std::move(p), srv::hasWords(f.layout_));
  if (ok) ++f.current_.changes;
  return ok;
}

bool DataFile::Server::erase() {
  const bool ok = writeCurrent("DELETE FROM " + srv::quotedTable(f.layout_), pg::Params());
  if (ok) f.current_ = {};
  return ok;
}

// One lock per table and schema: every station numbering the table queues on it.
bool DataFile::Server::holdNumbering() {
  pg::Connection* c = connection();
  if (!c) return false;
  pg::Params p;
  p.add(f.sqlTable());
  // Inside a transaction the number's record is not seen by others before the commit, so the
  // lock is kept until then; outside one it is the session's until releaseNumbering().
  const bool inside = c->inTransaction();
  pg::Result r = c->exec(std::string("SELECT ") + (inside ? "pg_advisory_xact_lock" : "pg_advisory_lock") +
                             "(hashtext('vesp numbers: ' || current_schema() || '.' || $1))",
                         p);
  if (!r.ok()) return fail(r, false);
  numberingHeld = !inside;
  if (numberingHeld) ++c->sessionLocks;
  return true;
}

void DataFile::Server::releaseNumbering() {
  if (!numberingHeld) return;
  numberingHeld = false;
  pg::Connection* c = connection();
  if (!c) return;
  pg::Params p;
  p.add(f.sqlTable());
  const bool let = c->exec("SELECT pg_advisory_unlock(hashtext('vesp numbers: ' || current_schema() || '.' || $1))", p).ok();
  if (let && c->sessionLocks > 0) --c->sessionLocks;
}

// ---------------------------------------------------------------- reading

bool DataFile::Server::readOne(const std::string& sql, const pg::Params& p, bool sequential) {
  pg::Result r = read(sql, p);
  if (!r.ok()) return fail(r, true);
  if (r.rows() == 0) {
    setError(sequential ? kRecordNotAvailable : kRecordNotFound);
    return false;
  }
  srv::readRecord(r, 0, f.layout_, f.buffer_, f.current_.rowid, f.current_.changes);
  return true;
}

bool DataFile::Server::getFirst(int key, int components) {
  ahead.reset();
  const auto cols = srv::keyOrderColumns(f.layout_, key);
  const auto values = f.layout_.keyValues(key, f.buffer_);
  const auto& comps = f.schema().keys[static_cast<std::size_t>(key)].components;
  std::string where;
  pg::Params p;
  for (int i = 0; i < components; ++i) {
    where += (i ? " AND " : "") + cols[static_cast<std::size_t>(i)] + " = $" + std::to_string(i + 1);
    srv::addKeyValue(p, f.layout_, comps[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(i)]);
  }
  return readOne("SELECT " + srv::selectList(f.layout_) + " FROM " + srv::quotedTable(f.layout_) + " WHERE " + where +
                     " ORDER BY _pos LIMIT 1",
                 p, false);
}

bool DataFile::Server::getByRowid(std::int64_t rowid) {
  pg::Params p;
  p.add(rowid);
  return readOne("SELECT " + srv::selectList(f.layout_) + " FROM " + srv::quotedTable(f.layout_) + " WHERE _pos = $1", p,
                 false);
}

bool DataFile::Server::peekAt(std::int64_t rowid, RecordBuffer& into) {
  pg::Params p;
  p.add(rowid);
  pg::Result r =
      read("SELECT " + srv::selectList(f.layout_) + " FROM " + srv::quotedTable(f.layout_) + " WHERE _pos = $1", p);
  if (!r.ok()) return fail(r, true);
  if (r.rows() == 0) {
    setError(kRecordNotFound);
    return false;
  }
  std::int64_t pos = 0, changes = 0;
  srv::readRecord(r, 0, f.layout_, into, pos, changes);
  return true;
}

bool DataFile::Server::seek(bool forward) {
  Cursor& cur = *f.cursor_;
  if (ahead && (ahead->forward != forward || ahead->key != cur.key)) ahead.reset();
  if (!ahead || (ahead->next >= ahead->rows.rows() && ahead->more)) {
    ahead.reset();
    const bool fileOrder = cur.key == kFileOrder;
    const bool unique = !fileOrder && f.schema().keys[static_cast<std::size_t>(cur.key)].unique;
    std::vector<std::string> cols;
    if (!fileOrder) cols = srv::keyOrderColumns(f.layout_, cur.key);
    if (fileOrder || !unique) cols.push_back("_pos");
    const std::vector<bool> desc(cols.size(), false);
    std::string where;
    pg::Params p;
    bool none = false;
    if (cur.anchor == Cursor::Anchor::Start) {
      none = !forward;
    } else if (cur.anchor == Cursor::Anchor::End) {
      none = forward;
    } else if (fileOrder) {
      if (cur.rowid) {
        where = srv::beyond(cols, desc, forward, cur.inclusive, 1);
        p.add(*cur.rowid);
      }
    } else {
      const auto& comps = f.schema().keys[static_cast<std::size_t>(cur.key)].components;
      std::vector<std::string> anchorCols(cols.begin(), cols.begin() + static_cast<std::ptrdiff_t>(comps.size()));
      for (std::size_t i = 0; i < comps.size() && i < cur.values.size(); ++i)
        srv::addKeyValue(p, f.layout_, comps[i], cur.values[i]);
      if (!unique && cur.rowid) {
        anchorCols.push_back("_pos");
        p.add(*cur.rowid);
      }
      where = srv::beyond(anchorCols, std::vector<bool>(anchorCols.size(), false), forward, cur.inclusive, 1);
    }
    if (!none) {
      const std::string sql = "SELECT " + srv::selectList(f.layout_) + " FROM " + srv::quotedTable(f.layout_) +
                              (where.empty() ? "" : " WHERE " + where) + srv::orderBy(cols, desc, !forward) +
                              " LIMIT " + std::to_string(kAhead);
      pg::Result r = read(sql, p);
      if (!r.ok()) return fail(r, true);
      ahead = Ahead{forward, cur.key, std::move(r), 0, false};
      ahead->more = ahead->rows.rows() == kAhead;
    }
  }
  if (ahead && ahead->next < ahead->rows.rows()) {
    srv::readRecord(ahead->rows, ahead->next++, f.layout_, f.buffer_, f.current_.rowid, f.current_.changes);
    if (cur.key != kFileOrder) cur.values = f.layout_.keyValues(cur.key, f.buffer_);
    cur.rowid = f.current_.rowid;
    cur.anchor = Cursor::Anchor::At;
    cur.inclusive = false;
    return true;
  }
  ahead.reset();
  setError(kRecordNotAvailable);
  cur.anchor = forward ? Cursor::Anchor::End : Cursor::Anchor::Start;
  cur.values.clear();
  return false;
}

// ---------------------------------------------------------------- counts and the rest

std::int64_t DataFile::Server::records() {
  pg::Result r = read("SELECT count(*) FROM " + srv::quotedTable(f.layout_));
  if (!r.ok()) {
    fail(r, true);
    return 0;
  }
  return r.int64(0, 0);
}

std::int64_t DataFile::Server::bytes() {
  pg::Connection* c = connection();
  if (!c) return 0;
  pg::Params p;
  p.add(f.sqlTable());
  pg::Result r = c->exec("SELECT pg_total_relation_size(quote_ident($1)::regclass)", p);
  return r.ok() && r.rows() ? r.int64(0, 0) : 0;
}

bool DataFile::Server::duplicates(int key) {
  const KeyDesc& k = f.schema().keys[static_cast<std::size_t>(key)];
  if (!k.unique) return false;
  pg::Connection* c = connection();
  if (!c) return false;
  const auto cols = srv::keyOrderColumns(f.layout_, key);
  const auto values = f.layout_.keyValues(key, f.buffer_);
  std::string where;
  pg::Params p;
  for (std::size_t i = 0; i < cols.size(); ++i) {
    where += cols[i] + " = $" + std::to_string(i + 1) + " AND ";
    srv::addKeyValue(p, f.layout_, k.components[i], values[i]);
  }
  p.add(f.current_.rowid);
  pg::Result r = read("SELECT 1 FROM " + srv::quotedTable(f.layout_) + " WHERE " + where + "_pos <> $" +
                             std::to_string(cols.size() + 1) + " LIMIT 1",
                         p);
  return r.ok() && r.rows() > 0;
}

bool DataFile::Server::distinctNumbers(int where, std::int64_t value, int field, std::vector<std::int64_t>& out) {
  pg::Connection* c = connection();
  if (!c) return false;
  const auto& cols = f.layout_.columns();
  const std::string w = sql::quoteIdent(cols[static_cast<std::size_t>(f.layout_.columnOfField(where))].name);
  const std::string col = sql::quoteIdent(cols[static_cast<std::size_t>(f.layout_.columnOfField(field))].name);
  pg::Params p;
  p.add(value);
  pg::Result r = read(
      "SELECT DISTINCT " + col + " FROM " + srv::quotedTable(f.layout_) + " WHERE " + w + " = $1 ORDER BY " + col, p);
  if (!r.ok()) return fail(r, true);
  for (int i = 0; i < r.rows(); ++i) out.push_back(r.int64(i, 0));
  return true;
}

bool DataFile::Server::stream() {
  pg::Connection* c = connection();
  if (!c) return false;
  if (c->inTransaction()) return true;  // already inside one
  pg::Result r = c->exec("BEGIN");
  if (!r.ok()) return fail(r, false);
  streaming = true;
  return true;
}

bool DataFile::Server::flush() {
  ahead.reset();
  if (!streaming) return true;
  streaming = false;
  pg::Connection* c = connection();
  if (!c) return false;
  pg::Result r = c->exec("COMMIT");
  // A transaction the server had already given up commits as a rollback: that is a failure.
  if (!r.ok() || std::string_view(PQcmdStatus(r.handle())) != "COMMIT") {
    if (r.ok()) {
      setDriverError(0, "The server undid the batch of changes");
      return false;
    }
    return fail(r, false);
  }
  return true;
}

std::optional<std::int64_t> DataFile::Server::storedChanges(std::int64_t rowid) {
  pg::Connection* c = connection();
  if (!c) return std::nullopt;
  pg::Params p;
  p.add(rowid);
  pg::Result r = read("SELECT _changes FROM " + srv::quotedTable(f.layout_) + " WHERE _pos = $1", p);
  if (!r.ok() || r.rows() == 0) return std::nullopt;
  return r.int64(0, 0);
}

}  // namespace vrt
