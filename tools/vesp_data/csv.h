#pragma once
// Records as CSV: a header of field labels, then one line per record. Dates and times are
// written as ISO text, amounts with two places, text without its trailing blanks; each cell
// as runtime/text/csv.h makes it safe for a spreadsheet.
#include <ostream>
#include <string>
#include <vector>

#include "runtime/data/schema.h"
#include "runtime/text/record.h"

namespace vesp::tools {

// The fields that are written: every field that holds a value of its own (no groups, and a
// date-time field as its date and time).
std::vector<int> exportedFields(const vrt::TableSchema& schema);
void writeCsvHeader(std::ostream& out, const vrt::TableSchema& schema, const std::vector<int>& fields);
void writeCsvRecord(std::ostream& out, const vrt::TableSchema& schema, const std::vector<int>& fields,
                    const vrt::RecordRef& record);

}  // namespace vesp::tools
