#pragma once
// A small RAII layer over SQLite's C API: connections, prepared statements, and the
// collations every connection of the store registers.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vrt::sql {

// Text collations. Declared on the column itself so that SQLite seeks row-value
// comparisons on the index rather than scanning.
inline constexpr const char* kNoCase = "VNOCASE";  // capitals, trailing blanks ignored
inline constexpr const char* kText = "VTEXT";      // exact, trailing blanks ignored

// A connection's page cache: small while it waits (a thread may hold a connection to
// every table), larger for the length of a batch.
inline constexpr const char* kIdleCacheSize = "PRAGMA cache_size=-256";
inline constexpr const char* kBatchCacheSize = "PRAGMA cache_size=-65536";

class Statement;

class Database {
 public:
  Database() = default;
  ~Database() { close(); }
  Database(Database&& o) noexcept : db_(o.db_) { o.db_ = nullptr; }
  Database& operator=(Database&& o) noexcept {
    if (this != &o) {
      close();
      db_ = o.db_;
      o.db_ = nullptr;
    }
    return *this;
  }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens with the store's settings: rollback journal, synchronous FULL, small page cache,
  // the collations, and a busy wait. Returns the SQLite result code.
  int open(const std::string& path, bool readOnly, bool create);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

  // Runs statements without results; returns the SQLite result code.
  int exec(std::string_view sql);
  std::string lastError() const { return db_ ? sqlite3_errmsg(db_) : "not open"; }
  int lastErrorCode() const { return db_ ? sqlite3_extended_errcode(db_) : SQLITE_MISUSE; }
  std::int64_t lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
  int changes() const { return sqlite3_changes(db_); }
  bool inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }
  void setBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement; reset (and its bindings cleared) after every use, so that no
// statement ever holds a read lock between calls.
class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, std::string_view sql, bool persistent = true);
  ~Statement();
  Statement(Statement&& o) noexcept : stmt_(o.stmt_), rc_(o.rc_) { o.stmt_ = nullptr; }
  Statement& operator=(Statement&& o) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  int prepareResult() const { return rc_; }
  sqlite3_stmt* handle() const { return stmt_; }

  void bind(int index, std::int64_t v) { sqlite3_bind_int64(stmt_, index, v); }
  void bind(int index, std::string_view v) {
    sqlite3_bind_text(stmt_, index, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
  }
  void bindNull(int index) { sqlite3_bind_null(stmt_, index); }

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return sqlite3_step(stmt_); }
  void reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

  std::int64_t int64(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string_view text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string_view();
  }
  bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_OK;
};

// Resets a statement when the scope ends, whatever path it takes.
class StatementUse {
 public:
  explicit StatementUse(Statement& s) : s_(s) {}
  ~StatementUse() { s_.reset(); }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  Statement& s_;
};

// Records a failed SQLite call as the store's condition in the thread's error state: a lock
// is "file locked", a broken uniqueness "duplicate key", anything else the driver's own
// code and text. Returns the condition's code.
int recordError(const Database& db, int rc);

// "name" with embedded quotes doubled.
std::string quoteIdent(std::string_view name);
// 'text' with embedded quotes doubled.
std::string quoteText(std::string_view text);

}  // namespace vrt::sql
