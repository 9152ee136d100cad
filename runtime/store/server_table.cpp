#include "runtime/store/server_table.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "runtime/text/search_words.h"
#include "runtime/text/utf8.h"

namespace vrt::store::server {

namespace {

const Column& columnAt(const TableLayout& layout, int column) {
  return layout.columns()[static_cast<std::size_t>(column)];
}

const char* kAnnounce = "_vesp_announce";

// The highest code point: every word that starts with a prefix sorts below prefix + this.
constexpr const char* kTopCharacter = "\xF4\x8F\xBF\xBF";

// For each character, the others that upper-case to it ('S': 's' and the long s).
const std::unordered_map<char32_t, std::u32string>& upperCaseSources() {
  static const auto* sources = [] {
    auto* m = new std::unordered_map<char32_t, std::u32string>;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
      if (cp == 0xD800) cp = 0xE000;  // surrogates are no characters
      if (const char32_t u = upperCaseChar(cp); u != cp) (*m)[u].push_back(cp);
    }
    return m;
  }();
  return *sources;
}

std::string codePointEscape(char32_t cp) {
  char out[16];
  if (cp <= 0xFFFF) std::snprintf(out, sizeof out, "\\u%04X", static_cast<unsigned>(cp));
  else std::snprintf(out, sizeof out, "\\U%08X", static_cast<unsigned>(cp));
  return out;
}

}  // namespace

bool sendableText(std::string_view text) {
  std::string again;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = utf8Next(text, pos);
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    utf8Append(again, cp);
  }
  // A stray byte decodes as itself and comes back as two.
  return again == text;
}

std::optional<std::string> caseBlindPattern(std::string_view text) {
  if (!sendableText(text)) return std::nullopt;
  const auto& sources = upperCaseSources();
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = utf8Next(text, pos);
    if (upperCaseChar(cp) != cp) return std::nullopt;
    const auto it = sources.find(cp);
    if (it == sources.end()) {
      out += codePointEscape(cp);
      continue;
    }
    out += '[' + codePointEscape(cp);
    for (char32_t other : it->second) out += codePointEscape(other);
    out += ']';
  }
  return out;
}

bool hasFolded(const TableLayout& layout, int column) {
  const Column& c = columnAt(layout, column);
  return c.text && std::strcmp(c.collation, sql::kNoCase) == 0;
}

std::string foldedName(const TableLayout& layout, int column) { return "_f_" + columnAt(layout, column).name; }

std::string folded(std::string_view text) { return upperCase(clip(text)); }

std::string arrayText(const std::vector<std::string>& items) {
  std::string out = "{";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out += i ? ",\"" : "\"";
    for (char c : items[i]) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  }
  return out + "}";
}

std::string orderExpression(const TableLayout& layout, int column, bool caseBlind) {
  if (caseBlind && hasFolded(layout, column)) return sql::quoteIdent(foldedName(layout, column));
  const Column& c = columnAt(layout, column);
  // A CSTRING keeps the blanks it was given; text compares without them.
  if (layout.schema().fields[static_cast<std::size_t>(c.field)].type == FieldType::CString)
    return "rtrim(" + sql::quoteIdent(c.name) + ", ' ')";
  return sql::quoteIdent(c.name);
}

std::vector<std::string> keyOrderColumns(const TableLayout& layout, int key) {
  std::vector<std::string> out;
  for (int f : layout.schema().keys[static_cast<std::size_t>(key)].components) {
    const int c = layout.columnOfField(f);
    out.push_back(orderExpression(layout, c, true));
  }
  return out;
}

void addKeyValue(pg::Params& p, const TableLayout& layout, int field, const KeyValue& v) {
  if (const auto* t = std::get_if<std::string>(&v)) {
    const int c = layout.columnOfField(field);
    if (c >= 0 && hasFolded(layout, c)) p.add(folded(*t));
    else p.add(clip(*t));
  } else {
    p.add(std::get<std::int64_t>(v));
  }
}

std::string selectList(const TableLayout& layout) { return "_pos,_changes," + layout.columnList(); }

std::string writeColumns(const TableLayout& layout) {
  std::string out = layout.columnList();
  for (std::size_t c = 0; c < layout.columns().size(); ++c)
    if (hasFolded(layout, static_cast<int>(c))) out += "," + sql::quoteIdent(foldedName(layout, static_cast<int>(c)));
  return out;
}

int writeCount(const TableLayout& layout) {
  int n = static_cast<int>(layout.columns().size());
  for (std::size_t c = 0; c < layout.columns().size(); ++c) n += hasFolded(layout, static_cast<int>(c)) ? 1 : 0;
  return n;
}

void addRecord(pg::Params& p, const TableLayout& layout, const RecordRef& rec) {
  const auto& fields = layout.schema().fields;
  std::vector<std::string> texts(layout.columns().size());
  for (std::size_t i = 0; i < layout.columns().size(); ++i) {
    const Column& c = layout.columns()[i];
    const FieldDesc& f = fields[static_cast<std::size_t>(c.field)];
    switch (f.type) {
      case FieldType::String:
        texts[i] = std::string(clip(std::string_view(reinterpret_cast<const char*>(rec.data() + f.offset), f.size)));
        p.add(texts[i]);
        break;
      case FieldType::CString: {
        const auto* text = reinterpret_cast<const char*>(rec.data() + f.offset);
        texts[i] = std::string(text, strnlen(text, f.size));
        p.add(texts[i]);
        break;
      }
      case FieldType::Decimal:
        p.add(rec.get(DecimalField{f.offset}).cents());
        break;
      case FieldType::Byte:
        p.add(static_cast<std::int64_t>(rec.get(ByteField{f.offset})));
        break;
      default:
        p.add(static_cast<std::int64_t>(rec.get(LongField{f.offset})));
    }
  }
  for (std::size_t i = 0; i < layout.columns().size(); ++i)
    if (hasFolded(layout, static_cast<int>(i))) p.add(folded(texts[i]));
}

void readColumn(const pg::Result& r, int row, const TableLayout& layout, int column, RecordRef& rec) {
  const FieldDesc& f = layout.schema().fields[static_cast<std::size_t>(columnAt(layout, column).field)];
  const int col = 2 + column;
  switch (f.type) {
    case FieldType::String:
      rec.set(StringField{f.offset, f.size}, r.text(row, col));
      break;
    case FieldType::CString:
      rec.set(CStringField{f.offset, f.size}, r.text(row, col));
      break;
    case FieldType::Decimal:
      rec.set(DecimalField{f.offset}, Decimal::fromCents(r.int64(row, col)));
      break;
    case FieldType::Byte:
      rec.set(ByteField{f.offset}, static_cast<std::uint8_t>(r.int64(row, col)));
      break;
    default:
      rec.set(LongField{f.offset}, static_cast<std::int32_t>(r.int64(row, col)));
  }
}

void readRecord(const pg::Result& r, int row, const TableLayout& layout, RecordRef& rec, std::int64_t& pos,
                std::int64_t& changes) {
  pos = r.int64(row, 0);
  changes = r.int64(row, 1);
  for (std::size_t c = 0; c < layout.columns().size(); ++c) readColumn(r, row, layout, static_cast<int>(c), rec);
}

std::string quotedTable(const TableLayout& layout) { return sql::quoteIdent(layout.sqlTable()); }

std::string indexName(const TableLayout& layout, int key) {
  // The server cuts names at 63 bytes; the table's name and the key's number stay unique.
  return layout.sqlTable() + "__k" + std::to_string(key);
}

std::string createTable(pg::Connection& c, const TableLayout& layout) {
  const std::string table = quotedTable(layout);
  std::string ddl = "CREATE TABLE " + table + " (_pos bigserial PRIMARY KEY, _changes bigint NOT NULL DEFAULT 0";
  for (std::size_t i = 0; i < layout.columns().size(); ++i) {
    const Column& col = layout.columns()[i];
    ddl += ", " + sql::quoteIdent(col.name) +
           (col.text ? " text COLLATE \"C\" NOT NULL DEFAULT ''" : " bigint NOT NULL DEFAULT 0");
  }
  for (std::size_t i = 0; i < layout.columns().size(); ++i)
    if (hasFolded(layout, static_cast<int>(i)))
      ddl += ", " + sql::quoteIdent(foldedName(layout, static_cast<int>(i))) + " text COLLATE \"C\" NOT NULL DEFAULT ''";
  ddl += ")";
  std::vector<std::string> steps{
      "CREATE TABLE IF NOT EXISTS " + std::string(kMetaTable) +
          " (tbl text NOT NULL, name text NOT NULL, value text NOT NULL, PRIMARY KEY (tbl, name))",
      ddl};
  const auto& keys = layout.schema().keys;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    std::string cols;
    for (const auto& name : keyOrderColumns(layout, static_cast<int>(k)))
      cols += (cols.empty() ? "" : ",") + (name.front() == '"' ? name : "(" + name + ")");
    if (!keys[k].unique) cols += ",_pos";
    steps.push_back(std::string("CREATE ") + (keys[k].unique ? "UNIQUE " : "") + "INDEX " +
                    sql::quoteIdent(indexName(layout, static_cast<int>(k))) + " ON " + table + " (" + cols + ")");
  }
  const auto& sides = layout.schema().sideIndexes;
  for (std::size_t i = 0; i < sides.size(); ++i) {
    std::string cols;
    for (int f : sides[i]) {
      const int c = layout.columnOfField(f);
      if (c < 0) continue;
      const std::string e = orderExpression(layout, c, true);
      cols += (cols.empty() ? "" : ",") + (e.front() == '"' ? e : "(" + e + ")");
    }
    if (!cols.empty())
      steps.push_back("CREATE INDEX " + sql::quoteIdent(layout.sqlTable() + "__s" + std::to_string(i)) + " ON " + table +
                      " (" + cols + ")");
  }
  if (hasWords(layout)) {
    const std::string words = sql::quoteIdent(wordsTable(layout));
    steps.push_back("CREATE TABLE " + words + " (pos bigint NOT NULL REFERENCES " + table +
                    " (_pos) ON DELETE CASCADE, col int NOT NULL, word text COLLATE \"C\" NOT NULL)");
    steps.push_back("CREATE INDEX " + sql::quoteIdent(wordsTable(layout) + "_word") + " ON " + words + " (word, col)");
    steps.push_back("CREATE INDEX " + sql::quoteIdent(wordsTable(layout) + "_pos") + " ON " + words + " (pos)");
  }
  // Other stations learn of every committed change to the table by its name.
  steps.push_back(std::string("CREATE TRIGGER ") + sql::quoteIdent(layout.sqlTable() + "__changed") +
                  " AFTER INSERT OR UPDATE OR DELETE ON " + table + " FOR EACH STATEMENT EXECUTE FUNCTION " + kAnnounce +
                  "()");
  pg::Result fn = c.exec("SELECT to_regproc('" + std::string(kAnnounce) + "') IS NULL");
  if (!fn.ok()) return fn.error();
  if (fn.text(0, 0) == "t") {
    pg::Result made = c.exec(std::string("CREATE FUNCTION ") + kAnnounce +
                             "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN PERFORM pg_notify('" + kChangeChannel +
                             "', TG_TABLE_NAME); RETURN NULL; END $$");
    if (!made.ok()) return made.error();
  }
  for (const auto& s : steps) {
    pg::Result r = c.exec(s);
    if (!r.ok()) return r.error();
  }
  pg::Params p;
  p.add(layout.sqlTable()).add(layout.structureText()).add(static_cast<std::int64_t>(layout.schema().version));
  pg::Result meta = c.exec("INSERT INTO " + std::string(kMetaTable) +
                               " VALUES ($1, 'structure', $2), ($1, 'version', $3::text) "
                               "ON CONFLICT (tbl, name) DO UPDATE SET value = excluded.value",
                           p);
  return meta.ok() ? "" : meta.error();
}

std::string storedStructure(pg::Connection& c, const std::string& sqlTable, std::string& error) {
  error.clear();
  pg::Params p;
  p.add(sqlTable);
  pg::Result r = c.exec("SELECT m.value FROM " + std::string(kMetaTable) +
                            " m WHERE to_regclass('" + kMetaTable +
                            "') IS NOT NULL AND m.tbl = $1 AND m.name = 'structure' AND to_regclass(quote_ident($1)) IS NOT NULL",
                        p);
  if (!r.ok()) {
    // No metadata table: the database holds none of the program's tables yet.
    if (r.sqlState() == pg::kUndefinedTable) return "";
    error = r.error();
    return "";
  }
  return r.rows() ? std::string(r.text(0, 0)) : "";
}

bool hasWords(const TableLayout& layout) {
  for (int f : layout.schema().searchFields)
    if (layout.columnOfField(f) >= 0) return true;
  return false;
}

std::string wordsTable(const TableLayout& layout) { return layout.sqlTable() + "__words"; }

std::vector<std::pair<int, std::string>> recordWords(const TableLayout& layout, const RecordRef& rec) {
  std::vector<std::pair<int, std::string>> out;
  for (int f : layout.schema().searchFields) {
    if (layout.columnOfField(f) < 0) continue;
    for (auto& w : searchWords(rec.text(layout.schema().fields[static_cast<std::size_t>(f)])))
      out.emplace_back(f, std::move(w));
  }
  return out;
}

void addWords(pg::Params& p, const TableLayout& layout, const RecordRef& rec) {
  std::vector<std::string> columns, words;
  for (auto& [f, w] : recordWords(layout, rec)) {
    columns.push_back(std::to_string(f));
    words.push_back(std::move(w));
  }
  p.add(arrayText(columns)).add(arrayText(words));
}

std::string wordCondition(const TableLayout& layout, const std::string& words, const std::vector<int>& fields,
                          std::vector<std::string>& values, int firstMark) {
  std::vector<std::string> columns;
  for (int f : fields) columns.push_back(std::to_string(f));
  std::string out;
  int mark = firstMark;
  const std::string table = sql::quoteIdent(wordsTable(layout));
  for (const auto& w : searchWords(words)) {
    out += (out.empty() ? "" : " AND ") + std::string("_pos IN (SELECT pos FROM ") + table + " WHERE word >= $" +
           std::to_string(mark) + " AND word < $" + std::to_string(mark + 1) + " AND col = ANY ($" +
           std::to_string(mark + 2) + "::int[]))";
    values.push_back(w);
    values.push_back(w + kTopCharacter);
    values.push_back(arrayText(columns));
    mark += 3;
  }
  return out;
}

std::string beyond(const std::vector<std::string>& columns, const std::vector<bool>& desc, bool forward, bool orEqual,
                   int firstMark) {
  auto mark = [&](std::size_t i) { return "$" + std::to_string(firstMark + static_cast<int>(i)); };
  auto op = [&](std::size_t i, bool last) {
    const bool greater = desc[i] != forward;
    return std::string(greater ? ">" : "<") + (last && orEqual ? "=" : "");
  };
  bool uniform = true;
  for (std::size_t i = 1; i < desc.size(); ++i) uniform = uniform && desc[i] == desc[0];
  if (uniform) {
    if (columns.size() == 1) return columns[0] + " " + op(0, true) + " " + mark(0);
    std::string t, m;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      t += (i ? "," : "") + columns[i];
      m += (i ? "," : "") + mark(i);
    }
    return "(" + t + ") " + op(0, true) + " (" + m + ")";
  }
  std::string w;
  for (std::size_t i = columns.size(); i-- > 0;) {
    const std::string cmp = columns[i] + " " + op(i, i + 1 == columns.size()) + " " + mark(i);
    w = w.empty() ? cmp : "(" + cmp + " OR (" + columns[i] + " = " + mark(i) + " AND " + w + "))";
  }
  return w;
}

std::string orderBy(const std::vector<std::string>& columns, const std::vector<bool>& desc, bool reverse) {
  std::string o;
  for (std::size_t i = 0; i < columns.size(); ++i) o += (i ? "," : "") + columns[i] + (desc[i] != reverse ? " DESC" : "");
  return " ORDER BY " + o;
}

}  // namespace vrt::store::server
