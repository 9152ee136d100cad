#include "runtime/store/table_layout.h"

#include <limits>
#include <sstream>

#include "runtime/text/utf8.h"

namespace vrt::store {

namespace {

bool isNoCaseTextColumn(const TableSchema& schema, int field) {
  for (const auto& k : schema.keys)
    for (int c : k.components)
      if (c == field && k.noCase) return true;
  return false;
}

std::optional<FieldType> typeFromName(const std::string& name) {
  for (auto t : {FieldType::Long, FieldType::Byte, FieldType::Date, FieldType::Time, FieldType::String,
                 FieldType::CString, FieldType::Decimal, FieldType::Group})
    if (name == fieldTypeName(t)) return t;
  return std::nullopt;
}

}  // namespace

TableLayout::TableLayout(const TableSchema& schema, std::string sqlTable, std::string indexPrefix)
    : schema_(schema), sqlTable_(std::move(sqlTable)), indexPrefix_(std::move(indexPrefix)) {
  columnOfField_.assign(schema_.fields.size(), -1);
  for (std::size_t i = 0; i < schema_.fields.size(); ++i) {
    const int f = static_cast<int>(i);
    if (!schema_.isStored(f)) continue;
    const FieldDesc& d = schema_.fields[i];
    const bool text = d.type == FieldType::String || d.type == FieldType::CString;
    columnOfField_[i] = static_cast<int>(columns_.size());
    columns_.push_back(Column{f, d.name, text, isNoCaseTextColumn(schema_, f) ? sql::kNoCase : sql::kText});
    if (!columnList_.empty()) columnList_ += ',';
    columnList_ += sql::quoteIdent(d.name);
  }
}

int TableLayout::columnOfField(int field) const {
  return field >= 0 && static_cast<std::size_t>(field) < columnOfField_.size()
             ? columnOfField_[static_cast<std::size_t>(field)]
             : -1;
}

std::string TableLayout::createTableSql(const std::string& schemaName) const {
  std::string sql = "CREATE TABLE " + sql::quoteIdent(schemaName) + "." + sql::quoteIdent(sqlTable_) +
                    " (_pos INTEGER PRIMARY KEY AUTOINCREMENT, _changes INTEGER NOT NULL DEFAULT 0";
  for (const Column& c : columns_) {
    sql += ", " + sql::quoteIdent(c.name);
    if (c.text) sql += std::string(" TEXT NOT NULL DEFAULT '' COLLATE ") + c.collation;
    else sql += " INTEGER NOT NULL DEFAULT 0";
  }
  return sql + ")";
}

std::string TableLayout::indexName(int key) const {
  const KeyDesc& k = schema_.keys[static_cast<std::size_t>(key)];
  return indexPrefix_ + (k.externalName.empty() ? sqlTable_ + "_" + k.name : k.externalName);
}

std::vector<std::string> TableLayout::keyColumns(int key) const {
  std::vector<std::string> out;
  for (int f : schema_.keys[static_cast<std::size_t>(key)].components)
    out.push_back(schema_.fields[static_cast<std::size_t>(f)].name);
  return out;
}

std::vector<std::string> TableLayout::createIndexSql(const std::string& schemaName) const {
  std::vector<std::string> out;
  for (std::size_t k = 0; k < schema_.keys.size(); ++k) {
    std::string cols;
    for (const auto& c : keyColumns(static_cast<int>(k))) cols += (cols.empty() ? "" : ",") + sql::quoteIdent(c);
    out.push_back(std::string("CREATE ") + (schema_.keys[k].unique ? "UNIQUE " : "") + "INDEX " +
                  sql::quoteIdent(schemaName) + "." + sql::quoteIdent(indexName(static_cast<int>(k))) + " ON " +
                  sql::quoteIdent(sqlTable_) + " (" + cols + ")");
  }
  return out;
}

std::string TableLayout::structureText() const {
  std::ostringstream out;
  out << "version " << schema_.version << "\n";
  for (const auto& f : schema_.fields)
    out << "field " << f.name << ' ' << fieldTypeName(f.type) << ' ' << f.size << ' ' << f.offset << ' '
        << f.overlays << "\n";
  for (const auto& k : schema_.keys) {
    out << "key " << k.name << ' ' << (k.unique ? 'U' : 'D') << (k.primary ? 'P' : '-') << (k.autoNumber ? 'A' : '-')
        << (k.noCase ? 'N' : '-') << ' ' << (k.externalName.empty() ? "-" : k.externalName);
    for (int c : k.components) out << ' ' << c;
    out << "\n";
  }
  return out.str();
}

std::optional<TableSchema> TableLayout::parseStructure(const std::string& text) {
  TableSchema t;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "version") {
      if (!(words >> t.version)) return std::nullopt;
    } else if (kind == "field") {
      FieldDesc f;
      std::string type;
      if (!(words >> f.name >> type >> f.size >> f.offset >> f.overlays)) return std::nullopt;
      const auto ft = typeFromName(type);
      if (!ft || f.overlays >= static_cast<int>(t.fields.size())) return std::nullopt;
      f.type = *ft;
      f.label = f.name;
      t.fields.push_back(f);
    } else if (kind == "key") {
      KeyDesc k;
      std::string flags, external;
      if (!(words >> k.name >> flags >> external) || flags.size() != 4) return std::nullopt;
      k.label = k.name;
      k.unique = flags[0] == 'U';
      k.primary = flags[1] == 'P';
      k.autoNumber = flags[2] == 'A';
      k.noCase = flags[3] == 'N';
      if (external != "-") k.externalName = external;
      for (int c; words >> c;) {
        if (c < 0 || c >= static_cast<int>(t.fields.size())) return std::nullopt;
        k.components.push_back(c);
      }
      t.keys.push_back(k);
    } else if (!kind.empty()) {
      return std::nullopt;
    }
  }
  for (const auto& f : t.fields) {
    if (f.overlays < 0) t.recordSize += f.size;
    if (f.offset + f.size > 1u << 20) return std::nullopt;
  }
  for (const auto& f : t.fields)
    if (f.offset + f.size > t.recordSize) return std::nullopt;
  return t;
}

void TableLayout::bindRecord(sql::Statement& s, int first, const RecordRef& rec) const {
  int p = first;
  for (const Column& c : columns_) {
    const FieldDesc& f = schema_.fields[static_cast<std::size_t>(c.field)];
    switch (f.type) {
      case FieldType::String:
        s.bind(p++, clip(std::string_view(reinterpret_cast<const char*>(rec.data() + f.offset), f.size)));
        break;
      case FieldType::CString: {
        const auto* text = reinterpret_cast<const char*>(rec.data() + f.offset);
        s.bind(p++, std::string_view(text, strnlen(text, f.size)));
        break;
      }
      case FieldType::Decimal:
        s.bind(p++, rec.get(DecimalField{f.offset}).cents());
        break;
      case FieldType::Byte:
        s.bind(p++, static_cast<std::int64_t>(rec.get(ByteField{f.offset})));
        break;
      default:
        s.bind(p++, static_cast<std::int64_t>(rec.get(LongField{f.offset})));
    }
  }
}

void TableLayout::readRecord(const sql::Statement& s, int first, RecordRef& rec) const {
  for (std::size_t c = 0; c < columns_.size(); ++c) readColumn(s, first, static_cast<int>(c), rec);
}

void TableLayout::readColumn(const sql::Statement& s, int first, int column, RecordRef& rec) const {
  const FieldDesc& f = schema_.fields[static_cast<std::size_t>(columns_[static_cast<std::size_t>(column)].field)];
  const int col = first + column;
  switch (f.type) {
    case FieldType::String:
      rec.set(StringField{f.offset, f.size}, s.text(col));
      break;
    case FieldType::CString:
      rec.set(CStringField{f.offset, f.size}, s.text(col));
      break;
    case FieldType::Decimal:
      rec.set(DecimalField{f.offset}, Decimal::fromCents(s.int64(col)));
      break;
    case FieldType::Byte:
      rec.set(ByteField{f.offset}, static_cast<std::uint8_t>(s.int64(col)));
      break;
    default:
      rec.set(LongField{f.offset}, static_cast<std::int32_t>(s.int64(col)));
  }
}

KeyValue TableLayout::componentValue(int field, const RecordRef& rec) const {
  const FieldDesc& f = schema_.fields[static_cast<std::size_t>(field)];
  switch (f.type) {
    case FieldType::String:
    case FieldType::CString:
      return rec.text(f);
    case FieldType::Decimal:
      return rec.get(DecimalField{f.offset}).cents();
    case FieldType::Byte:
      return static_cast<std::int64_t>(rec.get(ByteField{f.offset}));
    default:
      return static_cast<std::int64_t>(rec.get(LongField{f.offset}));
  }
}

std::vector<KeyValue> TableLayout::keyValues(int key, const RecordRef& rec) const {
  std::vector<KeyValue> out;
  for (int f : schema_.keys[static_cast<std::size_t>(key)].components) out.push_back(componentValue(f, rec));
  return out;
}

void TableLayout::setComponentValue(int field, const KeyValue& v, RecordRef& rec) const {
  const FieldDesc& f = schema_.fields[static_cast<std::size_t>(field)];
  if (const auto* s = std::get_if<std::string>(&v)) {
    rec.setText(f, *s);
    return;
  }
  const std::int64_t n = std::get<std::int64_t>(v);
  switch (f.type) {
    case FieldType::Decimal: rec.set(DecimalField{f.offset}, Decimal::fromCents(n)); break;
    case FieldType::Byte: rec.set(ByteField{f.offset}, static_cast<std::uint8_t>(n)); break;
    default: rec.set(LongField{f.offset}, static_cast<std::int32_t>(n));
  }
}

KeyValue TableLayout::highestValue(int field) const {
  const FieldDesc& f = schema_.fields[static_cast<std::size_t>(field)];
  switch (f.type) {
    case FieldType::String:
    case FieldType::CString: {
      std::string top;  // the last code point there is, as often as it fits
      while (top.size() + 4 <= f.size) top += "\xF4\x8F\xBF\xBF";
      return top;
    }
    case FieldType::Decimal:
      return std::numeric_limits<std::int64_t>::max();
    case FieldType::Byte:
      return std::int64_t{255};
    default:
      return std::int64_t{std::numeric_limits<std::int32_t>::max()};
  }
}

KeyValue TableLayout::lowestValue(int field) const {
  switch (schema_.fields[static_cast<std::size_t>(field)].type) {
    case FieldType::String:
    case FieldType::CString:
      return std::string();
    case FieldType::Decimal:
      return std::numeric_limits<std::int64_t>::min();
    case FieldType::Byte:
      return std::int64_t{0};
    default:
      return std::int64_t{std::numeric_limits<std::int32_t>::min()};
  }
}

void bindKeyValue(sql::Statement& s, int index, const KeyValue& v) {
  if (const auto* t = std::get_if<std::string>(&v)) s.bind(index, std::string_view(*t));
  else s.bind(index, std::get<std::int64_t>(v));
}

KeyValue columnKeyValue(const sql::Statement& s, int column, bool text) {
  if (text) return std::string(s.text(column));
  return s.int64(column);
}

}  // namespace vrt::store
