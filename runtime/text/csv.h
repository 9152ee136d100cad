#pragma once
// Cells and lines of CSV as every export of the program writes them (RFC 4180 quoting), made
// safe to open in a spreadsheet: stored text never becomes a formula there, and bytes that
// are not UTF-8 never reach the file.
#include <string>
#include <string_view>
#include <vector>

namespace vrt {

// What a cell holds. A number or a date keeps its own text (a leading minus too) so that a
// spreadsheet still reads it as a number; text is guarded.
enum class CsvKind { Text, Number };

// One cell: invalid UTF-8 becomes U+FFFD; text beginning with '=', '+', '-', '@', a tab or a
// carriage return gets a leading apostrophe, so that a spreadsheet shows it instead of
// evaluating it; quoted where it holds a comma, a quote or a line break, quotes doubled.
std::string CsvCell(std::string_view value, CsvKind kind = CsvKind::Text);

// One line of cells ended by CR LF. `kinds[i]` is the kind of `fields[i]`; missing kinds are text.
std::string CsvLine(const std::vector<std::string>& fields, const std::vector<CsvKind>& kinds = {});

}  // namespace vrt
