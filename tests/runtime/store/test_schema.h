#pragma once
// A small table for the store's tests: a numbered person with a name, a date, an amount
// and a long note, and keys of every kind the store must serve.
#include "runtime/data/schema.h"

namespace vtest {

inline vrt::FieldDesc field(const char* name, vrt::FieldType type, std::uint32_t size, std::uint32_t offset) {
  vrt::FieldDesc f;
  f.name = name;
  f.label = std::string("PEO:") + name;
  f.type = type;
  f.size = size;
  f.offset = offset;
  return f;
}

inline vrt::KeyDesc key(const char* name, std::vector<int> comps, bool unique, bool autoNumber = false) {
  vrt::KeyDesc k;
  k.name = name;
  k.label = std::string("PEO:") + name;
  k.components = std::move(comps);
  k.unique = unique;
  k.primary = autoNumber;
  k.autoNumber = autoNumber;
  k.externalName = name;
  return k;
}

enum PeopleField { kNumber, kName, kBorn, kGiven, kNote, kGroup };

// NUMBER LONG, NAME CSTRING(21), BORN DATE, GIVEN DECIMAL, NOTE STRING(600), GROUPNO LONG
inline vrt::TableSchema peopleSchema(int version = 1) {
  using vrt::FieldType;
  vrt::TableSchema t;
  t.label = "People";
  t.prefix = "PEO";
  t.version = version;
  t.fields = {field("NUMBER", FieldType::Long, 4, 0),      field("NAME", FieldType::CString, 21, 4),
              field("BORN", FieldType::Date, 4, 25),       field("GIVEN", FieldType::Decimal, 10, 29),
              field("NOTE", FieldType::String, 600, 39),   field("GROUPNO", FieldType::Long, 4, 639)};
  t.recordSize = 643;
  t.keys = {key("NumberKey", {kNumber}, true, true), key("NameKey", {kName, kNumber}, false),
            key("GroupNameKey", {kGroup, kName}, true), key("NoteKey", {kBorn, kNote}, false)};
  return t;
}

}  // namespace vtest
