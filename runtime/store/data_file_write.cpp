// Writing a data file: adding, and changing or erasing the current record with the change check.
#include "runtime/store/data_file.h"

#include "runtime/data/errors.h"
#include "runtime/store/data_file_route.h"
#include "runtime/store/data_file_server.h"

namespace vrt {

bool DataFile::add() {
  if (!requireOpen(true)) return false;
  stopReading();
  if (server_) {
    const Current before = current_;
    if (server_->add()) return true;
    current_ = before;
    return false;
  }
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
  if (server_) {
    if (!requireOpen(true)) return false;
    stopReading();
    return server_->put();
  }
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
  if (server_) {
    if (!requireOpen(true)) return false;
    stopReading();
    return server_->erase();
  }
  const bool ok =
      writeCurrent("erase", "DELETE FROM " + qualifiedTable() + " WHERE _pos = ?", [](sql::Statement&) { return 0; });
  if (ok) current_ = {};
  return ok;
}

bool DataFile::holdNumbering() {
  if (!server_) return true;
  return requireOpen(true) && server_->holdNumbering();
}

void DataFile::releaseNumbering() {
  if (server_) server_->releaseNumbering();
}

}  // namespace vrt
