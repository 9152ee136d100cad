#pragma once
// The pick lists' starting values: what a church finds in its lists the first time it opens
// the program, there to be edited or emptied. Declared as data; written through the file
// managers, so that any store the tables live in takes them.
#include <span>
#include <string>

#include "dictionary/declare.h"
#include "records/levels.h"

namespace vesp {

struct StarterList {
  const dict::TableDecl& table;
  int textField;                        // the one text the list holds
  std::span<const char* const> values;  // in the order they are added
};

// Every list that gets a starting set, with its values.
std::span<const StarterList> starterLists();

// Fills every starter list that holds no record yet, all lists in one transaction: all of
// them are filled, or none. Call it once, right after the data was created (the program's
// first start in an empty folder, "vesp-data create" there, a new server database) and
// never on data a church already works with: a list it edited keeps its records, but one it
// emptied would be filled again. A second call adds nothing, since every list then holds
// records. Needs this thread's dictionary (SetupDictionaryForThread); failures are recorded
// with the error manager, not shown. Level::Benign, or the level of the failure.
[[nodiscard]] Level FillStarterLists();

// True when `folder` holds none of the program's data files (a table's file, the saved
// queries, the settings): the data is about to be created there. Asked before anything
// opens a table or the settings, since that makes their files.
bool IsNewDataFolder(const std::string& folder = ".");

// Whether the data about to be opened is new, by the one test that start-up and "vesp-data
// create" share: where store::currentDataLocation() is a server, that its database holds
// none of the program's tables yet (a server that cannot be asked counts as not new);
// otherwise IsNewDataFolder(folder). Asked before any table is opened.
bool IsNewData(const std::string& folder = ".");

}  // namespace vesp
