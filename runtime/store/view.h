#pragma once
// A view: a primary table read in an order, limited by a filter, with joined tables read
// by key for each primary record.
//
//   View v(service);                                   // primary table
//   v.addJoin(series, SSE_SeriesNumberKey, {{&service, SER_SERMONSERIES index}});
//   v.setOrder("SER:WeekOfDate_Date,-UPPER(SER:Title)");
//   v.setFilter("UPPER(SER:Title) = UPPER('O''Neil')");
//   v.open(); while (v.next()) …; v.close();
//
// Range terms of the filter on the primary table's fields are put into the SQLite query
// (where SQLite compares exactly as the expression would, or as a wider net whose catch is
// checked again); the other terms are evaluated for each record the query yields. When the
// order is a key's leading components, the key's index is read and the order completed with
// the key's remaining components, so that pages come straight off the index.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/expr/filter_terms.h"
#include "runtime/expr/order.h"
#include "runtime/store/data_file.h"

namespace vrt {

class View {
 public:
  explicit View(DataFile& primary);
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // A table read for each primary record through `key`: the i-th link gives the value of
  // the key's i-th component (a field of the primary table or of a table joined before).
  // An inner join drops primary records that have no match; an outer one clears the buffer.
  struct Link {
    DataFile* from;
    int field;
  };
  void addJoin(DataFile& joined, int key, std::vector<Link> links, bool inner = false);
  // The primary table, then the joined tables in the order they were added.
  std::vector<DataFile*> tables() const;

  // "+"/"-" components separated by ",": field labels or UPPER(label) of the primary table.
  // False on a bad text (error 800 or 801 with the position in the message).
  bool setOrder(std::string_view order);
  bool setFilter(std::string_view filter);
  const std::string& order() const { return orderText_; }
  const std::string& filter() const { return filterText_; }
  // Accepted for the runtime's buffering; reads are keyset queries either way.
  void setBuffer(int pageSize, int pagesBehind, int pagesAhead, int timeoutSeconds);

  bool open();  // 52 when open already
  void close();
  bool isOpen() const { return open_; }

  void setToStart();
  void setToEnd();
  bool next();      // 33 past the end
  bool previous();  // 33 before the start
  // The current record's place in the view's order, at most 1,024 bytes.
  std::string position() const;
  // Next and previous then read the record at that place (or the nearest one that is left).
  bool resetTo(const std::string& position);
  // The same for reading on from rows already shown: the view goes by the values the
  // position holds, so the rows read follow on from those shown even when that record has
  // since been changed elsewhere. Its record is read again only when a long text was cut.
  bool continueFrom(const std::string& position);
  // The same for the record now in the primary table's buffer. With `byValueOnly` the place
  // is the first record that has the buffer's key values, whichever record was read last.
  bool resetToBuffer(bool byValueOnly = false);
  std::int64_t records();

  // Holds one read transaction over a run of reads (a page), so that each record after the
  // first is one step away. Always end what was begun.
  bool beginBatch();
  void endBatch();

  // The SQL of every read the view can issue, for checking query plans; none on a server.
  std::vector<std::string> pageReadSql();
  // On a server, its reads: from the start, from the end, then onward and backward from a
  // record. Their first marks ($1 …) take serverPushedValues(), the rest the record's order
  // values and position. Both empty on files.
  std::vector<std::string> serverPageReadSql();
  std::vector<std::string> serverPushedValues();
  // How the filter was split: terms in the query and terms evaluated per record.
  int pushedTerms() const;
  int residualTerms() const;

 private:
  bool placeAt(const std::string& position, bool followRecord);
  struct Plan;
  struct Reading;
  struct Anchor;
  // The primary table's buffer and the joined tables' standing, kept across rows turned down.
  struct Standing {
    RecordBuffer primary;
    std::vector<std::unique_ptr<DataFile::State>> joined;
  };
  Standing stand() const;
  void standAt(const Standing& s);
  expr::OrderParseResult usableOrder(std::string_view text) const;
  bool prepare();
  sql::Statement* statement(int query);
  void bindFor(sql::Statement& s, int query);
  Reading planRead(bool forward) const;
  bool read(bool forward);
  // Takes a row the query gave if the filter and the joins let it through: `readColumn`
  // loads one column of the primary table's buffer, `load` the whole row.
  bool acceptRow(const std::function<void(int column)>& readColumn, const std::function<void()>& load);
  bool readServer(bool forward);
  std::string serverReadSql(bool forward, bool fromAnchor, bool anchorRowid, bool inclusive) const;
  void stopReading();
  bool inTransaction() const;

  DataFile& primary_;
  struct Join {
    DataFile* file;
    int key;
    std::vector<Link> links;
    bool inner;
  };
  std::vector<Join> joins_;
  std::string orderText_, filterText_;
  std::optional<expr::Expression> filter_;
  std::unique_ptr<Plan> plan_;
  std::unique_ptr<Reading> reading_;
  std::unique_ptr<Anchor> anchor_;
  bool open_ = false;
  bool batch_ = false;
};

}  // namespace vrt
