#include "runtime/store/sqlite_db.h"

#include <sys/stat.h>

#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"

namespace vrt::sql {

namespace {

int noCaseCompare(void*, int na, const void* a, int nb, const void* b) {
  return compareTextNoCase(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                           std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

int textCompare(void*, int na, const void* a, int nb, const void* b) {
  return compareText(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                     std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

// Small per-connection cache: the operating system caches the files, and a thread may
// hold a connection to every table.
constexpr const char* kConnectionSettings =
    "PRAGMA journal_mode=DELETE;"
    "PRAGMA synchronous=FULL;"
    "PRAGMA temp_store=MEMORY;";

// A journal left by a process that died mid-commit has to be played back before the file
// can be read, which a read-only connection cannot do: it would refuse the file as "a
// readonly database". One read through a read-write connection rolls it back. Where the
// file cannot be written that fails too, and the read-only open reports it as before.
void rollBackHotJournal(const std::string& path) {
  struct stat st;
  if (::stat((path + "-journal").c_str(), &st) != 0 || st.st_size == 0) return;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK) {
    sqlite3_busy_timeout(db, 1000);
    sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
  }
  sqlite3_close_v2(db);
}

}  // namespace

int Database::open(const std::string& path, bool readOnly, bool create) {
  close();
  if (readOnly) rollBackHotJournal(path);
  int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (create && !readOnly) flags |= SQLITE_OPEN_CREATE;
  flags |= SQLITE_OPEN_NOMUTEX;  // one connection belongs to one thread
  int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    // Keep the handle for its error text; the caller closes it.
    return rc;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_create_collation_v2(db_, kNoCase, SQLITE_UTF8, nullptr, noCaseCompare, nullptr);
  sqlite3_create_collation_v2(db_, kText, SQLITE_UTF8, nullptr, textCompare, nullptr);
  sqlite3_busy_timeout(db_, 1000);
  rc = exec(kConnectionSettings);
  if (rc == SQLITE_OK) rc = exec(kIdleCacheSize);
  return rc;
}

void Database::close() {
  if (db_) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

int Database::exec(std::string_view sql) {
  if (!db_) return SQLITE_MISUSE;
  return sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr);
}

Statement::Statement(sqlite3* db, std::string_view sql, bool persistent) {
  rc_ = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), persistent ? SQLITE_PREPARE_PERSISTENT : 0,
                           &stmt_, nullptr);
  if (rc_ != SQLITE_OK && stmt_) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() {
  if (stmt_) sqlite3_finalize(stmt_);
}

Statement& Statement::operator=(Statement&& o) noexcept {
  if (this != &o) {
    if (stmt_) sqlite3_finalize(stmt_);
    stmt_ = o.stmt_;
    rc_ = o.rc_;
    o.stmt_ = nullptr;
  }
  return *this;
}

int recordError(const Database& db, int rc) {
  const int primary = rc & 0xFF;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) setError(kFileLocked);
  else if (primary == SQLITE_CONSTRAINT) setError(kDuplicateKey);
  else setDriverError(db.isOpen() && db.lastErrorCode() ? db.lastErrorCode() : rc,
                      db.isOpen() ? db.lastError() : sqlite3_errstr(rc));
  return errorCode();
}

std::string quoteIdent(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string quoteText(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

}  // namespace vrt::sql
