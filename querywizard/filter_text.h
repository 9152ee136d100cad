#pragma once
// The filter text a query produces, in the evaluator's own syntax or an SQL-like one;
// joining a new query to an earlier filter; the check of a finished text; and run-time
// parameters. Constants are written between single quotes with a quote inside doubled,
// so that no value a user types can end the constant early or rewrite the filter.
#include <string>
#include <string_view>

#include "querywizard/element.h"

namespace qrywiz {

enum class Syntax { Standard, Sql };

// One element's text: a leading blank, the condition, a blank and the clipped conjunction.
std::string elementText(const QueryElement& element, Syntax syntax);
// Every element in list order, without leading or trailing blanks, however long.
std::string assembleQuery(const CurrentQuery& query, Syntax syntax);
// Whether the text fits a filter variable of `size` bytes (never more than 1,024); when it
// does not, "Query String Too Small" says so. A query is refused, never cut.
bool queryFits(std::string_view text, std::size_t size = 1024);

// "'" + text with every quote doubled + "'".
std::string quotedConstant(std::string_view text);

struct JoinedQuery {
  bool joined = false;  // false: refused as too long, the new query stands alone
  std::string filter;
  std::string description;
};
// Joins `next` to `previous` with "AND" or "OR" into variables of the given sizes. A join
// that does not fit shows "Query String Too Small" and yields the new query alone.
JoinedQuery joinQueries(std::string_view previous, std::string_view next, std::size_t filterSize,
                        std::string_view conjunction, std::string_view previousDescription,
                        std::string_view nextDescription, std::size_t descriptionSize);

// Evaluates a finished standard-syntax text once; a syntax error or unknown name shows the
// invalid-query message (display texts 33/34) and yields false.
bool checkQueryText(std::string_view text);

// Replaces the first occurrence of the clipped token, in any case, by the clipped value as
// given between single quotes. A result longer than `querySize` bytes leaves the query as
// it was.
void XB_QWPARSE(std::string_view token, std::string_view value, std::string& query,
                std::size_t querySize = 1024);

}  // namespace qrywiz
