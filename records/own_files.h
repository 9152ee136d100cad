#pragma once
// The files a file the user names must never take the place of: an export or a saved report
// written over one of them would destroy the church's data or its only copy.
#include <string>

namespace vesp {

// Why `path` is one of the program's own files, or "" when it may be written: a data file of
// `dataFolder` (any table's file, "QUERIES.TPS", "vsp.INI"), the journal SQLite keeps beside
// one, a link to one of them, or a file in a backup set (in the data folder's backups folder,
// or in any folder whose manifest makes it a set). Links in `path` are followed first.
std::string OwnFileReason(const std::string& path, const std::string& dataFolder = ".");

}  // namespace vesp
