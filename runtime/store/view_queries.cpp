// The page reads of a view: SQL for each phase of a read, and its parameters.
#include "runtime/store/view_plan.h"

#include <algorithm>

#include "runtime/data/errors.h"

namespace vrt {

using namespace viewplan;

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

}  // namespace vrt
