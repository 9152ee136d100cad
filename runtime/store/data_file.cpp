#include "runtime/store/data_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "runtime/expr/bindings.h"
#include "runtime/data/errors.h"
#include "runtime/store/file_format.h"
#include "runtime/store/file_repair.h"
#include "runtime/store/position_codec.h"

namespace vrt {

using store::KeyValue;

namespace {

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Permitted means both what the system allows and what the file's own permissions say, so
// that a file marked read-only stays read-only even for a user the system lets write anywhere.
bool permitted(const std::string& path, int how, mode_t bits) {
  struct stat st;
  return ::access(path.c_str(), how) == 0 && ::stat(path.c_str(), &st) == 0 && (st.st_mode & bits) != 0;
}
bool writable(const std::string& path) { return permitted(path, W_OK, 0222); }
bool readable(const std::string& path) { return permitted(path, R_OK, 0444); }

std::string directoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// Splits a name into the file's path and the table's name inside it.
void splitName(const std::string& name, const std::string& label, std::string& path, std::string& table,
               bool& multi) {
  const auto bang = name.find("\\!");
  multi = bang != std::string::npos;
  if (multi) {
    path = name.substr(0, bang);
    table = name.substr(bang + 2);
    return;
  }
  table = label;
  if (name.empty()) path = label + ".vdb";
  else if (name.find('.', name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/')) != std::string::npos)
    path = name;
  else path = name + ".vdb";
}

}  // namespace

struct DataFile::Route {
  sql::Database* db;
  std::string schemaName;
  std::map<std::string, sql::Statement> statements;
};

DataFile::DataFile(const TableSchema& schema, std::string name)
    : layout_(schema, "", ""), buffer_(schema.recordSize), cursor_(std::make_unique<Cursor>()) {
  std::string table;
  splitName(name, schema.label, path_, table, multiTable_);
  layout_ = store::TableLayout(schema, table, multiTable_ ? table + "_" : "");
  buffer_.clearAll(schema.fields);
}

DataFile::~DataFile() { close(); }

// ---------------------------------------------------------------- errors

bool DataFile::fail(int rc, bool reading) {
  sql::Database* db = route().db;
  const int primary = rc & 0xFF;
  const std::string text = db && db->isOpen() ? db->lastError() : sqlite3_errstr(rc);
  switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      setError(reading ? kRecordHeld : kFileLocked);
      break;
    case SQLITE_CONSTRAINT: {
      if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        const int key = firstDuplicateKey();
        setError(kDuplicateKey);
        if (key >= 0) threadError().keyName = schema().keys[static_cast<std::size_t>(key)].label;
      } else {
        setDriverError(rc, text);
      }
      break;
    }
    case SQLITE_READONLY:
      setError(kAccessDenied);
      break;
    case SQLITE_CORRUPT:
      // Records that still read in full mean only the keys are damaged: a rebuild mends them.
      if (store::recordsReadable(*db, route().schemaName, layout_)) setError(kInvalidKey);
      else setDriverError(rc, text);
      break;
    default:
      setDriverError(rc, text);
  }
  return false;
}

bool DataFile::requireOpen(bool forWrite) {
  if (!isOpen()) {
    setError(kFileNotOpen);
    return false;
  }
  if (forWrite && readOnly_) {
    setError(kAccessDenied);
    return false;
  }
  clearError();
  return true;
}

// ---------------------------------------------------------------- statements

DataFile::Route& DataFile::route() {
  if (txnRoute_) return *txnRoute_;
  if (!ownRoute_) ownRoute_ = std::make_unique<Route>(Route{&own_, "main", {}});
  return *ownRoute_;
}

std::string DataFile::qualifiedTable() const {
  const std::string& schemaName = txnRoute_ ? txnRoute_->schemaName : std::string("main");
  return sql::quoteIdent(schemaName) + "." + sql::quoteIdent(sqlTable());
}

sql::Statement* DataFile::statement(const std::string& key, const std::string& text) {
  Route& r = route();
  auto it = r.statements.find(key);
  if (it == r.statements.end()) {
    sql::Statement s(r.db->handle(), text);
    if (!s.ok()) {
      fail(s.prepareResult(), true);
      return nullptr;
    }
    it = r.statements.emplace(key, std::move(s)).first;
  }
  return &it->second;
}

sql::Statement* DataFile::keyQuery(int key, Query q) {
  const std::string id = "k" + std::to_string(key) + "." + std::to_string(static_cast<int>(q));
  Route& r = route();
  if (auto it = r.statements.find(id); it != r.statements.end()) return &it->second;

  std::vector<std::string> cols;
  if (key != kFileOrder)
    for (const auto& c : layout_.keyColumns(key)) cols.push_back(sql::quoteIdent(c));
  const bool fileOrder = cols.empty();
  auto orderBy = [&](bool desc) {
    std::string o;
    for (const auto& c : cols) o += c + (desc ? " DESC," : ",");
    return o + (desc ? "_pos DESC" : "_pos");
  };
  auto tuple = [&] {
    if (fileOrder) return std::string("_pos %s ?");
    std::string t, m;
    for (const auto& c : cols) {
      t += (t.empty() ? "" : ",") + c;
      m += m.empty() ? "?" : ",?";
    }
    return cols.size() == 1 ? t + " %s ?" : "(" + t + ") %s (" + m + ")";
  };
  auto compare = [&](const char* op) {
    std::string w = tuple();
    w.replace(w.find("%s"), 2, op);
    return w;
  };
  auto equal = [&] {
    std::string w;
    for (const auto& c : cols) w += (w.empty() ? "" : " AND ") + c + " = ?";
    return w;
  };
  const std::string first = fileOrder ? "_pos" : cols.front();
  std::string where;
  bool desc = false;
  switch (q) {
    case Query::First: where = first + " >= ?"; break;
    case Query::Last: where = first + " <= ?"; desc = true; break;
    case Query::RangeAfter: where = compare(">"); break;
    case Query::RangeFrom: where = compare(">="); break;
    case Query::RangeBefore: where = compare("<"); desc = true; break;
    case Query::RangeTo: where = compare("<="); desc = true; break;
    case Query::TieAfter: where = equal() + " AND _pos > ?"; break;
    case Query::TieFrom: where = equal() + " AND _pos >= ?"; break;
    case Query::TieBefore: where = equal() + " AND _pos < ?"; desc = true; break;
    case Query::TieTo: where = equal() + " AND _pos <= ?"; desc = true; break;
    case Query::Equal: where = equal(); break;
  }
  std::string text = "SELECT _pos,_changes," + layout_.columnList() + " FROM " + qualifiedTable() + " WHERE " + where +
                     " ORDER BY " + (q == Query::Equal ? std::string("_pos") : orderBy(desc));
  return statement(id, text);
}

void DataFile::bindQuery(sql::Statement& s, Query q, const Reading& r) {
  const bool fileOrder = r.key == kFileOrder;
  switch (q) {
    case Query::First:
    case Query::Last: {
      // Bounds below or above every value, so that the start of the order is a seek too.
      const bool low = q == Query::First;
      const bool text = !fileOrder && layout_.columns()[static_cast<std::size_t>(layout_.columnOfField(
                                          schema().keys[static_cast<std::size_t>(r.key)].components.front()))].text;
      if (!text) s.bind(1, low ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max());
      else if (low) s.bind(1, std::string_view(""));
      else sqlite3_bind_zeroblob(s.handle(), 1, 0);  // text sorts below any blob
      return;
    }
    default:
      break;
  }
  int p = 1;
  if (fileOrder) {
    s.bind(p, r.rowid);
    return;
  }
  for (const auto& v : r.values) store::bindKeyValue(s, p++, v);
  if (q == Query::TieAfter || q == Query::TieFrom || q == Query::TieBefore || q == Query::TieTo) s.bind(p, r.rowid);
}

// ---------------------------------------------------------------- lifecycle

bool DataFile::create() {
  clearError();
  if (isOpen()) {
    setError(kFileAlreadyOpen);
    return false;
  }
  if (!multiTable_ && fileExists(path_)) {
    setError(kAccessDenied, "File already exists");
    return false;
  }
  // A file of its own is built under a temporary name and renamed, so that a crash never
  // leaves a half-made file behind.
  const std::string target = multiTable_ ? path_ : path_ + ".creating";
  if (!multiTable_) std::remove(target.c_str());
  sql::Database db;
  int rc = db.open(target, false, true);
  if (rc == SQLITE_OK) {
    int found = SQLITE_OK;
    if (store::storedStructure(db, "main", sqlTable(), found)) {
      setError(kAccessDenied, "Table already exists");
      return false;
    }
    rc = db.exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = store::createTable(db, "main", layout_);
    if (rc == SQLITE_OK) rc = db.exec("COMMIT");
    else db.exec("ROLLBACK");
  }
  if (rc != SQLITE_OK) {
    const int ext = db.isOpen() ? db.lastErrorCode() : rc;
    const std::string text = db.isOpen() ? db.lastError() : sqlite3_errstr(rc);
    db.close();
    if (!multiTable_) std::remove(target.c_str());
    if ((ext & 0xFF) == SQLITE_CANTOPEN) setError(fileExists(directoryOf(path_)) ? kAccessDenied : kPathNotFound);
    else setDriverError(ext, text);
    return false;
  }
  db.close();
  if (!multiTable_ && std::rename(target.c_str(), path_.c_str()) != 0) {
    std::remove(target.c_str());
    setError(kAccessDenied);
    return false;
  }
  return true;
}

bool DataFile::open(OpenAccess access) {
  clearError();
  if (isOpen()) {
    setError(kFileAlreadyOpen);
    return false;
  }
  if (!fileExists(path_)) {
    setError(fileExists(directoryOf(path_)) ? kFileNotFound : kPathNotFound);
    return false;
  }
  bool readOnly = access == OpenAccess::ReadOnly;
  // Writing needs the file and, for the rollback journal, its folder.
  if (!readOnly && (!writable(path_) || !writable(directoryOf(path_)))) {
    setError(kAccessDenied);
    return false;
  }
  if (!readable(path_)) {
    setError(kAccessDenied);
    return false;
  }
  int rc = own_.open(path_, readOnly, false);
  if (rc == SQLITE_OK && recoverSeconds_ > 0) own_.setBusyTimeout(recoverSeconds_ * 1000);
  auto giveUp = [&](int code) {
    if (code == kDriverError) setDriverError(own_.lastErrorCode(), own_.lastError());
    else setError(code);
    ownRoute_.reset();
    own_.close();
    return false;
  };
  if (rc != SQLITE_OK) return giveUp((rc & 0xFF) == SQLITE_BUSY ? kFileLocked : kDriverError);
  int found = SQLITE_OK;
  const auto stored = store::storedStructure(own_, "main", sqlTable(), found);
  if (found != SQLITE_OK) {
    const int p = found & 0xFF;
    return giveUp(p == SQLITE_BUSY || p == SQLITE_LOCKED ? kFileLocked : kDriverError);
  }
  if (!stored) return giveUp(multiTable_ ? kFileNotFound : kInvalidRecordDeclaration);
  if (*stored != layout_.structureText()) return giveUp(kInvalidRecordDeclaration);
  if (!store::indexesPresent(own_, "main", layout_)) return giveUp(kInvalidKey);
  own_.setBusyTimeout(1000);
  readOnly_ = readOnly;
  current_ = {};
  *cursor_ = Cursor{};
  buffer_.clearAll(schema().fields);
  // An open table's fields are names that this thread's expressions can use.
  expr::bindRecord(schema(), buffer_);
  return true;
}

void DataFile::close() {
  if (!isOpen()) return;
  stopReading();
  if (own_.inTransaction()) own_.exec("ROLLBACK");
  ownRoute_.reset();
  own_.close();
  expr::unbindRecord(schema());
  current_ = {};
  watched_ = false;
}

bool DataFile::sendOption(const std::string& option) {
  clearError();
  const std::string prefix = "Recover=";
  if (option.compare(0, prefix.size(), prefix) == 0) {
    const int seconds = std::atoi(option.c_str() + prefix.size());
    if (seconds < 0 || seconds > 3600) {
      setError(kBadArgument);
      return false;
    }
    recoverSeconds_ = seconds;
    if (isOpen()) own_.setBusyTimeout(seconds * 1000);
    return true;
  }
  // Quick scans are a buffering hint; every read here is an index seek already.
  if (option.rfind("QUICKSCAN=", 0) == 0) return true;
  setError(kBadArgument, "Unknown driver option");
  return false;
}

bool DataFile::buildKeys() {
  clearError();
  const bool wasOpen = isOpen();
  const bool wasReadOnly = readOnly_;
  close();
  const int rc = store::rebuildKeys(path_, layout_);
  if (rc != 0) return false;  // the repair recorded why
  return wasOpen ? open(wasReadOnly ? OpenAccess::ReadOnly : OpenAccess::ReadWrite) : true;
}

// ---------------------------------------------------------------- reading

void DataFile::loadRow(const sql::Statement& s) {
  current_.rowid = s.int64(0);
  current_.changes = s.int64(1);
  layout_.readRecord(s, 2, buffer_);
}

bool DataFile::readWith(sql::Statement& s, bool sequential) {
  sql::StatementUse use(s);
  const int rc = s.step();
  if (rc == SQLITE_ROW) {
    loadRow(s);
    return true;
  }
  if (rc == SQLITE_DONE) {
    setError(sequential ? kRecordNotAvailable : kRecordNotFound);
    return false;
  }
  return fail(rc, true);
}

bool DataFile::inTransaction() const { return txnRoute_ || own_.inTransaction(); }

void DataFile::stopReading() {
  if (reading_ && reading_->statement) reading_->statement->reset();
  reading_.reset();
}

DataFile::Reading DataFile::planRead(bool forward) const {
  const Cursor& c = *cursor_;
  Reading r{forward, c.key, {}, 0, c.values, c.rowid.value_or(0), nullptr};
  if (c.anchor == Cursor::Anchor::Start) {
    if (forward) r.phases = {Query::First};
    return r;
  }
  if (c.anchor == Cursor::Anchor::End) {
    if (!forward) r.phases = {Query::Last};
    return r;
  }
  const bool unique = c.key == kFileOrder || schema().keys[static_cast<std::size_t>(c.key)].unique;
  if (c.key == kFileOrder || unique || !c.rowid) {
    // A value alone, or one that no other record can share.
    if (c.key == kFileOrder && !c.rowid) r.phases = {forward ? Query::First : Query::Last};
    else if (forward) r.phases = {c.inclusive ? Query::RangeFrom : Query::RangeAfter};
    else r.phases = {c.inclusive ? Query::RangeTo : Query::RangeBefore};
    return r;
  }
  if (forward) r.phases = {c.inclusive ? Query::TieFrom : Query::TieAfter, Query::RangeAfter};
  else r.phases = {c.inclusive ? Query::TieTo : Query::TieBefore, Query::RangeBefore};
  return r;
}

bool DataFile::seek(bool forward) {
  if (!requireOpen(false)) return false;
  Cursor& c = *cursor_;
  if (reading_ && (reading_->forward != forward || reading_->key != c.key)) stopReading();
  if (!reading_) reading_ = planRead(forward);
  Reading& r = *reading_;
  while (r.phase < r.phases.size()) {
    if (!r.statement) {
      r.statement = keyQuery(r.key, r.phases[r.phase]);
      if (!r.statement) {
        reading_.reset();
        return false;
      }
      bindQuery(*r.statement, r.phases[r.phase], r);
    }
    const int rc = r.statement->step();
    if (rc == SQLITE_ROW) {
      loadRow(*r.statement);
      if (c.key != kFileOrder) c.values = layout_.keyValues(c.key, buffer_);
      c.rowid = current_.rowid;
      c.anchor = Cursor::Anchor::At;
      c.inclusive = false;
      // Outside a transaction no statement may keep its read lock between calls.
      if (!inTransaction()) stopReading();
      return true;
    }
    r.statement->reset();
    r.statement = nullptr;
    if (rc != SQLITE_DONE) {
      reading_.reset();
      return fail(rc, true);
    }
    ++r.phase;
  }
  reading_.reset();
  setError(kRecordNotAvailable);
  // Past the last record the next read backwards is the last one, and the other way round.
  c.anchor = forward ? Cursor::Anchor::End : Cursor::Anchor::Start;
  c.values.clear();
  return false;
}

bool DataFile::next() { return seek(true); }
bool DataFile::previous() { return seek(false); }

void DataFile::setToStart(int key) {
  stopReading();
  *cursor_ = Cursor{key, Cursor::Anchor::Start, {}, std::nullopt, true};
}

void DataFile::setToEnd(int key) {
  stopReading();
  *cursor_ = Cursor{key, Cursor::Anchor::End, {}, std::nullopt, true};
}

void DataFile::setToValue(int key) {
  stopReading();
  if (key == kFileOrder) {
    setToStart(key);
    return;
  }
  *cursor_ = Cursor{key, Cursor::Anchor::At, layout_.keyValues(key, buffer_), std::nullopt, true};
}

bool DataFile::get(int key) {
  const int all = key >= 0 && static_cast<std::size_t>(key) < schema().keys.size()
                      ? static_cast<int>(schema().keys[static_cast<std::size_t>(key)].components.size())
                      : 0;
  return getFirst(key, all);
}

bool DataFile::getFirst(int key, int components) {
  if (!requireOpen(false)) return false;
  stopReading();
  if (key < 0 || static_cast<std::size_t>(key) >= schema().keys.size() || components < 1 ||
      components > static_cast<int>(schema().keys[static_cast<std::size_t>(key)].components.size())) {
    setError(kBadArgument);
    return false;
  }
  const auto cols = layout_.keyColumns(key);
  sql::Statement* s = nullptr;
  if (components == static_cast<int>(cols.size())) {
    s = keyQuery(key, Query::Equal);
  } else {
    std::string where;
    for (int i = 0; i < components; ++i) where += (i ? " AND " : "") + sql::quoteIdent(cols[static_cast<std::size_t>(i)]) + " = ?";
    s = statement("eq" + std::to_string(key) + "." + std::to_string(components),
                  "SELECT _pos,_changes," + layout_.columnList() + " FROM " + qualifiedTable() + " WHERE " + where +
                      " ORDER BY _pos");
  }
  if (!s) return false;
  auto values = layout_.keyValues(key, buffer_);
  values.resize(static_cast<std::size_t>(components));
  for (std::size_t i = 0; i < values.size(); ++i) store::bindKeyValue(*s, static_cast<int>(i) + 1, values[i]);
  if (!readWith(*s, false)) return false;
  *cursor_ = Cursor{key, Cursor::Anchor::At, layout_.keyValues(key, buffer_), current_.rowid, false};
  return true;
}

std::string DataFile::position(int key) const {
  if (key == kFileOrder || key < 0 || static_cast<std::size_t>(key) >= schema().keys.size())
    return store::encodePosition(current_.rowid, {});
  return store::encodePosition(current_.rowid, layout_.keyValues(key, buffer_));
}

bool DataFile::getAt(const std::string& pos) {
  if (!requireOpen(false)) return false;
  const auto decoded = store::decodePosition(pos);
  if (!decoded) {
    setError(kBadArgument);
    return false;
  }
  return getByRowid(decoded->rowid);
}

bool DataFile::getByRowid(std::int64_t rowid) {
  sql::Statement* s = statement("byPos", "SELECT _pos,_changes," + layout_.columnList() + " FROM " + qualifiedTable() +
                                             " WHERE _pos = ?");
  if (!s) return false;
  s->bind(1, rowid);
  return readWith(*s, false);
}

bool DataFile::peekAt(std::int64_t rowid, RecordBuffer& into) {
  if (!requireOpen(false)) return false;
  sql::Statement* s = statement("byPos", "SELECT _pos,_changes," + layout_.columnList() + " FROM " + qualifiedTable() +
                                             " WHERE _pos = ?");
  if (!s) return false;
  sql::StatementUse use(*s);
  s->bind(1, rowid);
  const int rc = s->step();
  if (rc == SQLITE_ROW) {
    layout_.readRecord(*s, 2, into);
    return true;
  }
  if (rc == SQLITE_DONE) {
    setError(kRecordNotFound);
    return false;
  }
  return fail(rc, true);
}

bool DataFile::resetTo(int key, const std::string& pos) {
  if (!requireOpen(false)) return false;
  stopReading();
  const auto decoded = store::decodePosition(pos);
  if (!decoded) {
    setError(kBadArgument);
    return false;
  }
  Cursor c{key, Cursor::Anchor::At, {}, decoded->rowid, true};
  if (key != kFileOrder) {
    // The record's own values when it still exists; else those the position carried.
    const RecordBuffer saved = buffer_;
    const Current savedCurrent = current_;
    if (getByRowid(decoded->rowid)) {
      c.values = layout_.keyValues(key, buffer_);
    } else if (decoded->values.size() == schema().keys[static_cast<std::size_t>(key)].components.size()) {
      c.values = decoded->values;
    } else {
      buffer_ = saved;
      current_ = savedCurrent;
      setError(kBadArgument);
      return false;
    }
    buffer_ = saved;
    current_ = savedCurrent;
  }
  *cursor_ = c;
  clearError();
  return true;
}

bool DataFile::duplicates(int key) {
  // Asked while a write's failure is being reported: the thread's error state must survive.
  if (!isOpen() || key < 0 || static_cast<std::size_t>(key) >= schema().keys.size()) return false;
  const KeyDesc& k = schema().keys[static_cast<std::size_t>(key)];
  if (!k.unique) return false;
  std::string where;
  for (const auto& c : layout_.keyColumns(key)) where += sql::quoteIdent(c) + " = ? AND ";
  sql::Statement* s = statement("dup" + std::to_string(key),
                                "SELECT 1 FROM " + qualifiedTable() + " WHERE " + where + "_pos <> ? LIMIT 1");
  if (!s) return false;
  sql::StatementUse use(*s);
  const auto values = layout_.keyValues(key, buffer_);
  for (std::size_t i = 0; i < values.size(); ++i) store::bindKeyValue(*s, static_cast<int>(i) + 1, values[i]);
  s->bind(static_cast<int>(values.size()) + 1, current_.rowid);
  return s->step() == SQLITE_ROW;
}

int DataFile::firstDuplicateKey() {
  for (std::size_t k = 0; k < schema().keys.size(); ++k)
    if (duplicates(static_cast<int>(k))) return static_cast<int>(k);
  return -1;
}

// ---------------------------------------------------------------- writing

bool DataFile::add() {
  if (!requireOpen(true)) return false;
  stopReading();
  std::string marks;
  for (std::size_t i = 0; i < layout_.columns().size(); ++i) marks += i ? ",?" : "?";
  sql::Statement* s = statement("add", "INSERT INTO " + qualifiedTable() + " (" + layout_.columnList() +
                                           ") VALUES (" + marks + ")");
  if (!s) return false;
  sql::StatementUse use(*s);
  layout_.bindRecord(*s, 1, buffer_);
  const int rc = s->step();
  if (rc != SQLITE_DONE) {
    s->reset();
    const Current before = current_;
    current_ = {};  // a new record collides with every other record
    fail(rc, false);
    current_ = before;
    return false;
  }
  current_ = {route().db->lastInsertRowid(), 0};
  return true;
}

// Runs `statement` (an UPDATE or DELETE ending "WHERE _pos = ?") on the current record. With
// watch on, only a record no other station changed since it was read is touched. `bindFirst`
// binds the parameters before the position and returns how many it bound.
bool DataFile::writeCurrent(const std::string& id, const std::string& statementText,
                            const std::function<int(sql::Statement&)>& bindFirst) {
  if (!requireOpen(true)) return false;
  stopReading();
  if (!hasCurrent()) {
    setError(kRecordNotFound);
    return false;
  }
  sql::Statement* s = watched_ ? statement(id + "Watched", statementText + " AND _changes = ?")
                               : statement(id, statementText);
  if (!s) return false;
  sql::StatementUse use(*s);
  const int n = bindFirst(*s);
  s->bind(n + 1, current_.rowid);
  if (watched_) s->bind(n + 2, current_.changes);
  const int rc = s->step();
  if (rc != SQLITE_DONE) {
    s->reset();
    return fail(rc, false);
  }
  if (route().db->changes() == 0) {
    setError(watched_ ? kChangedByAnotherStation : kRecordNotFound);
    return false;
  }
  return true;
}

bool DataFile::put() {
  std::string sets;
  for (const auto& c : layout_.columns()) sets += sql::quoteIdent(c.name) + " = ?,";
  const bool ok = writeCurrent("put",
                               "UPDATE " + qualifiedTable() + " SET " + sets + "_changes = _changes + 1 WHERE _pos = ?",
                               [this](sql::Statement& s) {
                                 layout_.bindRecord(s, 1, buffer_);
                                 return static_cast<int>(layout_.columns().size());
                               });
  if (ok) ++current_.changes;
  return ok;
}

bool DataFile::erase() {
  const bool ok =
      writeCurrent("erase", "DELETE FROM " + qualifiedTable() + " WHERE _pos = ?", [](sql::Statement&) { return 0; });
  if (ok) current_ = {};
  return ok;
}

// ---------------------------------------------------------------- counts, batches, state

std::int64_t DataFile::records() {
  if (!requireOpen(false)) return 0;
  const std::string meta = sql::quoteIdent(txnRoute_ ? txnRoute_->schemaName : "main") + "." + store::kMetaTable;
  sql::Statement* s = statement("records", "SELECT value FROM " + meta + " WHERE tbl = " +
                                               sql::quoteText(sqlTable()) + " AND name = 'records'");
  if (!s) return 0;
  sql::StatementUse use(*s);
  const int rc = s->step();
  if (rc == SQLITE_ROW) return s->int64(0);
  if (rc != SQLITE_DONE) fail(rc, true);
  return 0;
}

std::int64_t DataFile::bytes() const {
  struct stat st;
  return ::stat(path_.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : 0;
}

bool DataFile::stream() {
  if (!requireOpen(false)) return false;
  if (txnRoute_ || own_.inTransaction()) return true;  // already inside one
  const int rc = own_.exec(readOnly_ ? "BEGIN" : "BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return fail(rc, readOnly_);
  // Bulk work touches many index pages at once; the cache grows for it and shrinks after.
  own_.exec(sql::kBatchCacheSize);
  return true;
}

bool DataFile::flush() {
  if (!requireOpen(false)) return false;
  stopReading();
  if (txnRoute_ || !own_.inTransaction()) return true;
  const int rc = own_.exec("COMMIT");
  own_.exec(sql::kIdleCacheSize);
  return rc == SQLITE_OK || fail(rc, false);
}

std::unique_ptr<DataFile::State> DataFile::saveState() const {
  return std::make_unique<State>(State{*cursor_, current_, buffer_});
}

void DataFile::restoreState(const State& state) {
  stopReading();
  *cursor_ = state.cursor;
  current_ = state.current;
  buffer_ = state.buffer;
}

std::optional<std::int64_t> DataFile::storedChanges(std::int64_t rowid) {
  sql::Statement* s = statement("changes", "SELECT _changes FROM " + qualifiedTable() + " WHERE _pos = ?");
  if (!s) return std::nullopt;
  sql::StatementUse use(*s);
  s->bind(1, rowid);
  if (s->step() != SQLITE_ROW) return std::nullopt;
  return s->int64(0);
}

void DataFile::settleAfterRollback(const State& before) {
  if (!isOpen()) return;
  stopReading();
  if (hasCurrent()) {
    if (const auto changes = storedChanges(current_.rowid)) {
      current_.changes = *changes;
      return;
    }
  }
  *cursor_ = before.cursor;
  current_ = before.current;
  if (!hasCurrent()) return;
  if (const auto changes = storedChanges(current_.rowid)) current_.changes = *changes;
  else current_ = {};
}

std::vector<std::string> DataFile::pageReadSql() {
  std::vector<std::string> out;
  if (!requireOpen(false)) return out;
  for (int key = kFileOrder; key < static_cast<int>(schema().keys.size()); ++key) {
    for (Query q : {Query::First, Query::Last, Query::RangeAfter, Query::RangeFrom, Query::RangeBefore, Query::RangeTo,
                    Query::TieAfter, Query::TieFrom, Query::TieBefore, Query::TieTo, Query::Equal}) {
      const bool tie = q == Query::TieAfter || q == Query::TieFrom || q == Query::TieBefore || q == Query::TieTo;
      if (key == kFileOrder && (q == Query::Equal || tie)) continue;
      if (sql::Statement* s = keyQuery(key, q)) out.emplace_back(sqlite3_sql(s->handle()));
    }
  }
  return out;
}

void DataFile::attachRoute(sql::Database* db, const std::string& schemaName) {
  stopReading();
  txnRoute_ = std::make_unique<Route>(Route{db, schemaName, {}});
}

void DataFile::detachRoute() {
  stopReading();
  txnRoute_.reset();
}

}  // namespace vrt
