#include "runtime/settings/settings_list.h"

#include <algorithm>
#include <charconv>

namespace vrt {

namespace {

std::string rowName(std::string_view name, int row) { return std::string(name) + "_" + std::to_string(row); }

}  // namespace

std::optional<int> parseDecimal(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

std::vector<std::string> readListRows(SettingsStore& store, std::string_view section, std::string_view name) {
  const int count = std::clamp(parseDecimal(store.Read(section, name).value_or("")).value_or(0), 0,
                               kSettingsListRowLimit);
  std::vector<std::string> rows;
  for (int row = 1; row <= count; ++row) {
    if (std::optional<std::string> text = store.Read(section, rowName(name, row))) rows.push_back(std::move(*text));
  }
  return rows;
}

bool writeListRows(SettingsStore& store, std::string_view section, std::string_view name,
                   const std::vector<std::string>& rows) {
  const int oldCount = std::clamp(parseDecimal(store.Read(section, name).value_or("")).value_or(0), 0,
                                  kSettingsListRowLimit);
  if (rows.size() > static_cast<std::size_t>(kSettingsListRowLimit)) return false;  // could not be read back whole
  const int count = static_cast<int>(rows.size());
  bool ok = store.Write(section, name, std::to_string(count));
  for (int row = 1; row <= count; ++row) ok = store.Write(section, rowName(name, row), rows[row - 1]) && ok;
  for (int row = count + 1; row <= oldCount; ++row) ok = store.Remove(section, rowName(name, row)) && ok;
  return ok;
}

std::string joinColumns(const std::vector<std::string>& columns) {
  std::string row;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i) row += ',';
    row += columns[i];
  }
  return row;
}

std::vector<std::string> splitColumns(std::string_view row) {
  std::vector<std::string> columns;
  for (std::size_t start = 0;;) {
    const std::size_t comma = row.find(',', start);
    columns.emplace_back(row.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return columns;
    start = comma + 1;
  }
}

std::string commaField(std::string_view text, int n) {
  if (n < 1) return {};
  const std::vector<std::string> fields = splitColumns(text);
  return static_cast<std::size_t>(n) <= fields.size() ? fields[static_cast<std::size_t>(n) - 1] : std::string();
}

}  // namespace vrt
