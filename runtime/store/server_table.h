#pragma once
// How one declared table lies in a PostgreSQL database. The columns are those of the file
// (text compared byte by byte, COLLATE "C"); beside each text column that a case-blind key
// or a side index orders by, the driver keeps its folded copy ("_f_" + name: the program's
// own upper-casing, trailing blanks dropped), so that the server orders case-blind keys
// exactly as the files do whatever its locale. Keys are indexes over the folded copies, a
// key that allows duplicates ending in the record's position.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/store/pg_db.h"
#include "runtime/store/table_layout.h"
#include "runtime/text/record.h"

namespace vrt::store::server {

// The metadata table: each table's declared structure and version, as in a file.
inline constexpr const char* kMetaTable = "_vesp_meta";
// The channel on which every committed change to a table is announced, with its name.
inline constexpr const char* kChangeChannel = "vesp_changes";

// The column that orders a layout column: its folded copy where it has one.
bool hasFolded(const TableLayout& layout, int column);
std::string foldedName(const TableLayout& layout, int column);
// The text a folded copy holds for `text`.
std::string folded(std::string_view text);
// An array parameter as the server reads it as text: {"a","b"}, quotes and backslashes escaped.
std::string arrayText(const std::vector<std::string>& items);

// What orders a column on the server, as SQL: its folded copy when `caseBlind` (and it has
// one), else the column itself, without trailing blanks where its text can have them.
std::string orderExpression(const TableLayout& layout, int column, bool caseBlind);

// What orders `key`'s components (orderExpression of each), in order.
std::vector<std::string> keyOrderColumns(const TableLayout& layout, int key);
// The value bound against a key component's order column: folded for a folded column,
// without trailing blanks for text.
void addKeyValue(pg::Params& p, const TableLayout& layout, int field, const KeyValue& v);

// "_pos,_changes,<every column>" and the columns written (the stored ones, then the folded).
std::string selectList(const TableLayout& layout);
std::string writeColumns(const TableLayout& layout);
int writeCount(const TableLayout& layout);
// The record's values for writeColumns(), in order.
void addRecord(pg::Params& p, const TableLayout& layout, const RecordRef& rec);
// Reads row `row` of a result of selectList() into the record; `_pos` and `_changes` out.
void readRecord(const pg::Result& r, int row, const TableLayout& layout, RecordRef& rec, std::int64_t& pos,
                std::int64_t& changes);
void readColumn(const pg::Result& r, int row, const TableLayout& layout, int column, RecordRef& rec);

std::string quotedTable(const TableLayout& layout);
std::string indexName(const TableLayout& layout, int key);

// Creates the table, its keys, side indexes, and change announcement, and records its
// structure. Runs inside the caller's transaction. An empty result, or the server's error.
std::string createTable(pg::Connection& c, const TableLayout& layout);
// The stored structure of the table; empty when the database does not hold it. `error` is
// set when the server could not be asked.
std::string storedStructure(pg::Connection& c, const std::string& sqlTable, std::string& error);

// The word index of a table with search fields: a table of its own ("<table>__words") with
// each record's folded words per column, kept by the driver in the same statement as the
// record, and gone with the record.
bool hasWords(const TableLayout& layout);
std::string wordsTable(const TableLayout& layout);
// The record's words as the word index keeps them: (schema field index, folded word).
std::vector<std::pair<int, std::string>> recordWords(const TableLayout& layout, const RecordRef& rec);
// The record's words: two parameters, the columns' numbers and the words, as arrays.
void addWords(pg::Params& p, const TableLayout& layout, const RecordRef& rec);
// The condition that every word of `words` starts a word in one of `fields` (schema field
// indexes); its values are added to `values`, marked from `firstMark` on. "" when there is
// no word.
std::string wordCondition(const TableLayout& layout, const std::string& words, const std::vector<int>& fields,
                          std::vector<std::string>& values, int firstMark);

// Whether the server takes `text` as a value as it is: valid UTF-8 without a zero byte.
bool sendableText(std::string_view text);
// A regular expression (the server's own kind) that finds `text` where upperCase(column)
// holds it: each character of `text` stands for itself and for every character that
// upper-cases to it, written as code-point escapes only. Nullopt when no upper-cased text
// can hold `text` (a character in it is not its own upper case) or it cannot be sent.
std::optional<std::string> caseBlindPattern(std::string_view text);

// Records beyond an anchor in an order: "(a,b,_pos) > ($3,$4,$5)" where every column runs
// the same way, else the nested form. `desc` per column, `forward` the read's direction,
// `orEqual` to include the anchor itself; the marks start at `firstMark`.
std::string beyond(const std::vector<std::string>& columns, const std::vector<bool>& desc, bool forward, bool orEqual,
                   int firstMark);
// "ORDER BY a, b DESC, _pos" for the read's direction.
std::string orderBy(const std::vector<std::string>& columns, const std::vector<bool>& desc, bool reverse);

}  // namespace vrt::store::server
