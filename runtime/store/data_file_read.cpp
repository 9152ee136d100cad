// Reading a data file: by a cursor in key order, by key value, and by position.
#include "runtime/store/data_file.h"

#include "runtime/data/errors.h"
#include "runtime/store/data_file_route.h"
#include "runtime/store/data_file_server.h"
#include "runtime/store/position_codec.h"

namespace vrt {

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

bool DataFile::inTransaction() const { return server_ ? server_->inTransaction() : txnRoute_ || own_.inTransaction(); }

void DataFile::stopReading() {
  if (server_) server_->stopReading();
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
  if (server_) return server_->seek(forward);
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
  if (server_) {
    if (!server_->getFirst(key, components)) return false;
    *cursor_ = Cursor{key, Cursor::Anchor::At, layout_.keyValues(key, buffer_), current_.rowid, false};
    return true;
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
  if (server_) {
    if (!requireOpen(false)) return false;
    return server_->getByRowid(rowid);
  }
  sql::Statement* s = statement("byPos", "SELECT _pos,_changes," + layout_.columnList() + " FROM " + qualifiedTable() +
                                             " WHERE _pos = ?");
  if (!s) return false;
  s->bind(1, rowid);
  return readWith(*s, false);
}

bool DataFile::peekAt(std::int64_t rowid, RecordBuffer& into) {
  if (!requireOpen(false)) return false;
  if (server_) return server_->peekAt(rowid, into);
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

}  // namespace vrt
