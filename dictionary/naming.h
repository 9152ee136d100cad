#pragma once
// Where records name a record of another table by a plain field, with no relation to keep
// them in step: a performer as a service's speaker, a bibliography entry in an element, a
// pick list's text copied into a record. Deleting a named record leaves those fields as they
// are, so the user is told first where it is named.
#include <span>
#include <string_view>

namespace vesp::dict {

// The records of one table that name the record.
struct NamedByDecl {
  const char* table;                  // the naming table's label
  std::span<const char* const> fields;  // any of them holding the record's value names it
  const char* countedBy;              // nullptr: each record counts; else its distinct values of this field
  const char* one;                    // "service"
  const char* many;                   // "services"
};

struct NamedRecordDecl {
  const char* table;                       // the named table's label
  const char* value;                       // the field the others hold (a number, or a text)
  std::span<const char* const> name;       // the fields the user knows the record by, joined by a blank
  std::span<const NamedByDecl> namedBy;    // in the order the question lists them
};

std::span<const NamedRecordDecl> namedRecords();
// The declaration for `table` (case-insensitive label); nullptr when nothing names its records.
const NamedRecordDecl* namedRecord(std::string_view table);

}  // namespace vesp::dict
