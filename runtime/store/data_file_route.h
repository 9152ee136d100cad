#pragma once
// Inside the data file: how its statements reach SQLite. Its own connection, or, while a
// transaction frames the file, the connection the transaction attached it to.
#include <map>
#include <string>

#include "runtime/store/data_file.h"

namespace vrt {

struct DataFile::Route {
  sql::Database* db;
  std::string schemaName;
  std::map<std::string, sql::Statement> statements;
};

}  // namespace vrt
