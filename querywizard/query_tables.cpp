#include "querywizard/query_tables.h"

#include "runtime/data/stored_tables.h"
#include "runtime/text/record.h"

namespace qrywiz {

namespace {

using vrt::FieldType;

struct FieldRow {
  const char* name;
  FieldType type;
  std::uint32_t offset, size;
  int overlays = -1;
};

struct KeyRow {
  const char* name;
  std::vector<int> components;
  bool unique;
};

vrt::TableSchema build(const char* label, const char* prefix, std::uint32_t size, const std::vector<FieldRow>& fields,
                       std::initializer_list<KeyRow> keys) {
  vrt::TableSchema t;
  t.label = label;
  t.prefix = prefix;
  t.recordSize = size;
  for (const FieldRow& r : fields) {
    vrt::FieldDesc f;
    f.name = r.name;
    f.label = std::string(prefix) + ":" + r.name;
    f.type = r.type;
    f.offset = r.offset;
    f.size = r.size;
    f.overlays = r.overlays;
    t.fields.push_back(f);
  }
  for (const KeyRow& r : keys) {
    vrt::KeyDesc k;
    k.name = r.name;
    k.label = std::string(prefix) + ":" + r.name;
    k.components = r.components;
    k.unique = r.unique;
    t.keys.push_back(k);
  }
  return t;
}

}  // namespace

const vrt::TableSchema& queriesSchema() {
  static const vrt::TableSchema t = build(
      "XBQW_Queries", "XBQW_QR", 1120,
      {{"QUERYNO", FieldType::Long, 0, 4},
       {"CLASSNAME", FieldType::String, 4, 30},
       {"DESCRIPTION", FieldType::String, 34, 60},
       {"MANUAL", FieldType::Byte, 94, 1},
       {"INVALID", FieldType::Byte, 95, 1},
       {"QUERYSTRING", FieldType::String, 96, 1024}},
      {{"BYQUERYNO", {0}, true}, {"BYCLASSNAME", {1, 2}, false}});
  return t;
}

// The element layouts, today's and the earlier one, share their first 96 bytes.
static std::vector<FieldRow> elementFields(std::initializer_list<FieldRow> tail) {
  std::vector<FieldRow> fields = {{"QUERYNO", FieldType::Long, 0, 4},      {"FIELDPOINTER", FieldType::Long, 4, 4},
                                  {"CMPPOINTER", FieldType::Long, 8, 4},   {"CONJUNCTION", FieldType::String, 12, 3},
                                  {"VALUE", FieldType::String, 15, 80},    {"MATCHTYPE", FieldType::Byte, 95, 1}};
  fields.insert(fields.end(), tail);
  return fields;
}

const vrt::TableSchema& elementsSchema() {
  static const vrt::TableSchema t = build("XBQW_Elements", "XBQW_EL", 98,
                                          elementFields({{"OPCODE", FieldType::Byte, 96, 1},
                                                         {"EXPRESSION", FieldType::Byte, 97, 1}}),
                                          {{"BYQUERYNO", {0}, false}});
  return t;
}

const vrt::TableSchema& oldElementsSchema() {
  static const vrt::TableSchema t = build("XBQW_Elements", "XBQW_EL", 137,
                                          elementFields({{"OPERATOR", FieldType::String, 96, 40},
                                                         {"EXPRESSION", FieldType::Byte, 136, 1}}),
                                          {{"BYQUERYNO", {0}, false}});
  return t;
}

const vrt::TableSchema& fieldsSchema() {
  static const vrt::TableSchema t = build("XBQW_Fields", "XBQW_FD", 113,
                                          {{"CLASSNAME", FieldType::String, 0, 30},
                                           {"FIELDTYPE", FieldType::Byte, 30, 1},
                                           {"FIELDNAME", FieldType::String, 31, 80},
                                           {"FIELDPOINTER", FieldType::Group, 111, 2},
                                           {"FIELDPOINTER_LO", FieldType::Byte, 111, 1, 3},
                                           {"FIELDPOINTER_HI", FieldType::Byte, 112, 1, 3}},
                                          {{"BYCLASSNAME", {0, 1, 2}, false}});
  return t;
}

std::int16_t fieldPointer(const vrt::RecordRef& rec) {
  const unsigned char* p = rec.data() + FD::FIELDPOINTER.offset;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void setFieldPointer(vrt::RecordRef& rec, std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  unsigned char* p = rec.data() + FD::FIELDPOINTER.offset;
  p[0] = static_cast<unsigned char>(u & 0xFF);
  p[1] = static_cast<unsigned char>(u >> 8);
}

}  // namespace qrywiz

namespace qrywiz {

namespace {

// The saved queries are part of the program's data: copies and backups of it take them.
// Registered under the file's default name, where the program keeps them.
const bool registered = [] {
  vrt::registerStoredTable(queriesSchema(), "QUERIES.TPS\\!XBQW_Queries");
  vrt::registerStoredTable(elementsSchema(), "QUERIES.TPS\\!XBQW_Elements");
  vrt::registerStoredTable(fieldsSchema(), "QUERIES.TPS\\!XBQW_Fields");
  return true;
}();

}  // namespace

}  // namespace qrywiz
