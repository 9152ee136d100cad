#pragma once
// Inside the view: the plan a view reads by (its order columns, the filter terms put into
// the query and those checked per record, the prepared page reads) and where it stands.
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "runtime/store/pg_db.h"
#include "runtime/store/view.h"

namespace vrt {

using store::KeyValue;

namespace viewplan {

using Bind = std::variant<std::int64_t, double, std::string>;

struct OrderCol {
  int field;
  int column;           // index into the layout's columns
  std::string name;     // quoted column name
  bool desc;
  std::string collate;  // " COLLATE X" when it differs from the column's own
};

enum class Query { First, Last, RangeAfter, RangeFrom, RangeBefore, RangeTo, TieAfter, TieFrom, TieBefore, TieTo };

inline bool isTie(Query q) { return q >= Query::TieAfter; }

}  // namespace viewplan

struct View::Plan {
  std::vector<viewplan::OrderCol> cols;
  bool uniqueOrder = false;  // the order is a whole unique key: no two records tie
  std::string from;          // "FROM ... [INDEXED BY ...]"
  std::string pushed;        // pushed filter terms, "" when none
  std::vector<viewplan::Bind> binds;  // their values, ?1 … ?n
  std::vector<expr::FilterTerm> residual;
  std::vector<int> residualColumns;  // columns the residual terms need before a record is taken whole
  std::map<viewplan::Query, sql::Statement> statements;
  // On a server: the order's columns there (folded copies where the order is case-blind),
  // and the pushed terms with their marks ($1 …) and values.
  std::vector<std::string> serverCols;
  std::string serverPushed;
  std::vector<viewplan::Bind> serverBinds;
  int serverTerms = 0;
};

struct View::Reading {
  bool forward = true;
  std::vector<viewplan::Query> phases;
  std::size_t phase = 0;
  sql::Statement* statement = nullptr;
  // On a server: the rows read ahead, the next one to look at, and where the last one read
  // stood (the next fetch continues from there, whether the filter took that row or not).
  pg::Result rows;
  int row = 0;
  bool fetched = false;
  bool more = false;
  std::optional<std::vector<KeyValue>> fromValues;  // none: from the start (or end)
  std::optional<std::int64_t> fromRowid;
  bool fromInclusive = true;
};

struct View::Anchor {
  enum class Kind { Start, End, At } kind = Kind::Start;
  std::vector<KeyValue> values;
  std::optional<std::int64_t> rowid;
  bool inclusive = true;
};

}  // namespace vrt
