// A view's reading: forward and backward from where it stands, joins, positions, batches.
#include "runtime/store/view.h"

#include "runtime/data/errors.h"
#include "runtime/store/data_file_server.h"
#include "runtime/store/position_codec.h"
#include "runtime/store/server_table.h"
#include "runtime/text/utf8.h"
#include "runtime/store/view_plan.h"

namespace vrt {

using namespace viewplan;

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

bool View::inTransaction() const { return primary_.inTransaction(); }

void View::stopReading() {
  if (reading_ && reading_->statement) reading_->statement->reset();
  reading_.reset();
}

// ---------------------------------------------------------------- reading

bool View::acceptRow(const std::function<void(int column)>& readColumn, const std::function<void()>& load) {
  RecordBuffer& buffer = primary_.buffer();
  const store::TableLayout& layout = primary_.layout();
  if (!plan_->residual.empty() || !joins_.empty()) {
    for (int c : plan_->residualColumns) readColumn(c);
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
  load();
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
  if (primary_.onServer()) return readServer(forward);
  if (reading_ && reading_->forward != forward) stopReading();
  if (!reading_) reading_ = std::make_unique<Reading>(planRead(forward));
  Reading& r = *reading_;
  // A row the filter turns down has loaded some fields (and joined records) before the test:
  // when no record follows, the tables hold the last record returned again.
  std::optional<Standing> before;
  if (!plan_->residual.empty() || !joins_.empty()) before = stand();
  auto notFound = [&] {
    if (before) standAt(*before);
    reading_.reset();
  };
  while (r.phase < r.phases.size()) {
    if (!r.statement) {
      r.statement = statement(static_cast<int>(r.phases[r.phase]));
      if (!r.statement) {
        notFound();
        return false;
      }
      bindFor(*r.statement, static_cast<int>(r.phases[r.phase]));
    }
    int rc;
    sql::Statement& s = *r.statement;
    const store::TableLayout& layout = primary_.layout();
    while ((rc = r.statement->step()) == SQLITE_ROW) {
      if (!acceptRow([&](int c) { layout.readColumn(s, 2, c, primary_.buffer()); }, [&] { primary_.loadRow(s); }))
        continue;
      if (!inTransaction()) stopReading();
      return true;
    }
    r.statement->reset();
    r.statement = nullptr;
    if (rc != SQLITE_DONE) {
      primary_.fail(rc, true);
      const ErrorState failure = threadError();
      notFound();
      threadError() = failure;
      return false;
    }
    ++r.phase;
  }
  notFound();
  setError(kRecordNotAvailable);
  *anchor_ = Anchor{forward ? Anchor::Kind::End : Anchor::Kind::Start, {}, std::nullopt, true};
  return false;
}

View::Standing View::stand() const {
  Standing s{primary_.buffer(), {}};
  for (const Join& j : joins_) s.joined.push_back(j.file->saveState());
  return s;
}

void View::standAt(const Standing& s) {
  primary_.buffer() = s.primary;
  for (std::size_t i = 0; i < joins_.size() && i < s.joined.size(); ++i) joins_[i].file->restoreState(*s.joined[i]);
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

bool View::resetTo(const std::string& position) { return placeAt(position, true); }

bool View::continueFrom(const std::string& position) { return placeAt(position, false); }

bool View::placeAt(const std::string& position, bool followRecord) {
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
  const bool valuesServe = !followRecord && decoded->whole && a.values.size() == plan_->cols.size();
  if (decoded->rowid && !valuesServe) {
    // The record's own values when it is still there: a long text may not have fitted.
    const RecordBuffer saved = primary_.buffer();
    const auto current = primary_.current_;
    if (primary_.getByRowid(decoded->rowid)) {
      a.values.clear();
      for (const auto& c : plan_->cols) a.values.push_back(primary_.layout().componentValue(c.field, primary_.buffer()));
    }
    primary_.buffer() = saved;
    primary_.current_ = current;
  }
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
  // A server's reads are each consistent on their own; pages are read ahead anyway.
  if (primary_.onServer()) return true;
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
  if (plan_ && primary_.onServer()) return plan_->serverTerms;
  return plan_ ? static_cast<int>(std::count(plan_->pushed.begin(), plan_->pushed.end(), '?')) : 0;
}

int View::residualTerms() const { return plan_ ? static_cast<int>(plan_->residual.size()) : 0; }

std::vector<std::string> View::pageReadSql() {
  std::vector<std::string> out;
  if (!prepare() || primary_.onServer()) return out;
  for (Query q : {Query::First, Query::Last, Query::RangeAfter, Query::RangeFrom, Query::RangeBefore, Query::RangeTo,
                  Query::TieAfter, Query::TieFrom, Query::TieBefore, Query::TieTo}) {
    if (plan_->cols.empty() && !isTie(q) && q != Query::First && q != Query::Last) continue;
    if (sql::Statement* s = statement(static_cast<int>(q))) out.emplace_back(sqlite3_sql(s->handle()));
  }
  return out;
}

}  // namespace vrt
namespace vrt {

namespace {

using namespace viewplan;

// Rows a view reads ahead from a server in one round trip: a list's page of twenty and the
// row it goes on from, so that a page down fetches no row it does not show (on a table
// larger than the server's memory each row can cost a read of its own); a taller list
// takes a second trip.
constexpr int kServerAhead = 21;

std::string bindText(const Bind& b) {
  if (const auto* i = std::get_if<std::int64_t>(&b)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&b)) return std::to_string(*d);
  return std::get<std::string>(b);
}

void addBind(pg::Params& p, const Bind& b) { p.add(bindText(b)); }

}  // namespace

std::string View::serverReadSql(bool forward, bool fromAnchor, bool anchorRowid, bool inclusive) const {
  namespace srv = store::server;
  const store::TableLayout& layout = primary_.layout();
  std::vector<std::string> cols = plan_->serverCols;
  std::vector<bool> desc;
  for (const auto& c : plan_->cols) desc.push_back(c.desc);
  const bool withPos = !plan_->uniqueOrder || cols.empty();
  if (withPos) {
    desc.push_back(desc.empty() ? false : desc.back());
    cols.push_back("_pos");
  }
  std::string where = plan_->serverPushed;
  if (fromAnchor) {
    std::vector<std::string> anchorCols(plan_->serverCols);
    std::vector<bool> anchorDesc(desc.begin(), desc.begin() + static_cast<std::ptrdiff_t>(plan_->cols.size()));
    if (anchorRowid) {
      anchorCols.push_back("_pos");
      anchorDesc.push_back(desc.back());
    }
    if (!anchorCols.empty())
      where += (where.empty() ? "" : " AND ") +
               srv::beyond(anchorCols, anchorDesc, forward, inclusive, static_cast<int>(plan_->serverBinds.size()) + 1);
  }
  return "SELECT " + srv::selectList(layout) + " FROM " + srv::quotedTable(layout) +
         (where.empty() ? "" : " WHERE " + where) + srv::orderBy(cols, desc, !forward) + " LIMIT " +
         std::to_string(kServerAhead);
}

std::vector<std::string> View::serverPageReadSql() {
  std::vector<std::string> out;
  if (!prepare() || !primary_.onServer()) return out;
  // From the start, from the end, and onward both ways from a record.
  const bool withPos = !plan_->uniqueOrder || plan_->cols.empty();
  for (const bool forward : {true, false}) out.push_back(serverReadSql(forward, false, false, false));
  for (const bool forward : {true, false}) out.push_back(serverReadSql(forward, true, withPos, false));
  return out;
}

std::vector<std::string> View::serverPushedValues() {
  std::vector<std::string> out;
  if (!prepare() || !primary_.onServer()) return out;
  for (const auto& b : plan_->serverBinds) out.push_back(bindText(b));
  return out;
}

// Reading on a server: one query per run of rows, continuing from the last row the previous
// run gave (taken or not), in the order's columns and then the position.
bool View::readServer(bool forward) {
  namespace srv = store::server;
  const store::TableLayout& layout = primary_.layout();
  if (reading_ && reading_->forward != forward) stopReading();
  if (!reading_) {
    reading_ = std::make_unique<Reading>();
    Reading& r = *reading_;
    r.forward = forward;
    const Anchor& a = *anchor_;
    if (a.kind == Anchor::Kind::At) {
      r.fromValues = a.values;
      r.fromRowid = a.rowid;
      r.fromInclusive = a.inclusive;
    } else if ((a.kind == Anchor::Kind::Start) != forward) {
      r.fetched = true;  // nothing before the start, nothing after the end
    }
  }
  Reading& r = *reading_;
  std::optional<Standing> before;
  if (!plan_->residual.empty() || !joins_.empty()) before = stand();
  const bool withPos = !plan_->uniqueOrder || plan_->cols.empty();
  for (;;) {
    if (!r.fetched || (r.row >= r.rows.rows() && r.more)) {
      pg::Params p;
      for (const auto& b : plan_->serverBinds) addBind(p, b);
      if (r.fromValues) {
        for (std::size_t i = 0; i < plan_->cols.size() && i < r.fromValues->size(); ++i) {
          const KeyValue& v = (*r.fromValues)[i];
          const auto* text = std::get_if<std::string>(&v);
          // Folded only where this order reads the folded copy; an exact order reads the text.
          if (text && plan_->serverCols[i] != sql::quoteIdent(srv::foldedName(layout, plan_->cols[i].column)))
            p.add(clip(*text));
          else
            srv::addKeyValue(p, layout, plan_->cols[i].field, v);
        }
        if (withPos && r.fromRowid) p.add(*r.fromRowid);
      }
      const std::string sql = serverReadSql(forward, r.fromValues.has_value(), withPos && r.fromRowid, r.fromInclusive);
      r.rows = primary_.server_->read(sql, p);
      r.fetched = true;
      r.row = 0;
      if (!r.rows.ok()) {
        primary_.server_->fail(r.rows, true);
        const ErrorState failure = threadError();
        if (before) standAt(*before);
        reading_.reset();
        threadError() = failure;
        return false;
      }
      r.more = r.rows.rows() == kServerAhead;
    }
    if (r.row >= r.rows.rows()) break;
    const int row = r.row++;
    // Where this row stands, for the next fetch.
    std::vector<KeyValue> values;
    for (const auto& c : plan_->cols) {
      if (layout.columns()[static_cast<std::size_t>(c.column)].text)
        values.emplace_back(std::string(r.rows.text(row, 2 + c.column)));
      else
        values.emplace_back(r.rows.int64(row, 2 + c.column));
    }
    r.fromValues = std::move(values);
    r.fromRowid = r.rows.int64(row, 0);
    r.fromInclusive = false;
    const pg::Result& rows = r.rows;
    if (acceptRow([&](int c) { srv::readColumn(rows, row, layout, c, primary_.buffer()); },
                  [&] {
                    srv::readRecord(rows, row, layout, primary_.buffer(), primary_.current_.rowid,
                                    primary_.current_.changes);
                  }))
      return true;
  }
  if (before) standAt(*before);
  reading_.reset();
  setError(kRecordNotAvailable);
  *anchor_ = Anchor{forward ? Anchor::Kind::End : Anchor::Kind::Start, {}, std::nullopt, true};
  return false;
}

}  // namespace vrt
