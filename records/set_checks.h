#pragma once
// What a backup set must be before anything of it is put in place: a set is data read from
// a folder anyone may have written, never a list of instructions. Its manifest may name only
// the program's own data files, each once and by its bare name, lying in the set as plain
// files; and it must hold every table the program has.
#include <string>
#include <vector>

#include "records/backup_sets.h"

namespace vesp::backup {

// "" when `set` may be restored as far as its entries go, else which entry is wrong and why.
// Reads the set's folder (for links and missing files) but never its files' contents.
std::string checkSetEntries(const BackupSet& set);

// Sorts the data files of `dataFolder` for a backup: `present` to be copied, `unused` the
// tables whose files were never made (a table is made empty on first use), which the set
// holds empty so that it is complete. "" or, when a data file's name is taken by a folder,
// a link to nothing or anything else that cannot be copied, which one: a backup never
// leaves a table out and calls itself whole.
std::string dataFilesToBackUp(const std::string& dataFolder, std::vector<std::string>& present,
                              std::vector<std::string>& unused);
// Makes the empty file of the table file `name` in the set at `setPath` and describes it.
std::string addEmptyTable(const std::string& setPath, const std::string& name, SetFile& file);

// The table whose file `name` is ("Service.vdb" -> "Service"), or "" for the other data files.
std::string tableOfFile(const std::string& name);

}  // namespace vesp::backup
