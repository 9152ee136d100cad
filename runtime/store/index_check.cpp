#include "runtime/store/index_check.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace vrt::store {

namespace {

// One index as the check reads it.
struct IndexColumns {
  std::string name;
  bool unique = false;
  std::vector<int> columns;             // key columns as table column numbers; -1 the rowid
  std::vector<std::string> collations;  // of each key column
};

struct TableIndexes {
  std::string name;
  bool readable = true;  // false: SQLite's own check of this table
  bool isVirtual = false;  // its rows live in tables of their own, checked as such
  std::vector<IndexColumns> indexes;
  std::vector<int> wanted;  // table columns any index names, ascending
};

// An order-free summary of a set of (key, rowid) pairs.
struct Digest {
  std::uint64_t sum = 0, mixed = 0;
  std::int64_t count = 0;
  void add(std::uint64_t h) {
    sum += h;
    mixed ^= h * 0x9E3779B97F4A7C15ull + (h >> 29);
    ++count;
  }
  bool operator==(const Digest& o) const { return sum == o.sum && mixed == o.mixed && count == o.count; }
};

std::uint64_t mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::uint64_t bytesHash(const void* p, std::size_t n) {
  std::uint64_t h = 0xCBF29CE484222325ull ^ n;
  const auto* b = static_cast<const unsigned char*>(p);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, b + i, 8);
    h = mix(h ^ w);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, b + i, n - i);
  return mix(h ^ tail);
}

// A value's hash, its storage class included: 1 and '1' differ.
std::uint64_t valueHash(sqlite3_stmt* s, int column) {
  const int type = sqlite3_column_type(s, column);
  switch (type) {
    case SQLITE_INTEGER: return mix(static_cast<std::uint64_t>(sqlite3_column_int64(s, column)) ^ 0x1000);
    case SQLITE_FLOAT: {
      const double d = sqlite3_column_double(s, column);
      std::uint64_t bits;
      std::memcpy(&bits, &d, 8);
      return mix(bits ^ 0x2000);
    }
    case SQLITE_TEXT: {
      const void* p = sqlite3_column_text(s, column);
      return bytesHash(p, static_cast<std::size_t>(sqlite3_column_bytes(s, column))) ^ 0x3000;
    }
    case SQLITE_BLOB: {
      const void* p = sqlite3_column_blob(s, column);
      return bytesHash(p, static_cast<std::size_t>(sqlite3_column_bytes(s, column))) ^ 0x4000;
    }
    default: return 0x5000;
  }
}

std::uint64_t pairHash(const std::vector<std::uint64_t>& keyHashes, std::int64_t rowid) {
  std::uint64_t h = 0x84222325CBF29CE4ull;
  for (std::uint64_t k : keyHashes) h = mix(h + k);
  return mix(h ^ static_cast<std::uint64_t>(rowid));
}

class Checker {
 public:
  Checker(sql::Database& db, int maxFaults) : db_(db), maxFaults_(maxFaults) {}

  std::string run(RowCounts& rows) {
    std::vector<TableIndexes> tables;
    if (!readTables(tables)) return faults_;
    for (auto& t : tables) {
      if (full()) break;
      if (t.isVirtual || (t.readable && t.indexes.empty())) {
        countRows(t.name, rows);
        continue;
      }
      if (!t.readable) {
        checkWithSqlite(t.name);
        // Its rows still count.
        countRows(t.name, rows);
        continue;
      }
      std::vector<Digest> fromTable(t.indexes.size());
      if (!scanTable(t, fromTable, rows[t.name])) continue;
      for (std::size_t i = 0; i < t.indexes.size() && !full(); ++i) checkIndex(t, t.indexes[i], fromTable[i]);
    }
    return faults_;
  }

 private:
  bool full() const { return faultCount_ >= maxFaults_; }

  void fault(const std::string& text) {
    if (full()) return;
    faults_ += (faults_.empty() ? "" : "; ") + text;
    ++faultCount_;
  }

  bool failed(const std::string& what, int rc) {
    fault(what + ": " + (db_.lastErrorCode() ? db_.lastError() : std::string(sqlite3_errstr(rc))));
    return false;
  }

  bool readTables(std::vector<TableIndexes>& tables) {
    sql::Statement list(db_.handle(), "SELECT name, wr, type = 'virtual' FROM pragma_table_list WHERE schema = 'main' "
                                      "AND type IN ('table', 'shadow', 'virtual') "
                                      "AND name NOT LIKE 'sqlite_%' ORDER BY name", false);
    if (!list.ok()) return failed("cannot list the tables", list.prepareResult());
    int rc;
    while ((rc = list.step()) == SQLITE_ROW) {
      TableIndexes t;
      t.name = std::string(list.text(0));
      const bool withoutRowid = list.int64(1) != 0;
      t.isVirtual = list.int64(2) != 0;
      if (!t.isVirtual && !readIndexes(t, withoutRowid)) return false;
      tables.push_back(std::move(t));
    }
    return rc == SQLITE_DONE || failed("cannot list the tables", rc);
  }

  bool readIndexes(TableIndexes& t, bool withoutRowid) {
    sql::Statement list(db_.handle(), "SELECT name, \"unique\", origin, partial FROM pragma_index_list(?)", false);
    if (!list.ok()) return failed("cannot list the indexes of " + t.name, list.prepareResult());
    list.bind(1, std::string_view(t.name));
    int rc;
    while ((rc = list.step()) == SQLITE_ROW) {
      // The primary key of a table without rowid is the table itself, which the quick check reads.
      if (withoutRowid && list.text(2) == "pk") continue;
      IndexColumns index;
      index.name = std::string(list.text(0));
      index.unique = list.int64(1) != 0;
      if (withoutRowid || list.int64(3) != 0) t.readable = false;
      if (!readColumns(t, index)) return false;
      t.indexes.push_back(std::move(index));
    }
    if (rc != SQLITE_DONE) return failed("cannot list the indexes of " + t.name, rc);
    for (const auto& index : t.indexes)
      for (int c : index.columns)
        if (c >= 0) t.wanted.push_back(c);
    std::sort(t.wanted.begin(), t.wanted.end());
    t.wanted.erase(std::unique(t.wanted.begin(), t.wanted.end()), t.wanted.end());
    return true;
  }

  bool readColumns(TableIndexes& t, IndexColumns& index) {
    sql::Statement info(db_.handle(), "SELECT cid, coll FROM pragma_index_xinfo(?) WHERE key = 1 ORDER BY seqno",
                        false);
    if (!info.ok()) return failed("cannot read the index " + index.name, info.prepareResult());
    info.bind(1, std::string_view(index.name));
    int rc;
    while ((rc = info.step()) == SQLITE_ROW) {
      const int cid = static_cast<int>(info.int64(0));
      if (cid < -1) t.readable = false;  // an expression
      index.columns.push_back(cid);
      index.collations.emplace_back(info.text(1));
    }
    return rc == SQLITE_DONE || failed("cannot read the index " + index.name, rc);
  }

  // Table column number -> its name, for the statements.
  bool columnNames(const std::string& table, std::vector<std::string>& names) {
    sql::Statement info(db_.handle(), "SELECT name FROM pragma_table_info(?) ORDER BY cid", false);
    if (!info.ok()) return failed("cannot read the columns of " + table, info.prepareResult());
    info.bind(1, std::string_view(table));
    int rc;
    while ((rc = info.step()) == SQLITE_ROW) names.emplace_back(info.text(0));
    return rc == SQLITE_DONE || failed("cannot read the columns of " + table, rc);
  }

  static std::string columnText(const std::vector<std::string>& names, int cid) {
    return cid < 0 ? std::string("rowid") : sql::quoteIdent(names[static_cast<std::size_t>(cid)]);
  }

  // One pass over the table's own b-tree gives every index's expected digest.
  bool scanTable(const TableIndexes& t, std::vector<Digest>& expected, std::int64_t& rows) {
    names_.clear();
    if (!columnNames(t.name, names_)) return false;
    std::string sql = "SELECT rowid";
    for (int c : t.wanted) sql += ", " + columnText(names_, c);
    sql += " FROM " + sql::quoteIdent(t.name) + " NOT INDEXED";
    sql::Statement s(db_.handle(), sql, false);
    if (!s.ok()) return failed("cannot read " + t.name, s.prepareResult());
    std::vector<std::uint64_t> hashes(t.wanted.size()), keys;
    // Where each index's key columns sit among the wanted ones.
    std::vector<std::vector<int>> slots;
    for (const auto& index : t.indexes) {
      std::vector<int> at;
      for (int c : index.columns)
        at.push_back(c < 0 ? -1 : static_cast<int>(std::lower_bound(t.wanted.begin(), t.wanted.end(), c) -
                                                   t.wanted.begin()));
      slots.push_back(std::move(at));
    }
    rows = 0;
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
      ++rows;
      const std::int64_t rowid = s.int64(0);
      for (std::size_t i = 0; i < hashes.size(); ++i) hashes[i] = valueHash(s.handle(), static_cast<int>(i) + 1);
      for (std::size_t x = 0; x < slots.size(); ++x) {
        keys.clear();
        for (int at : slots[x])
          keys.push_back(at < 0 ? mix(static_cast<std::uint64_t>(rowid) ^ 0x1000) : hashes[static_cast<std::size_t>(at)]);
        expected[x].add(pairHash(keys, rowid));
      }
    }
    return rc == SQLITE_DONE || failed("cannot read " + t.name, rc);
  }

  void checkIndex(const TableIndexes& t, const IndexColumns& index, const Digest& expected) {
    std::string cols;
    for (int c : index.columns) cols += columnText(names_, c) + ", ";
    sql::Statement s(db_.handle(),
                     "SELECT " + cols + "rowid FROM " + sql::quoteIdent(t.name) + " INDEXED BY " +
                         sql::quoteIdent(index.name),
                     false);
    if (!s.ok()) {
      failed("cannot read the index " + index.name, s.prepareResult());
      return;
    }
    const int n = static_cast<int>(index.columns.size());
    std::vector<std::uint64_t> keys(index.columns.size());
    Digest found;
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
      for (int i = 0; i < n; ++i) keys[static_cast<std::size_t>(i)] = valueHash(s.handle(), i);
      found.add(pairHash(keys, s.int64(n)));
    }
    if (rc != SQLITE_DONE) {
      failed("cannot read the index " + index.name, rc);
      return;
    }
    if (found.count != expected.count)
      fault("wrong # of entries in index " + index.name + " (" + std::to_string(found.count) + " for " +
            std::to_string(expected.count) + " rows)");
    else if (!(found == expected))
      fault("index " + index.name + " does not match the rows of " + t.name);
    if (index.unique) checkUnique(t, index);
  }

  // Adjacent equal keys under the index's own collations, read in index order.
  void checkUnique(const TableIndexes& t, const IndexColumns& index) {
    std::string group, present;
    for (std::size_t i = 0; i < index.columns.size(); ++i) {
      const std::string c = columnText(names_, index.columns[i]);
      group += (i ? ", " : "") + c + " COLLATE " + index.collations[i];
      present += (i ? " AND " : "") + c + " IS NOT NULL";
    }
    sql::Statement s(db_.handle(),
                     "SELECT 1 FROM " + sql::quoteIdent(t.name) + " INDEXED BY " + sql::quoteIdent(index.name) +
                         " WHERE " + present + " GROUP BY " + group + " HAVING count(*) > 1 LIMIT 1",
                     false);
    if (!s.ok()) {
      failed("cannot read the index " + index.name, s.prepareResult());
      return;
    }
    const int rc = s.step();
    if (rc == SQLITE_ROW) fault("non-unique entry in index " + index.name);
    else if (rc != SQLITE_DONE) failed("cannot read the index " + index.name, rc);
  }

  void checkWithSqlite(const std::string& table) {
    sql::Statement s(db_.handle(), "PRAGMA integrity_check(" + sql::quoteIdent(table) + ")", false);
    if (!s.ok()) {
      failed(table + " cannot be checked", s.prepareResult());
      return;
    }
    int rc;
    while ((rc = s.step()) == SQLITE_ROW)
      if (s.text(0) != "ok") fault(std::string(s.text(0)));
    if (rc != SQLITE_DONE) failed(table + " cannot be checked", rc);
  }

  void countRows(const std::string& table, RowCounts& rows) {
    sql::Statement c(db_.handle(), "SELECT count(*) FROM " + sql::quoteIdent(table), false);
    const int rc = c.ok() ? c.step() : c.prepareResult();
    if (rc == SQLITE_ROW) rows[table] = c.int64(0);
    else failed("cannot count " + table, rc);
  }

  sql::Database& db_;
  int maxFaults_;
  int faultCount_ = 0;
  std::string faults_;
  std::vector<std::string> names_;
};

}  // namespace

std::string checkIndexes(sql::Database& db, RowCounts& rows, int maxFaults) {
  return Checker(db, maxFaults).run(rows);
}

}  // namespace vrt::store
