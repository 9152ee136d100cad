#include "runtime/data/stored_tables.h"

#include <mutex>

namespace vrt {

namespace {

struct Registry {
  std::mutex lock;
  std::vector<StoredTable> tables;
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

void registerStoredTable(const TableSchema& schema, std::string name) {
  Registry& r = registry();
  std::lock_guard g(r.lock);
  for (const StoredTable& t : r.tables)
    if (t.name == name) return;
  r.tables.push_back({&schema, std::move(name)});
}

std::vector<StoredTable> storedTables() {
  Registry& r = registry();
  std::lock_guard g(r.lock);
  return r.tables;
}

}  // namespace vrt
