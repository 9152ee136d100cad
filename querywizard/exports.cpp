// The exported operations that read saved queries, and the ones that open the library's
// windows around logic of their own.
#include "querywizard/qrywiz.h"

#include "querywizard/hooks.h"
#include "querywizard/query_store.h"
#include "querywizard/wizard_session.h"
#include "runtime/expr/expression.h"
#include "querywizard/store_types.h"
#include "runtime/store/view.h"
#include "runtime/text/dates.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

std::string fit(std::string_view text, std::size_t size) { return std::string(vrt::utf8Truncate(text, size)); }

}  // namespace

void XB_FILLQWQUEUE(XBQW_QUERIESQUEUE& queries, std::string_view className, std::optional<std::uint8_t> offerCustom) {
  queries.clear();
  for (const SavedQuery& q : listQueries(className))
    queries.push_back({fit(q.description, kQueryDescWidth), q.number,
                       fit("3" + vrt::upperCase(q.description), kSortKeyWidth)});
  queries.insert(queries.begin(), {displayText(302), 0, "1"});
  if (offerCustom && *offerCustom != 0) queries.insert(queries.begin() + 1, {displayText(303), 0, "2"});
}

void XB_QWIZARD(XBQW_FIELDSQUEUE& fields, std::string_view className, std::string& query, std::string& description,
                std::optional<std::uint8_t> options, std::optional<std::uint8_t> restrictManual,
                std::optional<std::int32_t> queryNumber, std::optional<std::uint8_t> combine, std::size_t querySize,
                std::size_t descriptionSize) {
  XBQW_Response() = 0;
  const std::uint8_t opts = options.value_or(0);
  WizardSession session(fields, std::string(className), opts & 2 ? Syntax::Sql : Syntax::Standard,
                        restrictManual.value_or(0) != 0, combine.value_or(0) != 0, query, description);
  session.startOnNewQuery = (opts & 1) != 0;
  session.setFilterSize(querySize);
  if (queryNumber.value_or(0) != 0 && !session.open(*queryNumber)) return;
  if (!hooks().wizard(session) || !session.finished()) return;

  const bool saved = session.resultNumber() != 0;
  if (session.joinCode() != 0 && session.mayCombine()) {
    const JoinedQuery j = joinQueries(session.previousFilter(), session.resultText(), querySize,
                                      session.joinCode() == kJoinOr ? "OR" : "AND", description,
                                      saved ? session.resultDescription() : "<Unsaved Query>", descriptionSize);
    if (j.joined) {
      query = j.filter;
      description = j.description;
      XBQW_Response() = -2;
      return;
    }
  }
  // A saved query chosen as it stands may be longer than a caller's smaller variable.
  if (!queryFits(session.resultText(), querySize)) return;
  query = session.resultText();
  description = fit(saved ? session.resultDescription() : session.resultText(), descriptionSize);
  XBQW_Response() = saved ? session.resultNumber() : -1;
}

void XB_GETQUERY(std::int32_t queryNumber, std::string& query, std::size_t querySize) {
  query.clear();
  if (queryNumber == 0) return;
  if (const auto row = readQuery(queryNumber)) query = fit(row->queryString, querySize);
}

std::uint8_t XB_DELETEQUERY(std::int32_t queryNumber, std::optional<std::uint8_t>) {
  return deleteQuery(queryNumber) ? 1 : 0;
}

std::uint8_t XB_QWPREACTION() { return hooks().queryOption(); }

std::uint8_t QW_BUILDEXPQ(std::string& expression, const XBQW_FIELDSQUEUE& fields, std::uint8_t sqlSyntax,
                          std::size_t expressionSize) {
  const auto accepted = hooks().buildExpression(expression, fields, sqlSyntax != 0);
  if (!accepted) return 0;
  // A cut expression would mean something else: too long is refused.
  if (vrt::clip(*accepted).size() > expressionSize) {
    showMessage("The expression is too long: it may hold at most " + std::to_string(expressionSize) + " characters.",
                "Expression Builder");
    return 0;
  }
  expression = std::string(vrt::clip(*accepted));
  return 1;
}

bool builtExpressionIsValid(std::string_view expression, bool sqlSyntax) {
  if (sqlSyntax || vrt::clip(expression).empty()) return true;
  if (vrt::expr::evaluateText(expression).code == 0) return true;
  showMessage("Your expression is NOT valid.", "Expression Builder");
  return false;
}

std::int32_t QW_DROPCAL(std::optional<std::int32_t> date, std::int32_t control) {
  // The window starts on today for no date, but Escape hands back what was given.
  return hooks().dropCalendar(date.value_or(0), control);
}

}  // namespace qrywiz
