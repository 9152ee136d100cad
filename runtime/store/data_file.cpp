// A data file: its names, the mapping of SQLite failures to the store's conditions, its statement
// cache, counts and batches, and the states it is saved in and set straight by.
#include "runtime/store/data_file.h"

#include <sys/stat.h>

#include "runtime/data/errors.h"
#include "runtime/store/data_file_route.h"
#include "runtime/store/data_file_server.h"
#include "runtime/store/file_format.h"
#include "runtime/store/file_repair.h"

namespace vrt {

namespace {

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

DataFile::DataFile(const TableSchema& schema, std::string name)
    : DataFile(schema, std::move(name), store::currentDataLocation()) {}

DataFile::DataFile(const TableSchema& schema, std::string name, const store::DataLocation& at)
    : layout_(schema, "", ""), location_(at), buffer_(schema.recordSize), cursor_(std::make_unique<Cursor>()) {
  std::string table;
  splitName(name, schema.label, path_, table, multiTable_);
  layout_ = store::TableLayout(schema, table, multiTable_ ? table + "_" : "");
  if (at.onServer()) {
    path_.clear();
    server_ = std::make_unique<Server>(*this);
  } else if (at.folder != "." && !at.folder.empty() && !path_.empty() && path_.front() != '/') {
    path_ = at.folder + "/" + path_;
  }
  buffer_.clearAll(schema.fields);
}

DataFile::~DataFile() { close(); }

bool DataFile::isOpen() const { return server_ ? server_->open_ : own_.isOpen(); }

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


// ---------------------------------------------------------------- counts, batches, state

std::int64_t DataFile::records() {
  if (!requireOpen(false)) return 0;
  if (server_) return server_->records();
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
  if (server_) return server_->bytes();
  struct stat st;
  return ::stat(path_.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : 0;
}

bool DataFile::stream() {
  if (!requireOpen(false)) return false;
  if (server_) return server_->stream();
  if (txnRoute_ || own_.inTransaction()) return true;  // already inside one
  const int rc = own_.exec(readOnly_ ? "BEGIN" : "BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return fail(rc, readOnly_);
  // Bulk work touches many index pages at once; the cache grows for it and shrinks after.
  own_.exec(sql::kBatchCacheSize);
  return true;
}

bool DataFile::flush() {
  if (!requireOpen(false)) return false;
  if (server_) return server_->flush();
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
  if (server_) return server_->storedChanges(rowid);
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


void DataFile::attachRoute(sql::Database* db, const std::string& schemaName) {
  stopReading();
  txnRoute_ = std::make_unique<Route>(Route{db, schemaName, {}});
}

void DataFile::detachRoute() {
  stopReading();
  txnRoute_.reset();
}

}  // namespace vrt
