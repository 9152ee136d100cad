#pragma once
// Copying all of the program's data from one location to another (files to a server, a
// server to files), table by table through the store, and checking the copy: each table's
// record count and digest must be the same on both sides at the end.
//
// A table's digest is taken over its records in file order, field by field as stored
// (text without its padding), so that the same records give the same digest on either
// engine.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/data/schema.h"
#include "runtime/store/data_location.h"

namespace vesp::datacopy {

using vrt::store::DataLocation;

struct Table {
  const vrt::TableSchema* schema;
  std::string name;  // as DataFile takes it ("" for the dictionary's tables)
  const std::string& label() const { return schema->label; }
};

// Every table of the program's data: the dictionary's, then those other libraries keep
// there (runtime/data/stored_tables.h: the saved queries).
std::vector<Table> dataTables();

struct TableSum {
  std::string table;
  bool present = false;      // the table exists at the location
  std::int64_t records = 0;
  std::string digest;        // hexadecimal; of no records when the table is absent
};

// Records done in the table being copied, and the records it holds.
using Progress = std::function<void(const std::string& table, std::int64_t done, std::int64_t total)>;

struct Outcome {
  bool ok = false;
  std::string error;             // a sentence for the user when !ok
  std::vector<TableSum> tables;  // of the source, verified equal at the target, when ok
  std::int64_t records() const;
};

// Counts and digests every table at `at`. A table that is not there is not an error.
bool summarize(const DataLocation& at, std::vector<TableSum>& out, std::string& error);

// The tables at `at` that hold records, "ServiceElement (1,204), Topic (12)", or "" when
// none does. `error` says when the location cannot be read at all.
std::string tablesWithRecords(const DataLocation& at, std::string& error);

// Copies every table from `from` to `to`, making the folder of files `to` names when it is
// missing and the tables `to` lacks (empty where `from`
// lacks them too), then checks counts and digests on both sides. Refuses, copying nothing,
// when a table at `to` already holds records. A copy that fails part way leaves what it
// made at `to` and says so.
Outcome copyData(const DataLocation& from, const DataLocation& to, const Progress& progress = {});

}  // namespace vesp::datacopy
