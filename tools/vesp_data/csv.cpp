#include "tools/vesp_data/csv.h"

#include <cstdio>

#include "runtime/text/csv.h"
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

void writeCsvHeader(std::ostream& out, const vrt::TableSchema& schema, const std::vector<int>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    out << (i ? "," : "") << vrt::CsvCell(schema.fields[static_cast<std::size_t>(fields[i])].label);
  out << "\n";
}

void writeCsvRecord(std::ostream& out, const vrt::TableSchema& schema, const std::vector<int>& fields,
                    const vrt::RecordRef& record) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const vrt::FieldDesc& f = schema.fields[static_cast<std::size_t>(fields[i])];
    out << (i ? "," : "") << vrt::CsvCell(fieldText(f, record), vrt::isTextType(f.type) ? vrt::CsvKind::Text : vrt::CsvKind::Number);
  }
  out << "\n";
}

}  // namespace vesp::tools
