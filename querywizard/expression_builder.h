#pragma once
// The expression builder window and its constant window, on the calling thread.
#include <optional>
#include <string>
#include <string_view>

#include "querywizard/lists.h"

namespace qrywiz {

inline constexpr std::string_view kBuilderProcedure = "QW_BUILDEXPQ";
inline constexpr std::string_view kConstantProcedure = "QW_CONSTANT";

// The accepted expression, nullopt when cancelled.
std::optional<std::string> runExpressionBuilder(const std::string& expression, const XBQW_FIELDSQUEUE& fields,
                                                bool sqlSyntax);

// What a constant of the kind ("text", "number", "date", "time") inserts for `entered`
// (the text typed, or for dates and times their day or time number).
std::string constantText(std::string_view kind, std::string_view entered, bool sqlSyntax);

}  // namespace qrywiz
