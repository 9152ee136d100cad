#pragma once
// The declared structure of a table: what the store needs to create, check and index a
// file. Built from the data dictionary; nothing here knows any particular table.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/field.h"

namespace vrt {

struct KeyDesc {
  std::string label;            // "SER:ServiceNumberKey", mixed case as declared
  std::string name;             // "ServiceNumberKey"
  std::vector<int> components;  // field indexes, all ascending
  bool unique = false;
  bool primary = false;
  bool autoNumber = false;
  bool noCase = true;           // text components compare in capitals
  std::string externalName;     // index name inside the data file; "" when none is declared
};

struct TableSchema {
  std::string label;   // "Service"; also the data file's name
  std::string prefix;  // "SER"
  int version = 1;
  std::uint32_t recordSize = 0;
  std::vector<FieldDesc> fields;
  std::vector<KeyDesc> keys;
  // Text fields whose words the file indexes for word search (none for most tables).
  std::vector<int> searchFields;
  // Further indexes the file keeps for look-ups and orders that no key declares, each over
  // stored fields in order. They are not part of the declared structure: a file with or
  // without them has the same format, and they are made again from the records when missing.
  std::vector<std::vector<int>> sideIndexes;

  // Fields by label, case-insensitive, with or without the prefix ("ser:Title", "TITLE"); -1 if none.
  int fieldIndex(std::string_view label) const;
  // Keys by label, case-insensitive, with or without the prefix; -1 if none.
  int keyIndex(std::string_view label) const;
  // Whether the field holds bytes of its own in storage: not a group, and no group over it.
  bool isStored(int field) const;
  // Whether some other field lies over this one.
  bool isOverlaid(int field) const;
  int autoNumberKey() const;  // -1 when the table has none
  int primaryKey() const;     // -1 when no key is marked primary
};

}  // namespace vrt
