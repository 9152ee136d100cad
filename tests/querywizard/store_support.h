#pragma once
// Building the saved-query file's records byte by byte from their offset tables, and
// helpers that save queries the way the wizard does.
#include <cstring>
#include <string>
#include <vector>

#include "querywizard/element.h"
#include "querywizard/query_store.h"

namespace qwtest {

struct RawRecord {
  explicit RawRecord(std::size_t n) : bytes(n, 0) {}
  RawRecord& i32(std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(u >> (8 * i));
    return *this;
  }
  RawRecord& i16(std::size_t at, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    bytes[at] = static_cast<unsigned char>(u & 0xFF);
    bytes[at + 1] = static_cast<unsigned char>(u >> 8);
    return *this;
  }
  RawRecord& u8(std::size_t at, std::uint8_t v) {
    bytes[at] = v;
    return *this;
  }
  RawRecord& str(std::size_t at, std::size_t width, const std::string& s) {
    std::memset(bytes.data() + at, ' ', width);
    std::memcpy(bytes.data() + at, s.data(), std::min(width, s.size()));
    return *this;
  }
  std::vector<unsigned char> bytes;
};

inline RawRecord queryRow(std::int32_t no, const std::string& cls, const std::string& desc, std::uint8_t manual,
                          std::uint8_t invalid, const std::string& text) {
  RawRecord r(1120);
  r.i32(0, no).str(4, 30, cls).str(34, 60, desc).u8(94, manual).u8(95, invalid).str(96, 1024, text);
  return r;
}

inline RawRecord elementRow(std::int32_t no, std::int32_t field, std::int32_t cmp, const std::string& conj,
                            const std::string& value, std::uint8_t match, std::uint8_t op, std::uint8_t expr) {
  RawRecord r(98);
  r.i32(0, no).i32(4, field).i32(8, cmp).str(12, 3, conj).str(15, 80, value).u8(95, match).u8(96, op).u8(97, expr);
  return r;
}

inline RawRecord fieldRow(const std::string& cls, std::uint8_t type, const std::string& name, std::int16_t pointer) {
  RawRecord r(113);
  r.str(0, 30, cls).u8(30, type).str(31, 80, name).i16(111, pointer);
  return r;
}

inline qrywiz::QueryElement makeElement(std::int32_t qpointer, const qrywiz::XBQW_FIELDSQUEUE& fields, std::uint8_t op,
                                        std::string value, std::string conj = "", std::int32_t cmp = 0) {
  qrywiz::QueryElement e;
  e.FLDQPOINTER = qpointer;
  for (const auto& f : fields)
    if (f.QWFLDQPOINTER == qpointer) {
      e.FIELDNAME = f.QWFLDNAME;
      e.DATATYPE = f.QWFLDDATATYPE;
    }
  e.OPCODE = op;
  e.VALUE = std::move(value);
  e.CONJUNCTION = std::move(conj);
  e.CMPFLDQPOINTER = cmp;
  return e;
}

// The offered field's rank by its description.
inline std::int32_t rankOf(const qrywiz::XBQW_FIELDSQUEUE& fields, const std::string& desc) {
  for (const auto& f : fields)
    if (f.QWFLDDESC == desc) return f.QWFLDQPOINTER;
  return 0;
}

}  // namespace qwtest
