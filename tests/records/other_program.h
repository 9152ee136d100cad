#pragma once
// Another program's connection to a data file: it holds the locks a test needs others to see.
#include <sqlite3.h>

#include <string>

namespace vesp::testing {

class OtherProgram {
 public:
  explicit OtherProgram(const std::string& file) {
    sqlite3_open(file.c_str(), &db_);
    sqlite3_busy_timeout(db_, 0);
  }
  ~OtherProgram() {
    if (reader_) sqlite3_finalize(reader_);
    sqlite3_close(db_);
  }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

  bool exec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }
  // A read left under way: no one can commit a change to the file until it ends.
  bool holdReadLock() {
    return sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_schema", -1, &reader_, nullptr) == SQLITE_OK &&
           sqlite3_step(reader_) == SQLITE_ROW;
  }
  void endRead() {
    sqlite3_finalize(reader_);
    reader_ = nullptr;
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* reader_ = nullptr;
};

// Whether another program could start writing to `file` right now, without waiting.
inline bool writableNow(const std::string& file) {
  OtherProgram other(file);
  const bool ok = other.exec("BEGIN IMMEDIATE");
  other.exec("ROLLBACK");
  return ok;
}

}  // namespace vesp::testing
