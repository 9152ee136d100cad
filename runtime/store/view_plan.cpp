// Planning a view: which order it reads in, off which index, and how its filter splits between the query and the evaluator.
#include "runtime/store/view_plan.h"

#include <algorithm>
#include <cmath>

#include "runtime/data/errors.h"
#include "runtime/expr/node.h"
#include "runtime/expr/order.h"
#include "runtime/store/server_table.h"
#include "runtime/store/word_index.h"
#include "runtime/text/utf8.h"

namespace vrt {

using namespace viewplan;

namespace {

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

// A search for text in a text field as the server makes it exactly, `%m` standing for the
// value bound: a search of the column (or of its folded copy), or for an upper-cased field
// without a folded copy, a pattern. None where only the evaluator can say: a text that ends
// in blanks (a field's padding is not stored) or that the server cannot take as it is.
std::optional<std::pair<std::string, std::string>> containsOnServer(const store::TableLayout& layout,
                                                                    const expr::ContainsTerm& c) {
  namespace srv = store::server;
  const int column = layout.columnOfField(c.field.field.index);
  if (column < 0 || !layout.columns()[static_cast<std::size_t>(column)].text) return std::nullopt;
  if (c.text.empty() || c.text.back() == ' ' || !srv::sendableText(c.text)) return std::nullopt;
  const std::string name = sql::quoteIdent(layout.columns()[static_cast<std::size_t>(column)].name);
  std::pair<std::string, std::string> out;
  if (!c.field.upper) {
    out = {"strpos(" + name + ", %m) > 0", c.text};
  } else if (srv::hasFolded(layout, column)) {
    out = {"strpos(" + sql::quoteIdent(srv::foldedName(layout, column)) + ", %m) > 0", c.text};
  } else if (auto pattern = srv::caseBlindPattern(c.text)) {
    out = {name + " ~ %m", std::move(*pattern)};
  } else {
    return std::nullopt;
  }
  if (c.negated) out.first = "NOT (" + out.first + ")";
  return out;
}

}  // namespace

// An order the view can read in: stored fields of the primary table only.
expr::OrderParseResult View::usableOrder(std::string_view text) const {
  auto order = expr::parseOrder(text);
  if (!order) return order;
  const TableSchema& schema = primary_.schema();
  for (const auto& c : *order.components) {
    const char* problem = nullptr;
    if (!c.field || c.field->field.table != &schema) problem = "Only fields of the view's own table can order it: ";
    else if (primary_.layout().columnOfField(c.field->field.index) < 0) problem = "A group cannot order a view: ";
    if (problem) {
      setError(kBadArgument, problem + c.expression.text());
      return {};
    }
  }
  return order;
}

bool View::setOrder(std::string_view order) {
  if (!usableOrder(order)) return false;
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
  const auto order = usableOrder(orderText_);
  if (!order) return false;
  for (const auto& c : *order.components) {
    const int field = c.field->field.index;
    const int column = layout.columnOfField(field);
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
  const bool onServer = primary_.onServer();
  if (onServer) {
    // The server compares text byte by byte: a case-blind order reads the folded copy.
    for (const auto& c : plan->cols) {
      const auto& col = layout.columns()[static_cast<std::size_t>(c.column)];
      const bool caseBlind =
          col.text && (c.collate.empty() ? std::string_view(col.collation) == sql::kNoCase : c.collate.find(sql::kNoCase) != std::string::npos);
      if (caseBlind && !store::server::hasFolded(layout, c.column)) {
        setError(kBadArgument, "The server keeps no case-blind order of " + col.name + "; order by a key instead");
        return false;
      }
      plan->serverCols.push_back(store::server::orderExpression(layout, c.column, caseBlind));
    }
  }
  // The same term on the server, where it can be put there as exactly (or as a wider net).
  auto serverTerm = [&](const std::string& sql, Bind value) {
    if (!onServer) return;
    const std::string mark = "$" + std::to_string(plan->serverBinds.size() + 1) +
                             (std::holds_alternative<double>(value) ? "::float8" : "");
    std::string text = sql;
    text.replace(text.find("%m"), 2, mark);
    plan->serverPushed += (plan->serverPushed.empty() ? "" : " AND ") + text;
    plan->serverBinds.push_back(std::move(value));
    ++plan->serverTerms;
  };

  // The filter: range terms on the primary table go into the query where SQLite compares as
  // the expression would; a wider net (equality on a case-blind column) is checked again.
  if (filter_) {
    for (auto& term : expr::splitAndTerms(*filter_)) {
      bool exact = false;
      std::string sql;
      if (const auto words = term.wordSearch(); words && primary_.hasWordIndex()) {
        // Words looked for in indexed fields are found in the word index.
        std::vector<int> fields;
        for (const auto& f : words->fields)
          if (f.table == &schema && std::count(schema.searchFields.begin(), schema.searchFields.end(), f.index))
            fields.push_back(f.index);
        if (fields.size() == words->fields.size() && onServer) {
          exact = true;
          std::vector<std::string> values;
          const std::string condition = store::server::wordCondition(
              layout, words->words, fields, values, static_cast<int>(plan->serverBinds.size()) + 1);
          if (!condition.empty()) {
            plan->serverPushed += (plan->serverPushed.empty() ? "" : " AND ") + condition;
            for (auto& v : values) plan->serverBinds.push_back(Bind{std::move(v)});
            ++plan->serverTerms;
          }
        } else if (fields.size() == words->fields.size()) {
          exact = true;
          const std::string query = store::wordQuery(layout, words->words, fields);
          if (!query.empty()) {
            sql = store::wordCondition(layout, "?" + std::to_string(plan->binds.size() + 1));
            plan->binds.push_back(Bind{query});
          }
        }
      } else if (const auto c = term.contains(); c && onServer && c->field.field.table == &schema) {
        if (const auto condition = containsOnServer(layout, *c)) {
          serverTerm(condition->first, Bind{condition->second});
          exact = true;
        }
      } else if (const auto r = term.range(); r && r->field.field.table == &schema) {
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
            if (n == static_cast<double>(static_cast<std::int64_t>(n)) && std::abs(n) < 9e18)
              plan->binds.emplace_back(std::in_place_type<std::int64_t>, static_cast<std::int64_t>(n));
            else
              plan->binds.emplace_back(std::in_place_type<double>, n);
            serverTerm(name + " " + sqlOp(r->op) + " %m", plan->binds.back());
            exact = f.type != FieldType::Decimal;
          } else if (col.text && !r->numeric) {
            const std::string constant = r->constant.toText();
            const bool noCaseColumn = std::string_view(col.collation) == sql::kNoCase;
            const bool folded = store::server::hasFolded(layout, column);
            const std::string foldedColumn = sql::quoteIdent(store::server::foldedName(layout, column));
            if (r->field.upper) {
              // UPPER(field) against an upper-case constant is what the case-blind collation does.
              exact = upperCase(constant) == constant;
              if (exact || r->op == expr::RangeOp::Equal) {
                sql = name + (noCaseColumn ? "" : " COLLATE VNOCASE") + " " + sqlOp(r->op) + " " + mark;
                if (folded) serverTerm(foldedColumn + " " + sqlOp(r->op) + " %m", Bind{store::server::folded(constant)});
                else if (onServer) exact = false;  // the server cannot: the evaluator checks it
              }
            } else if (!noCaseColumn) {
              sql = name + " " + sqlOp(r->op) + " " + mark;
              exact = true;
              serverTerm(store::server::orderExpression(layout, column, false) + " " + sqlOp(r->op) + " %m",
                         Bind{std::string(clip(constant))});
            } else if (r->op == expr::RangeOp::Equal) {
              sql = name + " = " + mark;
              if (folded) serverTerm(foldedColumn + " = %m", Bind{store::server::folded(constant)});
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

}  // namespace vrt
