#include "runtime/store/view.h"

#include <limits>
#include <map>
#include <variant>

#include "runtime/expr/node.h"
#include "runtime/expr/order.h"
#include "runtime/store/errors.h"
#include "runtime/store/position_codec.h"
#include "runtime/text/utf8.h"

namespace vrt {

using store::KeyValue;

namespace {

using Bind = std::variant<std::int64_t, double, std::string>;

struct OrderCol {
  int field;
  int column;           // index into the layout's columns
  std::string name;     // quoted column name
  bool desc;
  std::string collate;  // " COLLATE X" when it differs from the column's own
};

enum class Query { First, Last, RangeAfter, RangeFrom, RangeBefore, RangeTo, TieAfter, TieFrom, TieBefore, TieTo };

bool isTie(Query q) { return q >= Query::TieAfter; }

// The primary-table fields an expression reads.
void collectFields(const expr::Node& n, const TableSchema* table, std::vector<int>& out) {
  if (n.kind == expr::Node::Kind::Name && n.binding) {
    if (auto f = n.binding->field(); f && f->table == table) out.push_back(f->index);
  }
  for (const auto& o : n.operands) collectFields(*o, table, out);
}

const char* sqlOp(expr::RangeOp op) {
  switch (op) {
    case expr::RangeOp::Equal: return "=";
    case expr::RangeOp::Less: return "<";
    case expr::RangeOp::Greater: return ">";
    case expr::RangeOp::LessEqual: return "<=";
    case expr::RangeOp::GreaterEqual: return ">=";
  }
  return "=";
}

}  // namespace

struct View::Plan {
  std::vector<OrderCol> cols;
  bool uniqueOrder = false;  // the order is a whole unique key: no two records tie
  std::string from;          // "FROM ... [INDEXED BY ...]"
  std::string pushed;        // pushed filter terms, "" when none
  std::vector<Bind> binds;   // their values, ?1 … ?n
  std::vector<expr::FilterTerm> residual;
  std::vector<int> residualColumns;  // columns the residual terms need before a record is taken whole
  std::map<Query, sql::Statement> statements;
};

struct View::Reading {
  bool forward = true;
  std::vector<Query> phases;
  std::size_t phase = 0;
  sql::Statement* statement = nullptr;
};

struct View::Anchor {
  enum class Kind { Start, End, At } kind = Kind::Start;
  std::vector<KeyValue> values;
  std::optional<std::int64_t> rowid;
  bool inclusive = true;
};

View::View(DataFile& primary) : primary_(primary), anchor_(std::make_unique<Anchor>()) {}

View::~View() { close(); }

void View::addJoin(DataFile& joined, int key, std::vector<Link> links, bool inner) {
  stopReading();
  joins_.push_back(Join{&joined, key, std::move(links), inner});
  plan_.reset();
}

std::vector<DataFile*> View::tables() const {
  std::vector<DataFile*> out{&primary_};
  for (const Join& j : joins_) out.push_back(j.file);
  return out;
}

void View::setBuffer(int, int, int, int) {}

bool View::setOrder(std::string_view order) {
  if (!expr::parseOrder(order)) return false;
  stopReading();
  orderText_ = std::string(order);
  plan_.reset();
  *anchor_ = Anchor{};
  return true;
}

bool View::setFilter(std::string_view filter) {
  std::optional<expr::Expression> parsed;
  if (!clip(filter).empty()) {
    auto result = expr::Expression::parse(filter);
    if (!result) return false;
    parsed = std::move(*result.expression);
  }
  stopReading();
  filter_ = std::move(parsed);
  filterText_ = std::string(filter);
  plan_.reset();
  return true;
}

bool View::prepare() {
  if (plan_) return true;
  const TableSchema& schema = primary_.schema();
  const store::TableLayout& layout = primary_.layout();
  auto plan = std::make_unique<Plan>();

  // The order: fields of the primary table, as given.
  const auto order = expr::parseOrder(orderText_);
  if (!order) return false;
  for (const auto& c : *order.components) {
    if (!c.field || c.field->field.table != &schema) {
      setError(kBadArgument, "Only fields of " + schema.label + " can order this view: " + c.expression.text());
      return false;
    }
    const int field = c.field->field.index;
    const int column = layout.columnOfField(field);
    if (column < 0) {
      setError(kBadArgument, "A group cannot order a view: " + c.expression.text());
      return false;
    }
    const auto& col = layout.columns()[static_cast<std::size_t>(column)];
    std::string collate;
    if (col.text) {
      const char* wanted = c.field->upper ? sql::kNoCase : sql::kText;
      if (std::string_view(wanted) != col.collation) collate = std::string(" COLLATE ") + wanted;
    }
    plan->cols.push_back(OrderCol{field, column, sql::quoteIdent(col.name), c.descending, collate});
  }
  // An order that is a key's leading components (one direction, the key's own collations) is
  // read off that key's index, completed with the key's remaining components.
  std::string indexedBy;
  const bool uniform = std::all_of(plan->cols.begin(), plan->cols.end(),
                                   [&](const OrderCol& c) { return c.desc == plan->cols.front().desc; });
  for (std::size_t k = 0; k < schema.keys.size() && !plan->cols.empty() && uniform; ++k) {
    const auto& comps = schema.keys[k].components;
    if (comps.size() < plan->cols.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < plan->cols.size() && match; ++i)
      match = comps[i] == plan->cols[i].field && plan->cols[i].collate.empty();
    if (!match) continue;
    const bool desc = plan->cols.front().desc;
    for (std::size_t i = plan->cols.size(); i < comps.size(); ++i) {
      const int column = layout.columnOfField(comps[i]);
      plan->cols.push_back(OrderCol{comps[i], column,
                                    sql::quoteIdent(layout.columns()[static_cast<std::size_t>(column)].name), desc, ""});
    }
    plan->uniqueOrder = schema.keys[k].unique;
    indexedBy = " INDEXED BY " + sql::quoteIdent(layout.indexName(static_cast<int>(k)));
    break;
  }
  plan->from = " FROM main." + sql::quoteIdent(primary_.sqlTable()) + indexedBy;

  // The filter: range terms on the primary table go into the query where SQLite compares as
  // the expression would; a wider net (equality on a case-blind column) is checked again.
  if (filter_) {
    for (auto& term : expr::splitAndTerms(*filter_)) {
      bool exact = false;
      std::string sql;
      if (const auto r = term.range(); r && r->field.field.table == &schema) {
        const int column = layout.columnOfField(r->field.field.index);
        const FieldDesc& f = r->field.field.desc();
        if (column >= 0) {
          const auto& col = layout.columns()[static_cast<std::size_t>(column)];
          const std::string name = sql::quoteIdent(col.name);
          const std::string mark = "?" + std::to_string(plan->binds.size() + 1);
          if (!col.text && r->numeric) {
            double n = r->constant.toNumber();
            if (f.type == FieldType::Decimal) n *= 100;  // amounts are stored in cents
            sql = name + " " + sqlOp(r->op) + " " + mark;
            plan->binds.push_back(n == static_cast<double>(static_cast<std::int64_t>(n)) && std::abs(n) < 9e18
                                      ? Bind{static_cast<std::int64_t>(n)}
                                      : Bind{n});
            exact = f.type != FieldType::Decimal;
          } else if (col.text && !r->numeric) {
            const std::string constant = r->constant.toText();
            const bool noCaseColumn = std::string_view(col.collation) == sql::kNoCase;
            if (r->field.upper) {
              // UPPER(field) against an upper-case constant is what the case-blind collation does.
              exact = upperCase(constant) == constant;
              if (exact || r->op == expr::RangeOp::Equal)
                sql = name + (noCaseColumn ? "" : " COLLATE VNOCASE") + " " + sqlOp(r->op) + " " + mark;
            } else if (!noCaseColumn) {
              sql = name + " " + sqlOp(r->op) + " " + mark;
              exact = true;
            } else if (r->op == expr::RangeOp::Equal) {
              sql = name + " = " + mark;
            }
            if (!sql.empty()) plan->binds.push_back(Bind{constant});
          }
        }
      }
      if (!sql.empty()) plan->pushed += (plan->pushed.empty() ? "" : " AND ") + sql;
      if (!exact) plan->residual.push_back(term);
    }
  }
  // Only the fields the filter and the joins read are loaded before a record is known to pass.
  std::vector<int> fields;
  if (filter_) collectFields(*filter_->tree(), &schema, fields);
  for (const auto& j : joins_)
    for (const auto& l : j.links)
      if (l.from == &primary_) fields.push_back(l.field);
  for (int f : fields) {
    const int c = layout.columnOfField(f);
    if (c >= 0 && std::find(plan->residualColumns.begin(), plan->residualColumns.end(), c) == plan->residualColumns.end())
      plan->residualColumns.push_back(c);
  }
  // A group field stands on its date and time columns.
  for (int f : fields) {
    if (layout.columnOfField(f) >= 0) continue;
    for (std::size_t i = 0; i < schema.fields.size(); ++i) {
      const int c = layout.columnOfField(static_cast<int>(i));
      const auto& d = schema.fields[i];
      const auto& g = schema.fields[static_cast<std::size_t>(f)];
      if (c >= 0 && d.offset >= g.offset && d.offset + d.size <= g.offset + g.size &&
          std::find(plan->residualColumns.begin(), plan->residualColumns.end(), c) == plan->residualColumns.end())
        plan->residualColumns.push_back(c);
    }
  }
  plan_ = std::move(plan);
  return true;
}

// ---------------------------------------------------------------- statements

namespace {

std::string orderBy(const std::vector<OrderCol>& cols, bool reverse) {
  std::string o;
  bool lastDesc = false;
  for (const auto& c : cols) {
    const bool desc = c.desc != reverse;
    o += c.name + c.collate + (desc ? " DESC," : ",");
    lastDesc = desc;
  }
  if (cols.empty()) lastDesc = reverse;
  // Records that tie on every column follow in position order, the last column's way.
  return o + (lastDesc ? "_pos DESC" : "_pos");
}

// Records beyond the anchor values in the read's direction (`orEqual` for the From forms).
std::string beyond(const std::vector<OrderCol>& cols, bool forward, bool orEqual, int firstMark) {
  auto mark = [&](std::size_t i) { return "?" + std::to_string(firstMark + static_cast<int>(i)); };
  auto op = [&](const OrderCol& c, bool last) {
    const bool greater = c.desc != forward;  // ascending and forward, or descending and backward
    return std::string(greater ? ">" : "<") + (last && orEqual ? "=" : "");
  };
  const bool uniform = std::all_of(cols.begin(), cols.end(), [&](const OrderCol& c) {
    return c.desc == cols.front().desc && c.collate == cols.front().collate;
  });
  if (uniform) {
    if (cols.size() == 1) return cols[0].name + cols[0].collate + " " + op(cols[0], true) + " " + mark(0);
    std::string t, m;
    for (std::size_t i = 0; i < cols.size(); ++i) {
      t += (i ? "," : "") + cols[i].name + cols[i].collate;
      m += (i ? "," : "") + mark(i);
    }
    return "(" + t + ") " + op(cols[0], true) + " (" + m + ")";
  }
  // Mixed directions: a > x OR (a = x AND (b < y OR (b = y AND …)))
  std::string w;
  for (std::size_t i = cols.size(); i-- > 0;) {
    const auto& c = cols[i];
    const std::string cmp = c.name + c.collate + " " + op(c, i + 1 == cols.size()) + " " + mark(i);
    w = w.empty() ? cmp : "(" + cmp + " OR (" + c.name + c.collate + " = " + mark(i) + " AND " + w + "))";
  }
  return w;
}

}  // namespace

sql::Statement* View::statement(int query) {
  const Query q = static_cast<Query>(query);
  if (auto it = plan_->statements.find(q); it != plan_->statements.end()) return &it->second;
  const auto& cols = plan_->cols;
  const int values = static_cast<int>(plan_->binds.size()) + 1;  // first mark of the anchor values
  const std::string rowid = "?" + std::to_string(values + static_cast<int>(cols.size()));
  // Ties run in position order, the way the last column runs when reading forward.
  const bool tiesAscending = cols.empty() || !cols.back().desc;
  std::string where, order;
  switch (q) {
    case Query::First: order = orderBy(cols, false); break;
    case Query::Last: order = orderBy(cols, true); break;
    case Query::RangeAfter: where = beyond(cols, true, false, values); order = orderBy(cols, false); break;
    case Query::RangeFrom: where = beyond(cols, true, true, values); order = orderBy(cols, false); break;
    case Query::RangeBefore: where = beyond(cols, false, false, values); order = orderBy(cols, true); break;
    case Query::RangeTo: where = beyond(cols, false, true, values); order = orderBy(cols, true); break;
    default: {
      const bool forward = q == Query::TieAfter || q == Query::TieFrom;
      const bool orEqual = q == Query::TieFrom || q == Query::TieTo;
      const bool greater = forward == tiesAscending;
      for (std::size_t i = 0; i < cols.size(); ++i)
        where += cols[i].name + cols[i].collate + " = ?" + std::to_string(values + static_cast<int>(i)) + " AND ";
      where += std::string("_pos ") + (greater ? ">" : "<") + (orEqual ? "=" : "") + " " + rowid;
      order = greater ? "_pos" : "_pos DESC";
    }
  }
  std::string conditions = plan_->pushed;
  if (!where.empty()) conditions += (conditions.empty() ? "" : " AND ") + where;
  const std::string text = "SELECT _pos,_changes," + primary_.layout().columnList() + plan_->from +
                           (conditions.empty() ? "" : " WHERE " + conditions) + " ORDER BY " + order;
  sql::Statement s(primary_.own_.handle(), text);
  if (!s.ok()) {
    setDriverError(s.prepareResult(), primary_.own_.lastError());
    return nullptr;
  }
  return &plan_->statements.emplace(q, std::move(s)).first->second;
}

void View::bindFor(sql::Statement& s, int query) {
  int p = 1;
  for (const auto& b : plan_->binds) {
    if (const auto* i = std::get_if<std::int64_t>(&b)) s.bind(p++, *i);
    else if (const auto* d = std::get_if<double>(&b)) sqlite3_bind_double(s.handle(), p++, *d);
    else s.bind(p++, std::string_view(std::get<std::string>(b)));
  }
  const Query q = static_cast<Query>(query);
  if (q == Query::First || q == Query::Last) return;
  for (const auto& v : anchor_->values) store::bindKeyValue(s, p++, v);
  p = static_cast<int>(plan_->binds.size() + plan_->cols.size()) + 1;
  if (isTie(q)) s.bind(p, anchor_->rowid.value_or(0));
}

View::Reading View::planRead(bool forward) const {
  Reading r;
  r.forward = forward;
  const Anchor& a = *anchor_;
  if (a.kind == Anchor::Kind::Start) {
    if (forward) r.phases = {Query::First};
    return r;
  }
  if (a.kind == Anchor::Kind::End) {
    if (!forward) r.phases = {Query::Last};
    return r;
  }
  const Query tie = forward ? (a.inclusive ? Query::TieFrom : Query::TieAfter) : (a.inclusive ? Query::TieTo : Query::TieBefore);
  if (plan_->cols.empty()) {
    r.phases = {tie};
  } else if (plan_->uniqueOrder || !a.rowid) {
    r.phases = {forward ? (a.inclusive ? Query::RangeFrom : Query::RangeAfter)
                        : (a.inclusive ? Query::RangeTo : Query::RangeBefore)};
  } else {
    r.phases = {tie, forward ? Query::RangeAfter : Query::RangeBefore};
  }
  return r;
}

bool View::inTransaction() const { return primary_.own_.inTransaction(); }

void View::stopReading() {
  if (reading_ && reading_->statement) reading_->statement->reset();
  reading_.reset();
}

// ---------------------------------------------------------------- reading

bool View::acceptRow(const sql::Statement& s) {
  RecordBuffer& buffer = primary_.buffer();
  const store::TableLayout& layout = primary_.layout();
  if (!plan_->residual.empty() || !joins_.empty()) {
    for (int c : plan_->residualColumns) layout.readColumn(s, 2, c, buffer);
    for (const Join& j : joins_) {
      DataFile& t = *j.file;
      const auto& comps = t.schema().keys[static_cast<std::size_t>(j.key)].components;
      for (std::size_t i = 0; i < j.links.size() && i < comps.size(); ++i) {
        const FieldDesc& from = j.links[i].from->schema().fields[static_cast<std::size_t>(j.links[i].field)];
        const FieldDesc& to = t.schema().fields[static_cast<std::size_t>(comps[i])];
        if (isTextType(from.type) || isTextType(to.type)) t.buffer().setText(to, j.links[i].from->buffer().text(from));
        else t.buffer().setNumber(to, j.links[i].from->buffer().number(from));
      }
      if (!t.getFirst(j.key, static_cast<int>(std::min(j.links.size(), comps.size())))) {
        if (j.inner) return false;
        t.buffer().clearAll(t.schema().fields);
      }
    }
    if (!expr::allTrue(plan_->residual)) return false;
  }
  primary_.loadRow(s);
  anchor_->kind = Anchor::Kind::At;
  anchor_->values.clear();
  for (const auto& c : plan_->cols) anchor_->values.push_back(layout.componentValue(c.field, buffer));
  anchor_->rowid = primary_.current_.rowid;
  anchor_->inclusive = false;
  return true;
}

bool View::read(bool forward) {
  clearError();
  if (!open_) {
    setError(kFileNotOpen);
    return false;
  }
  if (!prepare()) return false;
  if (reading_ && reading_->forward != forward) stopReading();
  if (!reading_) reading_ = std::make_unique<Reading>(planRead(forward));
  Reading& r = *reading_;
  while (r.phase < r.phases.size()) {
    if (!r.statement) {
      r.statement = statement(static_cast<int>(r.phases[r.phase]));
      if (!r.statement) {
        reading_.reset();
        return false;
      }
      bindFor(*r.statement, static_cast<int>(r.phases[r.phase]));
    }
    int rc;
    while ((rc = r.statement->step()) == SQLITE_ROW) {
      if (!acceptRow(*r.statement)) continue;
      if (!inTransaction()) stopReading();
      return true;
    }
    r.statement->reset();
    r.statement = nullptr;
    if (rc != SQLITE_DONE) {
      reading_.reset();
      return primary_.fail(rc, true);
    }
    ++r.phase;
  }
  reading_.reset();
  setError(kRecordNotAvailable);
  *anchor_ = Anchor{forward ? Anchor::Kind::End : Anchor::Kind::Start, {}, std::nullopt, true};
  return false;
}

bool View::next() { return read(true); }
bool View::previous() { return read(false); }

bool View::open() {
  clearError();
  if (open_) {
    setError(kFileAlreadyOpen);
    return false;
  }
  if (!primary_.isOpen()) {
    setError(kFileNotOpen);
    return false;
  }
  if (!prepare()) return false;
  open_ = true;
  *anchor_ = Anchor{};
  return true;
}

void View::close() {
  endBatch();
  stopReading();
  plan_.reset();
  open_ = false;
}

void View::setToStart() {
  stopReading();
  *anchor_ = Anchor{};
}

void View::setToEnd() {
  stopReading();
  *anchor_ = Anchor{Anchor::Kind::End, {}, std::nullopt, true};
}

std::string View::position() const {
  if (anchor_->kind != Anchor::Kind::At || !anchor_->rowid) return store::encodePosition(0, {});
  return store::encodePosition(*anchor_->rowid, anchor_->values);
}

bool View::resetTo(const std::string& position) {
  clearError();
  if (!open_ || !prepare()) {
    if (!open_) setError(kFileNotOpen);
    return false;
  }
  const auto decoded = store::decodePosition(position);
  if (!decoded) {
    setError(kBadArgument);
    return false;
  }
  stopReading();
  Anchor a{Anchor::Kind::At, decoded->values, decoded->rowid, true};
  // The record's own values when it is still there: a long text may not have fitted.
  const RecordBuffer saved = primary_.buffer();
  const auto current = primary_.current_;
  if (decoded->rowid && primary_.getByRowid(decoded->rowid)) {
    a.values.clear();
    for (const auto& c : plan_->cols) a.values.push_back(primary_.layout().componentValue(c.field, primary_.buffer()));
  }
  primary_.buffer() = saved;
  primary_.current_ = current;
  if (a.values.size() != plan_->cols.size()) {
    setError(kBadArgument);
    return false;
  }
  *anchor_ = std::move(a);
  clearError();
  return true;
}

bool View::resetToBuffer(bool byValueOnly) {
  clearError();
  if (!open_ || !prepare()) {
    if (!open_) setError(kFileNotOpen);
    return false;
  }
  stopReading();
  Anchor a{Anchor::Kind::At, {}, std::nullopt, true};
  for (const auto& c : plan_->cols) a.values.push_back(primary_.layout().componentValue(c.field, primary_.buffer()));
  if (primary_.hasCurrent() && !byValueOnly) a.rowid = primary_.currentRowid();
  else if (plan_->cols.empty()) a.kind = Anchor::Kind::Start;
  *anchor_ = std::move(a);
  return true;
}

std::int64_t View::records() { return primary_.records(); }

bool View::beginBatch() {
  if (batch_ || !primary_.isOpen()) return false;
  if (primary_.own_.inTransaction()) return true;  // the caller's transaction serves
  stopReading();
  const int rc = primary_.own_.exec("BEGIN");
  if (rc != SQLITE_OK) return primary_.fail(rc, true);
  batch_ = true;
  return true;
}

void View::endBatch() {
  if (!batch_) return;
  stopReading();
  primary_.own_.exec("COMMIT");
  batch_ = false;
}

int View::pushedTerms() const {
  return plan_ ? static_cast<int>(std::count(plan_->pushed.begin(), plan_->pushed.end(), '?')) : 0;
}

int View::residualTerms() const { return plan_ ? static_cast<int>(plan_->residual.size()) : 0; }

std::vector<std::string> View::pageReadSql() {
  std::vector<std::string> out;
  if (!prepare()) return out;
  for (Query q : {Query::First, Query::Last, Query::RangeAfter, Query::RangeFrom, Query::RangeBefore, Query::RangeTo,
                  Query::TieAfter, Query::TieFrom, Query::TieBefore, Query::TieTo}) {
    if (plan_->cols.empty() && !isTie(q) && q != Query::First && q != Query::Last) continue;
    if (sql::Statement* s = statement(static_cast<int>(q))) out.emplace_back(sqlite3_sql(s->handle()));
  }
  return out;
}

}  // namespace vrt
