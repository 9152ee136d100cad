#pragma once
// How one declared table lies in SQLite: its columns (one per stored field; a date-time
// field is its _DATE and _TIME columns), its indexes, the text by which a file records its
// declared structure, and the copying of records to and from statements.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "runtime/data/schema.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/text/record.h"

namespace vrt::store {

// The value of one key component as SQLite compares it.
using KeyValue = std::variant<std::int64_t, std::string>;

struct Column {
  int field;              // index into the schema's fields
  std::string name;       // the field's name without prefix
  bool text;
  const char* collation;  // for text columns
};

class TableLayout {
 public:
  // `sqlTable` is the table's name inside the file; `indexPrefix` goes before every index
  // name (needed when several tables share one file).
  TableLayout(const TableSchema& schema, std::string sqlTable, std::string indexPrefix);

  const TableSchema& schema() const { return schema_; }
  const std::string& sqlTable() const { return sqlTable_; }
  // Whether the table lives in a file it shares with others.
  bool sharesFile() const { return !indexPrefix_.empty(); }
  const std::vector<Column>& columns() const { return columns_; }
  int columnOfField(int field) const;
  const std::string& columnList() const { return columnList_; }  // "c1","c2",...

  std::string createTableSql(const std::string& schemaName) const;
  std::vector<std::string> createIndexSql(const std::string& schemaName) const;
  std::string indexName(int key) const;
  // Column names of a key's components, in order.
  std::vector<std::string> keyColumns(int key) const;

  // The declared structure as stored in the file; equal texts mean equal layouts.
  std::string structureText() const;
  // Reads a stored structure back (fields with types, sizes, offsets and overlays; keys).
  static std::optional<TableSchema> parseStructure(const std::string& text);

  // Binds every column's value from the record, starting at parameter `first`.
  void bindRecord(sql::Statement& s, int first, const RecordRef& rec) const;
  // Reads every column into the record, starting at result column `first`.
  void readRecord(const sql::Statement& s, int first, RecordRef& rec) const;
  // Reads one column (by its index in columns()) into the record.
  void readColumn(const sql::Statement& s, int first, int column, RecordRef& rec) const;

  KeyValue componentValue(int field, const RecordRef& rec) const;
  std::vector<KeyValue> keyValues(int key, const RecordRef& rec) const;
  void setComponentValue(int field, const KeyValue& v, RecordRef& rec) const;
  // The highest value a component can hold, for positioning after a whole group.
  KeyValue highestValue(int field) const;
  // The lowest, for positioning before a whole group.
  KeyValue lowestValue(int field) const;

 private:
  TableSchema schema_;
  std::string sqlTable_;
  std::string indexPrefix_;
  std::vector<Column> columns_;
  std::vector<int> columnOfField_;
  std::string columnList_;
};

void bindKeyValue(sql::Statement& s, int index, const KeyValue& v);
KeyValue columnKeyValue(const sql::Statement& s, int column, bool text);

}  // namespace vrt::store
