#pragma once
// The query wizard library's exported interface, in the order a caller uses it. Every
// operation runs on the caller's thread and returns when its windows are closed. The
// caller's lists and variables are filled or rewritten during a call; the library keeps
// nothing of them afterwards. Fixed-size caller variables are given with their size in
// bytes (the filter text 1,024, a description 60). A description is cut to its size; a
// filter never is: a query that would not fit is refused ("Query String Too Small").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "querywizard/display_text.h"
#include "querywizard/field_registry.h"
#include "querywizard/filter_text.h"
#include "querywizard/globals.h"
#include "querywizard/lists.h"

namespace vrt {
class View;
}

namespace qrywiz {

// Empties the list, adds the class's saved queries in class-and-description order, then
// "All Records" first and, with offerCustom not 0, "Custom Query..." second.
void XB_FILLQWQUEUE(XBQW_QUERIESQUEUE& queries, std::string_view className,
                    std::optional<std::uint8_t> offerCustom = std::nullopt);

// Runs the wizard for the class. On return XBQW_Response() is 0 (cancelled, `query`
// unchanged), -1 (a new query not saved), -2 (joined to the previous filter) or the number
// of the saved query chosen or saved.
//   options bit 1: start on a new query; bit 2: SQL syntax.
//   restrictManual not 0: manual queries cannot be modified.
//   queryNumber not 0: open that saved query for editing.
//   combine not 0 (with a non-empty `query`): the result may be joined to it.
void XB_QWIZARD(XBQW_FIELDSQUEUE& fields, std::string_view className, std::string& query, std::string& description,
                std::optional<std::uint8_t> options = std::nullopt,
                std::optional<std::uint8_t> restrictManual = std::nullopt,
                std::optional<std::int32_t> queryNumber = std::nullopt,
                std::optional<std::uint8_t> combine = std::nullopt, std::size_t querySize = kFilterWidth,
                std::size_t descriptionSize = kQueryDescWidth);

// The saved filter text of the query; the empty text for 0 (without touching the file) or
// an unknown number.
void XB_GETQUERY(std::int32_t queryNumber, std::string& query, std::size_t querySize = kFilterWidth);

// After the standard confirmation: 1 when the query and its elements were deleted.
std::uint8_t XB_DELETEQUERY(std::int32_t queryNumber, std::optional<std::uint8_t> flag = std::nullopt);

// Sets the view's order to the key of its primary table, opens it, filters it by
// "(filter1) AND (filter2)" and reads the first record: 1 when there is one.
std::uint8_t XB_CHILDQUERY(vrt::View& view, int key, std::string_view filter1, std::string_view filter2);

// From the view's current place finds the first (1), previous (2), next (3) or last (4)
// record that meets the query, with or without a child view; 1 when found (the view is
// left on it), 0 otherwise (the view returns to `position`).
std::uint8_t XB_QWNAVIGATE(vrt::View& view, std::optional<std::string_view> childFilter, std::string_view filter,
                           std::uint8_t direction, vrt::View* childView, int childKey,
                           std::optional<std::string_view> position = std::nullopt);

// The query-option window: 1 select a saved query, 2 new query, 4 none, 3 cancel, 0 closed.
std::uint8_t XB_QWPREACTION();

// The expression builder on `expression`: 1 and the accepted text, or 0 and no change
// (also when the accepted text is longer than `expressionSize`, which the user is told).
std::uint8_t QW_BUILDEXPQ(std::string& expression, const XBQW_FIELDSQUEUE& fields, std::uint8_t sqlSyntax,
                          std::size_t expressionSize = kFilterWidth);
// What the builder's Insert checks in standard syntax: an empty text, or one that evaluates.
bool builtExpressionIsValid(std::string_view expression, bool sqlSyntax);

// The drop-down calendar below the control, from `date` (today when omitted or 0): the
// chosen day, today for Today, 0 for None, the given date (0 for none) for Escape.
std::int32_t QW_DROPCAL(std::optional<std::int32_t> date, std::int32_t control);

}  // namespace qrywiz
