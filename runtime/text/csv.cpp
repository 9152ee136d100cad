#include "runtime/text/csv.h"

#include <QString>

namespace vrt {

namespace {

// The bytes as UTF-8, every invalid sequence replaced by U+FFFD.
std::string validUtf8(std::string_view s) {
  bool ascii = true;
  for (char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(s);
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toUtf8().toStdString();
}

bool startsAFormula(std::string_view s, CsvKind kind) {
  if (s.empty()) return false;
  // A negative number is left as it is; anything else in a number's place is text.
  if (kind == CsvKind::Number && s.front() == '-' && s.size() > 1 &&
      ((s[1] >= '0' && s[1] <= '9') || s[1] == '.'))
    return false;
  switch (s.front()) {
    case '=': case '+': case '-': case '@': case '\t': case '\r': return true;
    default: return false;
  }
}

}  // namespace

std::string CsvCell(std::string_view value, CsvKind kind) {
  std::string text = validUtf8(value);
  if (startsAFormula(text, kind)) text.insert(0, 1, '\'');
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string CsvLine(const std::vector<std::string>& fields, const std::vector<CsvKind>& kinds) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    line += CsvCell(fields[i], i < kinds.size() ? kinds[i] : CsvKind::Text);
  }
  return line + "\r\n";
}

}  // namespace vrt
