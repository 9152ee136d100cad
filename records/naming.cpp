#include "records/naming.h"

#include <set>

#include "dictionary/dictionary.h"
#include "dictionary/naming.h"
#include "runtime/data/errors.h"
#include "runtime/store/data_file.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

const vrt::FieldDesc* fieldOf(const char* label) {
  const auto f = dict::findField(label);
  return f ? &f->desc() : nullptr;
}

// How many records of `by` hold `value` (case-blind, as the pick lists compare) in one of
// its fields, or how many distinct values of its counting field they have; -1 when the
// table could not be read.
std::int64_t countNaming(const dict::NamedByDecl& by, const std::string& value) {
  FileManager* fm = fileManagerFor(by.table);
  if (!fm) return -1;
  std::vector<const vrt::FieldDesc*> fields;
  for (const char* label : by.fields)
    if (const vrt::FieldDesc* f = fieldOf(label)) fields.push_back(f);
  const vrt::FieldDesc* countedBy = by.countedBy ? fieldOf(by.countedBy) : nullptr;
  if (fm->Open() != Level::Benign) return -1;
  if (fm->Use() != Level::Benign) {
    static_cast<void>(fm->Close());
    return -1;
  }
  int saved = fm->SaveState();
  fm->FILE()->setToStart(vrt::DataFile::kFileOrder);
  std::int64_t count = 0;
  std::set<std::string> distinct;
  while (fm->FILE()->next()) {
    const vrt::RecordRef rec = *fm->BUFFER();
    bool names = false;
    for (const vrt::FieldDesc* f : fields) names = names || vrt::equalTextNoCase(rec.text(*f), value);
    if (!names) continue;
    if (countedBy) distinct.insert(rec.text(*countedBy));
    else ++count;
  }
  const bool failed = vrt::errorCode() != vrt::kRecordNotAvailable;
  fm->RestoreState(saved);
  static_cast<void>(fm->Close());
  if (failed) return -1;
  return countedBy ? static_cast<std::int64_t>(distinct.size()) : count;
}

}  // namespace

std::string NamedElsewhereQuestion(FileManager& named) {
  const dict::NamedRecordDecl* decl = dict::namedRecord(named.FILENAMEVALUE());
  const vrt::FieldDesc* valueField = decl ? fieldOf(decl->value) : nullptr;
  if (!valueField) return {};
  const vrt::RecordRef rec = *named.BUFFER();
  const std::string value = rec.text(*valueField);
  if (value.empty() || (valueField->type != vrt::FieldType::String && valueField->type != vrt::FieldType::CString &&
                        value == "0"))
    return {};
  std::vector<std::string> places;
  for (const dict::NamedByDecl& by : decl->namedBy) {
    const std::int64_t n = countNaming(by, value);
    if (n > 0) places.push_back(std::to_string(n) + " " + (n == 1 ? by.one : by.many));
  }
  if (places.empty()) return {};
  std::string name;
  for (const char* label : decl->name)
    if (const vrt::FieldDesc* f = fieldOf(label)) {
      const std::string part = rec.text(*f);
      if (!part.empty()) name += (name.empty() ? "" : " ") + part;
    }
  if (name.empty()) name = "This record";
  std::string where;
  for (std::size_t i = 0; i < places.size(); ++i)
    where += (i == 0 ? "" : i + 1 == places.size() ? " and " : ", ") + places[i];
  return name + " is named in " + where + ". Delete anyway?";
}

}  // namespace vesp
