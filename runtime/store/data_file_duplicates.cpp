// Which unique key the buffer's values would duplicate.
#include "runtime/store/data_file.h"

#include "runtime/store/data_file_route.h"
#include "runtime/store/data_file_server.h"

namespace vrt {

bool DataFile::duplicates(int key) {
  // Asked while a write's failure is being reported: the thread's error state must survive.
  if (!isOpen() || key < 0 || static_cast<std::size_t>(key) >= schema().keys.size()) return false;
  const KeyDesc& k = schema().keys[static_cast<std::size_t>(key)];
  if (!k.unique) return false;
  if (server_) return server_->duplicates(key);
  std::string where;
  for (const auto& c : layout_.keyColumns(key)) where += sql::quoteIdent(c) + " = ? AND ";
  sql::Statement* s = statement("dup" + std::to_string(key),
                                "SELECT 1 FROM " + qualifiedTable() + " WHERE " + where + "_pos <> ? LIMIT 1");
  if (!s) return false;
  sql::StatementUse use(*s);
  const auto values = layout_.keyValues(key, buffer_);
  for (std::size_t i = 0; i < values.size(); ++i) store::bindKeyValue(*s, static_cast<int>(i) + 1, values[i]);
  s->bind(static_cast<int>(values.size()) + 1, current_.rowid);
  return s->step() == SQLITE_ROW;
}

int DataFile::firstDuplicateKey() {
  for (std::size_t k = 0; k < schema().keys.size(); ++k)
    if (duplicates(static_cast<int>(k))) return static_cast<int>(k);
  return -1;
}

}  // namespace vrt
