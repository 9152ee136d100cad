#pragma once
// One thread's copy of one table: the indexed file driver. Every operation returns true on
// success; on failure the thread's error state (runtime/data/errors.h) holds the condition,
// and for driver errors SQLite's own code and text.
//
// Reading follows a cursor: set to the start or end of a key order, to a key value, or to a
// saved position; next and previous then read in that key's order (file order by position
// when the key is -1). Each read is a keyset query on the key's index, never an OFFSET.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/data/schema.h"
#include "runtime/store/data_location.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/store/table_layout.h"
#include "runtime/text/record.h"

namespace vrt {

enum class OpenAccess { ReadWrite, ReadOnly };

class Transaction;

class DataFile {
  struct Cursor {
    int key = -1;
    enum class Anchor { Start, End, At } anchor = Anchor::Start;
    std::vector<store::KeyValue> values;
    std::optional<std::int64_t> rowid;  // none: placed by value only
    bool inclusive = true;
  };
  struct Current {
    std::int64_t rowid = 0;
    std::int64_t changes = 0;
  };

 public:
  static constexpr int kFileOrder = -1;
  static constexpr std::size_t kMaxPosition = 1024;  // bytes of a position

  // `name`: "" for the label with ".vdb"; a name with an extension is used as given;
  // "file\!table" names one table inside a file that holds several.
  // The table lives where store::currentDataLocation() says when the object is made: a file
  // in the data folder, or a table of the server's database (named by the table's label, or
  // by the part after "\!" of a name that holds several).
  explicit DataFile(const TableSchema& schema, std::string name = {});
  // The same at a location of the caller's choosing, whatever the current one is (for
  // copying data from one location to another).
  DataFile(const TableSchema& schema, std::string name, const store::DataLocation& at);
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  const TableSchema& schema() const { return layout_.schema(); }
  const store::TableLayout& layout() const { return layout_; }
  // The file's path; for a table on a server, "" .
  const std::string& path() const { return path_; }
  // Where this table lives.
  const store::DataLocation& location() const { return location_; }
  bool onServer() const { return location_.onServer(); }
  const std::string& sqlTable() const { return layout_.sqlTable(); }
  bool sharesFile() const { return multiTable_; }
  RecordBuffer& buffer() { return buffer_; }
  const RecordBuffer& buffer() const { return buffer_; }

  // Makes the file (or, in a file of several tables, the table) new and empty. Refuses
  // to replace a table that exists, so that no data is ever lost by a create.
  bool create();
  bool open(OpenAccess access = OpenAccess::ReadWrite);
  void close();
  bool isOpen() const;
  bool isReadOnly() const { return readOnly_; }
  // Whether the file keeps a word index of the table's search fields, so that word searches
  // are looked up instead of checked record by record.
  bool hasWordIndex() const { return wordIndex_; }
  // Rebuilds every index from the records; a damaged file is rewritten from its rows.
  bool buildKeys();
  // Driver options such as "Recover=10" (seconds after which a stale lock is broken).
  bool sendOption(const std::string& option);
  int lockRecoverSeconds() const { return recoverSeconds_; }

  // Writing the record buffer.
  bool add();
  bool put();    // the current record; with watch on, refused when another station changed it
  bool erase();  // the current record
  void watch() { watched_ = true; }
  // Auto-numbering: from holdNumbering() to releaseNumbering() no other station numbers this
  // table's records, so that the highest number read and the record added with the next one
  // cannot clash. On a server a lock of the table's numbering, kept to the end of the
  // transaction when one is open; on files nothing is held, and an add that clashes fails
  // for the caller to number again. False, with the condition recorded, when it cannot be had.
  bool holdNumbering();
  void releaseNumbering();

  // Reading into the record buffer.
  bool get(int key);                              // the first record matching the buffer's key values
  bool getFirst(int key, int components);         // the same on the key's leading components only
  bool getAt(const std::string& position);        // by a position from position()
  bool getByRowid(std::int64_t rowid);
  // The stored version of a record, read into `into`; the buffer and the current record stay.
  bool peekAt(std::int64_t rowid, RecordBuffer& into);
  void setToStart(int key);
  void setToEnd(int key);
  void setToValue(int key);                       // at the buffer's key values
  bool resetTo(int key, const std::string& position);  // next/previous then read that record
  bool next();
  bool previous();

  // The current record's position (at most kMaxPosition bytes), in a key's order or the file's.
  std::string position(int key = kFileOrder) const;
  bool hasCurrent() const { return current_.rowid != 0; }
  std::int64_t currentRowid() const { return current_.rowid; }
  // Whether the buffer's values for a unique key already belong to another record.
  bool duplicates(int key);
  // The first unique key the buffer's values collide on, or -1.
  int firstDuplicateKey();

  std::int64_t records();
  // The distinct values of the number field `field` among the records whose number field
  // `where` holds `value`, ascending, into `out`. Read off a side index on (where, field)
  // when the file has one; the cursor, the buffer and the current record stay as they are.
  bool distinctNumbers(int where, std::int64_t value, int field, std::vector<std::int64_t>& out);
  std::int64_t bytes() const;

  // Batch mode for bulk work: one write transaction until flush().
  bool stream();
  bool flush();

  // The SQL of every page read this file can issue (each key, both directions), prepared;
  // for checking that each one seeks on its index.
  std::vector<std::string> pageReadSql();

  // Everything that says where the file stands, for nesting work inside other work.
  // Where the file stands: its cursor, its current record and its buffer. Whether writes are
  // watched belongs to the open file, not to a position, and is not part of it.
  struct State {
    Cursor cursor;
    Current current;
    RecordBuffer buffer;
  };
  std::unique_ptr<State> saveState() const;
  void restoreState(const State& state);
  // After a rollback: the current record's change count is read again from the file, so that
  // the next write is not refused as another station's change; when the rollback took the
  // current record away (or brought back the one this copy had erased), the cursor and the
  // current record go back to `before`, where they stood when the transaction began. The
  // buffer stays: it holds what the user entered.
  void settleAfterRollback(const State& before);

 private:
  friend class Transaction;
  friend class View;
  struct Route;
  struct Server;
  // Page reads. A range query reads past a key value; a tie query reads the records that
  // share the key value, in position order, beyond a position (SQLite cannot seek on the
  // position inside a row value, so ties are read apart from the rest).
  enum class Query {
    First, Last,
    RangeAfter, RangeFrom, RangeBefore, RangeTo,
    TieAfter, TieFrom, TieBefore, TieTo,
    Equal
  };
  // A read under way: the queries still to run, in order, and the one stepping now. Inside a
  // transaction the statement stays open so that the next record is one step away.
  struct Reading {
    bool forward;
    int key;
    std::vector<Query> phases;
    std::size_t phase = 0;
    std::vector<store::KeyValue> values;
    std::int64_t rowid = 0;
    sql::Statement* statement = nullptr;
  };

  bool requireOpen(bool forWrite);
  Route& route();
  sql::Statement* statement(const std::string& key, const std::string& sql);
  sql::Statement* keyQuery(int key, Query q);
  std::string qualifiedTable() const;
  bool readWith(sql::Statement& s, bool sequential);
  void loadRow(const sql::Statement& s);
  bool seek(bool forward);
  Reading planRead(bool forward) const;
  void bindQuery(sql::Statement& s, Query q, const Reading& r);
  void stopReading();
  bool inTransaction() const;
  bool fail(int rc, bool reading);
  std::optional<std::int64_t> storedChanges(std::int64_t rowid);
  bool writeCurrent(const std::string& id, const std::string& statementText,
                    const std::function<int(sql::Statement&)>& bindFirst);
  void attachRoute(sql::Database* db, const std::string& schemaName);
  void detachRoute();

  store::TableLayout layout_;
  store::DataLocation location_;
  std::string path_;
  bool multiTable_ = false;
  RecordBuffer buffer_;
  sql::Database own_;
  bool readOnly_ = false;
  bool wordIndex_ = false;
  bool watched_ = false;
  int recoverSeconds_ = 0;
  std::unique_ptr<Server> server_;  // on a server: its engine
  std::unique_ptr<Route> ownRoute_;
  std::unique_ptr<Route> txnRoute_;  // while a transaction frames this file
  Current current_;
  std::unique_ptr<Cursor> cursor_;
  std::optional<Reading> reading_;
};

}  // namespace vrt
