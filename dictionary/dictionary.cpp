#include "dictionary/dictionary.h"

#include <vector>

#include "runtime/text/utf8.h"

namespace vesp::dict {

namespace {

constexpr const TableDecl* kDeclarations[] = {
    &tables::Service,         &tables::SermonSeries,       &tables::ServiceElement,
    &tables::BibleRef,        &tables::KeyWords,           &tables::Statistics,
    &tables::AssociatedFiles, &tables::SeriesPublicity,    &tables::Topic,
    &tables::Performers,      &tables::PerformerGroupHeader, &tables::PerformerGroupDetail,
    &tables::Bibliography,    &tables::Role,               &tables::ElementType,
    &tables::Publicity,       &tables::KeyWordsDefault,    &tables::StatisticType,
    &tables::BibleDefault,    &tables::HolidayDefault,     &tables::SpecialEventDefault,
    &tables::WeatherDefault,  &tables::Lookups,            &tables::PrayerRequest,
    &tables::Blessings,       &tables::Praises,            &tables::Journal,
};

// Tables whose files keep a word index, and the fields it covers: the bibliography is
// searched by any word of its title, writer, CCLI or ISBN as the user types.
struct WordIndex {
  const TableDecl* table;
  std::vector<int> fields;
};
const WordIndex kWordIndexes[] = {
    {&tables::Bibliography, {idx::BBL::TITLE, idx::BBL::WRITTENBY, idx::BBL::CCLI, idx::BBL::ISBN}},
};

// Indexes beside the declared keys (the files' format stays as declared): a bibliography
// entry's elements are found by its number, and the bibliography reads by last use.
struct SideIndex {
  const TableDecl* table;
  std::vector<int> fields;
};
const SideIndex kSideIndexes[] = {
    {&tables::ServiceElement, {idx::SEL::BIBLIOGRAPHYNUMBER, idx::SEL::SERVICENUMBER}},
    {&tables::Bibliography, {idx::BBL::LASTUSED_DATE}},
};

vrt::TableSchema build(const TableDecl& decl) {
  vrt::TableSchema t;
  t.label = decl.label;
  t.prefix = decl.prefix;
  t.version = decl.version;
  t.recordSize = recordSize(decl.fields);
  for (std::size_t i = 0; i < decl.fields.size(); ++i) {
    const FieldDecl& f = decl.fields[i];
    vrt::FieldDesc d;
    d.name = f.name;
    d.label = t.prefix + ":" + f.name;
    d.type = f.type;
    d.size = f.size;
    d.offset = fieldOffset(decl.fields, static_cast<int>(i));
    d.overlays = f.overlays;
    d.prompt = f.prompt;
    d.picture = f.picture;
    t.fields.push_back(std::move(d));
  }
  for (const KeyDecl& k : decl.keys) {
    vrt::KeyDesc d;
    d.name = k.name;
    d.label = t.prefix + ":" + k.name;
    d.components.assign(k.components, k.components + k.componentCount);
    d.unique = k.flags & kUnique;
    d.primary = k.flags & kPrimary;
    d.autoNumber = k.flags & kAutoNumber;
    d.noCase = true;  // every key of this dictionary compares text in capitals
    if (k.externalName) d.externalName = k.externalName;
    else if (decl.indexNames == IndexNames::FromKeyNames) d.externalName = k.name;
    t.keys.push_back(std::move(d));
  }
  for (const WordIndex& w : kWordIndexes)
    if (w.table == &decl) t.searchFields = w.fields;
  for (const SideIndex& s : kSideIndexes)
    if (s.table == &decl) t.sideIndexes.push_back(s.fields);
  return t;
}

const std::vector<vrt::TableSchema>& all() {
  static const std::vector<vrt::TableSchema> schemas = [] {
    std::vector<vrt::TableSchema> v;
    for (const TableDecl* d : kDeclarations) v.push_back(build(*d));
    return v;
  }();
  return schemas;
}

}  // namespace

std::span<const vrt::TableSchema> tables() { return all(); }

const vrt::TableSchema* table(std::string_view label) {
  for (const auto& t : all())
    if (vrt::equalTextNoCase(t.label, label)) return &t;
  return nullptr;
}

const vrt::TableSchema* tableByPrefix(std::string_view prefix) {
  for (const auto& t : all())
    if (vrt::equalTextNoCase(t.prefix, prefix)) return &t;
  return nullptr;
}

const vrt::TableSchema& schemaOf(const TableDecl& decl) { return *table(decl.label); }

std::optional<FieldLocation> findField(std::string_view label) {
  const auto colon = label.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const vrt::TableSchema* t = tableByPrefix(label.substr(0, colon));
  if (!t) return std::nullopt;
  const int i = t->fieldIndex(label);
  if (i < 0) return std::nullopt;
  return FieldLocation{t, i};
}

std::optional<KeyLocation> findKey(std::string_view label) {
  const auto colon = label.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const vrt::TableSchema* t = tableByPrefix(label.substr(0, colon));
  if (!t) return std::nullopt;
  const int i = t->keyIndex(label);
  if (i < 0) return std::nullopt;
  return KeyLocation{t, i};
}

}  // namespace vesp::dict
