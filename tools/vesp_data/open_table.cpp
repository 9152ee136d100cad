#include "tools/vesp_data/open_table.h"

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/data_backup.h"
#include "runtime/data/errors.h"
#include "runtime/store/upgrader.h"
#include "tools/vesp_data/progress.h"

namespace vesp::tools {

namespace {

// A table converted to this version's structure on its way open shows a bar while it is.
void showConversions() {
  static std::unique_ptr<Progress> bar;
  static std::int64_t shown = 0;
  vrt::ds_SetConvertProgress([](const std::string& label, std::int64_t done, std::int64_t total) {
    if (done == 0) {
      bar = std::make_unique<Progress>("converting " + label, total);
      shown = 0;
    }
    if (!bar) return;
    bar->advance(done - shown);
    shown = done;
    if (done >= total) {
      bar->finish();
      bar.reset();
    }
  });
}

}  // namespace

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
  backup::BackUpBeforeUpgrades(".");
  showConversions();
  auto file = std::make_unique<vrt::DataFile>(schema);
  // A table on a server has no path: it is named by its label there.
  const std::string name = file->onServer() ? "table " + schema.label : file->path();
  int rc = vrt::ds_FileOpen(*file, access);
  if (rc == vrt::kFileNotFound && create) {
    if (!file->create()) {
      err << "vesp-data: cannot create " << name << ": " << describeError() << "\n";
      return nullptr;
    }
    rc = vrt::ds_FileOpen(*file, access);
  }
  if (rc != 0) {
    err << "vesp-data: cannot open " << name << ": " << describeError() << "\n";
    return nullptr;
  }
  return file;
}

}  // namespace vesp::tools
