#pragma once
// Field types and descriptions of fixed-length record buffers, and the typed handles
// through which code reaches a field without looking its label up.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vrt {

enum class FieldType : std::uint8_t {
  Long,     // 4 bytes, signed
  Byte,     // 1 byte, unsigned
  Date,     // 4 bytes, day number
  Time,     // 4 bytes, hundredths since midnight + 1
  String,   // n bytes, blank padded
  CString,  // n bytes, at most n-1 bytes of text and a zero
  Decimal,  // 10 bytes packed, 2 places
  Group,    // no storage of its own; lies over other fields
};

const char* fieldTypeName(FieldType type);
bool isTextType(FieldType type);

// One field of a record layout, as the dictionary declares it.
struct FieldDesc {
  std::string label;    // "SER:TITLE", in capitals
  std::string name;     // "TITLE"
  FieldType type = FieldType::Long;
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
  int overlays = -1;    // index of the field whose bytes this one lies over, or -1
  std::string prompt;   // screen prompt, "" when no form shows one
  std::string picture;  // display picture, "" when none is declared
};

// Typed handles. They carry only where the field is; the dictionary makes them.
struct LongField { std::uint32_t offset; };
struct ByteField { std::uint32_t offset; };
struct DateField { std::uint32_t offset; };
struct TimeField { std::uint32_t offset; };
struct DecimalField { std::uint32_t offset; };
struct StringField { std::uint32_t offset, size; };
struct CStringField { std::uint32_t offset, size; };
struct GroupField { std::uint32_t offset, size; };

}  // namespace vrt
