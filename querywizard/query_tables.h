#pragma once
// The three tables of the saved-query file, with their records exactly as the library reads
// and writes them (numbers little-endian, strings fixed width and blank-padded), and the
// element layout of earlier versions.
#include "runtime/data/schema.h"
#include "runtime/text/record.h"

namespace qrywiz {

// XBQW_Queries, 1120 bytes.
namespace QR {
inline constexpr vrt::LongField QUERYNO{0};
inline constexpr vrt::StringField CLASSNAME{4, 30};
inline constexpr vrt::StringField DESCRIPTION{34, 60};
inline constexpr vrt::ByteField MANUAL{94};
inline constexpr vrt::ByteField INVALID{95};
inline constexpr vrt::StringField QUERYSTRING{96, 1024};
inline constexpr int BYQUERYNO = 0;
inline constexpr int BYCLASSNAME = 1;
}  // namespace QR

// XBQW_Elements, 98 bytes.
namespace EL {
inline constexpr vrt::LongField QUERYNO{0};
inline constexpr vrt::LongField FIELDPOINTER{4};
inline constexpr vrt::LongField CMPPOINTER{8};
inline constexpr vrt::StringField CONJUNCTION{12, 3};
inline constexpr vrt::StringField VALUE{15, 80};
inline constexpr vrt::ByteField MATCHTYPE{95};
inline constexpr vrt::ByteField OPCODE{96};
inline constexpr vrt::ByteField EXPRESSION{97};
inline constexpr int BYQUERYNO = 0;
}  // namespace EL

// The element layout of earlier versions, 137 bytes: the operation by its display name.
namespace OLDEL {
inline constexpr vrt::StringField OPERATOR{96, 40};
inline constexpr vrt::ByteField EXPRESSION{136};
}  // namespace OLDEL

// XBQW_Fields, 113 bytes. The store has no 16-bit number, so FIELDPOINTER is a group
// over its two bytes, low byte first.
namespace FD {
inline constexpr vrt::StringField CLASSNAME{0, 30};
inline constexpr vrt::ByteField FIELDTYPE{30};
inline constexpr vrt::StringField FIELDNAME{31, 80};
inline constexpr vrt::GroupField FIELDPOINTER{111, 2};
inline constexpr int BYCLASSNAME = 0;
}  // namespace FD

const vrt::TableSchema& queriesSchema();
const vrt::TableSchema& elementsSchema();
const vrt::TableSchema& fieldsSchema();
const vrt::TableSchema& oldElementsSchema();

std::int16_t fieldPointer(const vrt::RecordRef& rec);
void setFieldPointer(vrt::RecordRef& rec, std::int16_t value);

}  // namespace qrywiz
