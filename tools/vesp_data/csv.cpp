#include "tools/vesp_data/csv.h"

#include <cstdio>

#include "runtime/text/dates.h"

namespace vesp::tools {

namespace {

std::string fieldText(const vrt::FieldDesc& f, const vrt::RecordRef& r) {
  char buf[32];
  switch (f.type) {
    case vrt::FieldType::Date: {
      const auto ymd = vrt::ymdFromDate(r.get(vrt::DateField{f.offset}));
      if (!ymd) return "";
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", ymd->year, ymd->month, ymd->day);
      return buf;
    }
    case vrt::FieldType::Time: {
      const auto hms = vrt::hmsFromTime(r.get(vrt::TimeField{f.offset}));
      if (!hms) return "";
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hms->hour, hms->minute, hms->second);
      std::string t = buf;
      if (hms->hundredths) {
        std::snprintf(buf, sizeof buf, ".%02d", hms->hundredths);
        t += buf;
      }
      return t;
    }
    default:
      return r.text(f);
  }
}

}  // namespace

std::vector<int> exportedFields(const vrt::TableSchema& schema) {
  std::vector<int> out;
  for (std::size_t i = 0; i < schema.fields.size(); ++i)
    if (schema.isStored(static_cast<int>(i))) out.push_back(static_cast<int>(i));
  return out;
}

std::string csvQuote(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void writeCsvHeader(std::ostream& out, const vrt::TableSchema& schema, const std::vector<int>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    out << (i ? "," : "") << csvQuote(schema.fields[static_cast<std::size_t>(fields[i])].label);
  out << "\n";
}

void writeCsvRecord(std::ostream& out, const vrt::TableSchema& schema, const std::vector<int>& fields,
                    const vrt::RecordRef& record) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    out << (i ? "," : "") << csvQuote(fieldText(schema.fields[static_cast<std::size_t>(fields[i])], record));
  out << "\n";
}

}  // namespace vesp::tools
