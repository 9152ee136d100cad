#pragma once
// The calling thread's copies of the saved-query file's tables for one operation of the
// library. A table is opened on first use and closed when the operation is done; a failed
// open has shown the store's message and yields nullptr, so that the caller goes on without
// saved queries.
#include <memory>

#include "runtime/store/data_file.h"

namespace qrywiz {

enum class QueryTable { Queries, Elements, Fields };

class QueryFiles {
 public:
  QueryFiles();
  ~QueryFiles();
  QueryFiles(const QueryFiles&) = delete;
  QueryFiles& operator=(const QueryFiles&) = delete;

  // Opens the table (creating it when missing, converting an old element table).
  vrt::DataFile* open(QueryTable table);
  // The table whether or not it is open.
  vrt::DataFile& file(QueryTable table);

 private:
  bool openOne(vrt::DataFile& f, bool elements);
  std::unique_ptr<vrt::DataFile> files_[3];
};

// Brings an element table of the earlier layout at `target`'s place to the current layout
// in one transaction, operation names mapped to codes. On failure the old table is left as
// it was, the message has been shown, and false is returned.
bool convertElements(const vrt::DataFile& target);

// The operation code of an earlier version's operation name; 0 for any other text.
std::uint8_t operationCodeOfName(std::string_view name);

}  // namespace qrywiz
