#pragma once
// Tables a library keeps beside the dictionary's in the program's data (the query wizard's
// saved queries), so that what copies or backs up all of the data takes them too without
// knowing the library. A library registers its tables once, when it is loaded.
#include <string>
#include <vector>

#include "runtime/data/schema.h"

namespace vrt {

struct StoredTable {
  const TableSchema* schema;
  std::string name;  // as DataFile takes it: "QUERIES.TPS\!XBQW_Queries"
};

// Registers a table; the schema must live as long as the process.
void registerStoredTable(const TableSchema& schema, std::string name);
// Every registered table, in the order registered.
std::vector<StoredTable> storedTables();

}  // namespace vrt
