#pragma once
// Lists kept in settings: an entry under the list's name holds the row count, and the
// entries "<name>_1" … "<name>_<count>" hold the rows.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/settings/settings_store.h"

namespace vrt {

inline constexpr int kSettingsListRowLimit = 10000;  // a damaged count is not read further

// The rows present, in order; a missing or unreadable count is an empty list.
std::vector<std::string> readListRows(SettingsStore& store, std::string_view section, std::string_view name);
// Writes the count and the rows, and removes rows left over from a longer list. A list
// longer than the row limit is refused whole.
bool writeListRows(SettingsStore& store, std::string_view section, std::string_view name,
                   const std::vector<std::string>& rows);

// A row's columns joined by ",". Columns are not escaped: one holding a comma reads back
// as two.
std::string joinColumns(const std::vector<std::string>& columns);
std::vector<std::string> splitColumns(std::string_view row);

// The n-th comma-separated field (from 1); empty when there are fewer.
std::string commaField(std::string_view text, int n);

// A whole decimal number, or nothing.
std::optional<int> parseDecimal(std::string_view text);

}  // namespace vrt
