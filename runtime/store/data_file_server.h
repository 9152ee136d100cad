#pragma once
// Inside the data file: its engine on a PostgreSQL server. The cursor, the current record
// and the buffer are the data file's own, as with files; this holds what the server needs
// besides: the rows read ahead in the cursor's order.
#include <cstdint>

#include "runtime/store/data_file.h"
#include "runtime/store/pg_db.h"

namespace vrt {

struct DataFile::Server {
  explicit Server(DataFile& file) : f(file) {}

  bool create();
  bool open(OpenAccess access);
  void close();
  bool add();
  bool put();
  bool erase();
  bool holdNumbering();
  void releaseNumbering();
  bool getFirst(int key, int components);
  bool getByRowid(std::int64_t rowid);
  bool peekAt(std::int64_t rowid, RecordBuffer& into);
  bool seek(bool forward);
  std::int64_t records();
  std::int64_t bytes();
  bool duplicates(int key);
  bool distinctNumbers(int where, std::int64_t value, int field, std::vector<std::int64_t>& out);
  bool stream();
  bool flush();
  std::optional<std::int64_t> storedChanges(std::int64_t rowid);
  bool inTransaction();
  void stopReading();

  // This thread's connection to the table's server; null (with the reason recorded) when
  // there is none.
  pg::Connection* connection();
  // Records a failed statement as the store's condition. A lost connection is told as such
  // and connected again, so that the next action can succeed.
  bool fail(const pg::Result& r, bool reading);
  // Runs a read. When the connection was lost (the server restarted) outside a transaction,
  // it connects again and reads once more, so that open lists carry on by themselves.
  pg::Result read(const std::string& sql, const pg::Params& p = pg::Params());

  DataFile& f;
  bool open_ = false;
  bool streaming = false;  // a batch's transaction is this file's own
  bool numberingHeld = false;  // the numbering lock is the session's, to be let go by hand
  // Rows read ahead from the cursor, in the read's direction; `next` is the one to hand out.
  struct Ahead {
    bool forward = true;
    int key = 0;
    pg::Result rows;
    int next = 0;
    bool more = false;  // the server may hold rows beyond these
  };
  std::optional<Ahead> ahead;

 private:
  bool readOne(const std::string& sql, const pg::Params& p, bool sequential);
  bool writeCurrent(const std::string& sql, pg::Params p, bool withWords = false);
};

}  // namespace vrt
