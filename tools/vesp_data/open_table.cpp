#include "tools/vesp_data/open_table.h"

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "runtime/data/errors.h"
#include "runtime/store/upgrader.h"

namespace vesp::tools {

std::string describeError() {
  const auto& e = vrt::threadError();
  std::string text = e.text + " (" + std::to_string(e.code) + ")";
  if (!e.fileText.empty()) text += ": " + e.fileText + " (" + std::to_string(e.fileCode) + ")";
  if (!e.keyName.empty()) text += ", key " + e.keyName;
  return text;
}

const vrt::TableSchema* findTable(const std::string& label, std::ostream& err) {
  const vrt::TableSchema* t = dict::table(label);
  if (!t) err << "vesp-data: there is no table '" << label << "'\n";
  return t;
}

std::unique_ptr<vrt::DataFile> openTable(const vrt::TableSchema& schema, std::ostream& err, bool create,
                                         vrt::OpenAccess access) {
  dict::registerTablesForUpgrade();
  auto file = std::make_unique<vrt::DataFile>(schema);
  int rc = vrt::ds_FileOpen(*file, access);
  if (rc == vrt::kFileNotFound && create) {
    if (!file->create()) {
      err << "vesp-data: cannot create " << file->path() << ": " << describeError() << "\n";
      return nullptr;
    }
    rc = vrt::ds_FileOpen(*file, access);
  }
  if (rc != 0) {
    err << "vesp-data: cannot open " << file->path() << ": " << describeError() << "\n";
    return nullptr;
  }
  return file;
}

}  // namespace vesp::tools
