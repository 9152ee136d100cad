#pragma once
// Opening a dictionary table as the program does: through the upgrader, with the table
// created when its file is missing.
#include <memory>
#include <ostream>
#include <string>

#include "runtime/store/data_file.h"

namespace vesp::tools {

// The table by label, any case; nullptr with a message when there is no such table.
const vrt::TableSchema* findTable(const std::string& label, std::ostream& err);
// Opened read-write (or read-only), or nullptr with a message.
std::unique_ptr<vrt::DataFile> openTable(const vrt::TableSchema& schema, std::ostream& err, bool create,
                                         vrt::OpenAccess access = vrt::OpenAccess::ReadWrite);
std::string describeError();

}  // namespace vesp::tools
