// The page reads of a data file: one keyset query per key, direction and phase.
#include "runtime/store/data_file.h"

#include <limits>

#include "runtime/data/errors.h"
#include "runtime/store/data_file_route.h"
#include "runtime/store/data_file_server.h"

namespace vrt {

using store::KeyValue;

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


std::vector<std::string> DataFile::pageReadSql() {
  std::vector<std::string> out;
  if (!requireOpen(false) || server_) return out;
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

}  // namespace vrt

namespace vrt {

bool DataFile::distinctNumbers(int where, std::int64_t value, int field, std::vector<std::int64_t>& out) {
  out.clear();
  if (!requireOpen(false)) return false;
  const int whereColumn = layout_.columnOfField(where), column = layout_.columnOfField(field);
  if (whereColumn < 0 || column < 0 || layout_.columns()[static_cast<std::size_t>(whereColumn)].text ||
      layout_.columns()[static_cast<std::size_t>(column)].text) {
    setError(kBadArgument);
    return false;
  }
  if (server_) return server_->distinctNumbers(where, value, field, out);
  const std::string w = sql::quoteIdent(layout_.columns()[static_cast<std::size_t>(whereColumn)].name);
  const std::string c = sql::quoteIdent(layout_.columns()[static_cast<std::size_t>(column)].name);
  sql::Statement* s = statement("distinct." + std::to_string(where) + "." + std::to_string(field),
                                "SELECT DISTINCT " + c + " FROM " + qualifiedTable() + " WHERE " + w + " = ? ORDER BY " + c);
  if (!s) return false;
  sql::StatementUse use(*s);
  s->bind(1, value);
  int rc;
  while ((rc = s->step()) == SQLITE_ROW) out.push_back(s->int64(0));
  if (rc != SQLITE_DONE) return fail(rc, true);
  return true;
}

}  // namespace vrt
