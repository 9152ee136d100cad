#pragma once
// The upgrader's conversion of a table on a PostgreSQL server, by the same rules as a file's
// (runtime/store/record_conversion.h): the table is made anew in the declared structure with
// its keys, folded columns, side indexes and word index, every record carried across with
// its position and change count, inside one transaction on the thread's connection. A
// failure anywhere undoes the whole of it, so the server holds the table exactly as before.
#include <optional>
#include <string>

#include "runtime/data/schema.h"
#include "runtime/store/data_location.h"
#include "runtime/store/record_conversion.h"
#include "runtime/store/table_layout.h"

namespace vrt::store::server {

// The structure the table is stored in on the server; nullopt when it is not there or the
// stored text cannot be read (the thread's error state says which when the server failed).
std::optional<TableSchema> storedSchema(const DataLocation& at, const std::string& sqlTable);
// Whether the table is stored in a structure other than `target`'s.
bool needsConversion(const DataLocation& at, const TableLayout& target);
// Brings the table to `target`, with `adjust` after each record when given. Returns 0 (also
// when another station converted it first) or the error code it recorded.
int convertTable(const DataLocation& at, const TableLayout& target, const ConvertProgress& progress = {},
                 const RecordAdjust& adjust = {});

}  // namespace vrt::store::server
