#pragma once
// The data dictionary at run time: every table's declared structure, reachable by label.
#include <optional>
#include <span>
#include <string_view>

#include "dictionary/tables.h"
#include "runtime/data/schema.h"

namespace vesp::dict {

// All 27 tables in declaration order, built once.
std::span<const vrt::TableSchema> tables();
// By label ("Service", case-insensitive), or by prefix ("SER"); nullptr when none.
const vrt::TableSchema* table(std::string_view label);
const vrt::TableSchema* tableByPrefix(std::string_view prefix);
const vrt::TableSchema& schemaOf(const TableDecl& decl);

// A field reached by its full label ("SER:Title" = "SER:TITLE").
struct FieldLocation {
  const vrt::TableSchema* table;
  int index;
  const vrt::FieldDesc& desc() const { return table->fields[static_cast<std::size_t>(index)]; }
};
std::optional<FieldLocation> findField(std::string_view label);

// A key reached by its full label ("SER:WeekOfDateKey", case-insensitive).
struct KeyLocation {
  const vrt::TableSchema* table;
  int index;
  const vrt::KeyDesc& desc() const { return table->keys[static_cast<std::size_t>(index)]; }
};
std::optional<KeyLocation> findKey(std::string_view label);

}  // namespace vesp::dict
