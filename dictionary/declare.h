#pragma once
// The machinery that turns one declarative list per table into (a) compile-time field
// indexes, (b) the field and key declarations the dictionary is built from, and (c) typed
// field handles such as SER_TITLE. A table header lists its fields as
//   F(PREFIX, KIND, BYTES, NAME, "Prompt:", "@picture")
// with KIND one of LONG BYTE DATE TIME STRING CSTRING DECIMAL DATETIME (a DATETIME entry is
// the STRING(8) field with its _GROUP, _DATE and _TIME overlay), and its keys as
//   K(PREFIX, KeyName, FLAGS, COMPONENT, ...)       external index name = KeyName
//   KX(PREFIX, KeyName, FLAGS, "IndexName", COMPONENT, ...)
#include <cstdint>
#include <initializer_list>
#include <span>

#include "runtime/text/field.h"

namespace vesp::dict {

struct FieldDecl {
  const char* name;
  vrt::FieldType type;
  std::uint32_t size;
  int overlays;            // index of the field this one lies over, -1 for none
  std::uint32_t relative;  // byte offset inside the field it lies over
  const char* prompt;
  const char* picture;
};

enum KeyFlags : unsigned {
  kDuplicates = 0,
  kUnique = 1,
  kPrimary = 2,
  kAutoNumber = 4,
};

struct KeyDecl {
  static constexpr int kMaxComponents = 4;
  const char* name;
  unsigned flags;
  const char* externalName;  // nullptr: the key name itself (or none, as the table says)
  int components[kMaxComponents];
  int componentCount;

  constexpr KeyDecl(const char* n, unsigned f, const char* ext, std::initializer_list<int> comps)
      : name(n), flags(f), externalName(ext), components{-1, -1, -1, -1}, componentCount(0) {
    for (int c : comps) components[componentCount++] = c;
  }
};

struct KeyId {
  int index;
};

// How a table names its indexes inside its data file.
enum class IndexNames { FromKeyNames, None };

struct TableDecl {
  const char* label;
  const char* prefix;
  int version;
  IndexNames indexNames;
  std::span<const FieldDecl> fields;
  std::span<const KeyDecl> keys;
};

// Where every declared field starts, overlays included.
constexpr std::uint32_t fieldOffset(std::span<const FieldDecl> fields, int index) {
  std::uint32_t running = 0;
  std::uint32_t offsets[64] = {};
  if (index >= 64) throw "too many fields for one table";  // compile-time error
  for (int i = 0; i <= index; ++i) {
    const FieldDecl& f = fields[static_cast<std::size_t>(i)];
    if (f.overlays >= 0) {
      offsets[i] = offsets[f.overlays] + f.relative;
    } else {
      offsets[i] = running;
      running += f.size;
    }
  }
  return offsets[index];
}

constexpr std::uint32_t recordSize(std::span<const FieldDecl> fields) {
  std::uint32_t total = 0;
  for (const auto& f : fields)
    if (f.overlays < 0) total += f.size;
  return total;
}

template <vrt::FieldType T>
constexpr std::uint32_t checkedSize(std::uint32_t declared) {
  constexpr std::uint32_t fixed = T == vrt::FieldType::Byte ? 1 : T == vrt::FieldType::Decimal ? 10 : 4;
  if (declared != fixed) throw "declared size does not match the field type";  // compile-time error
  return declared;
}

}  // namespace vesp::dict

// (a) indexes: one enumerator per field, overlays included.
#define VESP_IDX(P, KIND, BYTES, NAME, PROMPT, PIC) VESP_IDX_##KIND(NAME)
#define VESP_IDX_LONG(N) N,
#define VESP_IDX_BYTE(N) N,
#define VESP_IDX_DATE(N) N,
#define VESP_IDX_TIME(N) N,
#define VESP_IDX_STRING(N) N,
#define VESP_IDX_CSTRING(N) N,
#define VESP_IDX_DECIMAL(N) N,
#define VESP_IDX_DATETIME(N) N, N##_GROUP, N##_DATE, N##_TIME,

// (b) field declarations.
#define VESP_DECL(P, KIND, BYTES, NAME, PROMPT, PIC) VESP_DECL_##KIND(NAME, BYTES, PROMPT, PIC)
#define VESP_DECL_FIXED(N, T, BYTES, PROMPT, PIC) \
  {#N, T, ::vesp::dict::checkedSize<T>(BYTES), -1, 0, PROMPT, PIC},
#define VESP_DECL_LONG(N, B, PR, PI) VESP_DECL_FIXED(N, ::vrt::FieldType::Long, B, PR, PI)
#define VESP_DECL_BYTE(N, B, PR, PI) VESP_DECL_FIXED(N, ::vrt::FieldType::Byte, B, PR, PI)
#define VESP_DECL_DATE(N, B, PR, PI) VESP_DECL_FIXED(N, ::vrt::FieldType::Date, B, PR, PI)
#define VESP_DECL_TIME(N, B, PR, PI) VESP_DECL_FIXED(N, ::vrt::FieldType::Time, B, PR, PI)
#define VESP_DECL_DECIMAL(N, B, PR, PI) VESP_DECL_FIXED(N, ::vrt::FieldType::Decimal, B, PR, PI)
#define VESP_DECL_STRING(N, B, PR, PI) {#N, ::vrt::FieldType::String, B, -1, 0, PR, PI},
#define VESP_DECL_CSTRING(N, B, PR, PI) {#N, ::vrt::FieldType::CString, B, -1, 0, PR, PI},
// The prompt belongs to the date-time field, the picture to its date member.
#define VESP_DECL_DATETIME(N, B, PR, PI)                               \
  {#N, ::vrt::FieldType::String, B, -1, 0, PR, ""},                    \
  {#N "_GROUP", ::vrt::FieldType::Group, B, N, 0, "", ""},             \
  {#N "_DATE", ::vrt::FieldType::Date, 4, N##_GROUP, 0, "", PI},       \
  {#N "_TIME", ::vrt::FieldType::Time, 4, N##_GROUP, 4, "", ""},

// (c) typed handles, named PREFIX_NAME.
#define VESP_AT(P, N) ::vesp::dict::fieldOffset(::vesp::dict::idx::P::fields, ::vesp::dict::idx::P::N)
#define VESP_ACC(P, KIND, BYTES, NAME, PROMPT, PIC) VESP_ACC_##KIND(P, NAME, BYTES)
#define VESP_ACC_LONG(P, N, B) inline constexpr ::vrt::LongField P##_##N{VESP_AT(P, N)};
#define VESP_ACC_BYTE(P, N, B) inline constexpr ::vrt::ByteField P##_##N{VESP_AT(P, N)};
#define VESP_ACC_DATE(P, N, B) inline constexpr ::vrt::DateField P##_##N{VESP_AT(P, N)};
#define VESP_ACC_TIME(P, N, B) inline constexpr ::vrt::TimeField P##_##N{VESP_AT(P, N)};
#define VESP_ACC_DECIMAL(P, N, B) inline constexpr ::vrt::DecimalField P##_##N{VESP_AT(P, N)};
#define VESP_ACC_STRING(P, N, B) inline constexpr ::vrt::StringField P##_##N{VESP_AT(P, N), B};
#define VESP_ACC_CSTRING(P, N, B) inline constexpr ::vrt::CStringField P##_##N{VESP_AT(P, N), B};
#define VESP_ACC_DATETIME(P, N, B)                                        \
  inline constexpr ::vrt::StringField P##_##N{VESP_AT(P, N), B};          \
  inline constexpr ::vrt::GroupField P##_##N##_GROUP{VESP_AT(P, N), B};   \
  inline constexpr ::vrt::DateField P##_##N##_DATE{VESP_AT(P, N##_DATE)}; \
  inline constexpr ::vrt::TimeField P##_##N##_TIME{VESP_AT(P, N##_TIME)};

// Keys: their indexes and declarations.
#define VESP_KEY_IDX(P, NAME, ...) NAME,
#define VESP_KEYX_IDX(P, NAME, FLAGS, EXT, ...) NAME,
#define VESP_KEY_DECL(P, NAME, FLAGS, ...) {#NAME, FLAGS, nullptr, {__VA_ARGS__}},
#define VESP_KEYX_DECL(P, NAME, FLAGS, EXT, ...) {#NAME, FLAGS, EXT, {__VA_ARGS__}},
#define VESP_KEY_ACC(P, NAME, ...) inline constexpr ::vesp::dict::KeyId P##_##NAME{::vesp::dict::idx::P::keys::NAME};
#define VESP_KEYX_ACC(P, NAME, FLAGS, EXT, ...) VESP_KEY_ACC(P, NAME)

// Declares one table: its indexes under dict::idx::PREFIX, its declarations, the table
// handle tables::LABEL, and the handles PREFIX_FIELD and PREFIX_KeyName in namespace vesp.
#define VESP_TABLE(P, LABEL, VERSION, NAMES, FIELDS, KEYS)                              \
  namespace vesp::dict::idx::P {                                                        \
  enum Field : int { FIELDS(VESP_IDX) kFieldCount };                                    \
  inline constexpr ::vesp::dict::FieldDecl fields[] = {FIELDS(VESP_DECL)};              \
  namespace keys {                                                                      \
  enum Key : int { KEYS(VESP_KEY_IDX, VESP_KEYX_IDX) kKeyCount };                       \
  }                                                                                     \
  inline constexpr ::vesp::dict::KeyDecl keyDecls[] = {KEYS(VESP_KEY_DECL, VESP_KEYX_DECL)}; \
  }                                                                                     \
  namespace vesp {                                                                      \
  FIELDS(VESP_ACC)                                                                      \
  KEYS(VESP_KEY_ACC, VESP_KEYX_ACC)                                                     \
  namespace tables {                                                                    \
  inline constexpr ::vesp::dict::TableDecl LABEL{#LABEL, #P, VERSION,                   \
      ::vesp::dict::IndexNames::NAMES, ::vesp::dict::idx::P::fields,                    \
      ::vesp::dict::idx::P::keyDecls};                                                  \
  }                                                                                     \
  }
