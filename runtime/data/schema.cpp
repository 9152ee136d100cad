#include "runtime/data/schema.h"

#include "runtime/text/utf8.h"

namespace vrt {

namespace {

// "PRE:Name" or "Name" against a label that always carries its prefix.
bool labelMatches(std::string_view wanted, std::string_view label, std::string_view name) {
  const bool prefixed = wanted.find(':') != std::string_view::npos;
  return equalTextNoCase(wanted, prefixed ? label : name) && clip(wanted).size() == (prefixed ? label : name).size();
}

}  // namespace

int TableSchema::fieldIndex(std::string_view wanted) const {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (labelMatches(wanted, fields[i].label, fields[i].name)) return static_cast<int>(i);
  return -1;
}

int TableSchema::keyIndex(std::string_view wanted) const {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (labelMatches(wanted, keys[i].label, keys[i].name)) return static_cast<int>(i);
  return -1;
}

bool TableSchema::isOverlaid(int field) const {
  for (const auto& f : fields)
    if (f.overlays == field) return true;
  return false;
}

bool TableSchema::isStored(int field) const {
  return fields[static_cast<std::size_t>(field)].type != FieldType::Group && !isOverlaid(field);
}

int TableSchema::autoNumberKey() const {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i].autoNumber) return static_cast<int>(i);
  return -1;
}

int TableSchema::primaryKey() const {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i].primary) return static_cast<int>(i);
  return -1;
}

}  // namespace vrt
