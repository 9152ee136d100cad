#include "querywizard/query_files.h"

#include "querywizard/display_text.h"
#include "querywizard/globals.h"
#include "querywizard/hooks.h"
#include "querywizard/query_tables.h"
#include "querywizard/store_messages.h"
#include "runtime/gui/buttons.h"
#include "runtime/data/errors.h"

namespace qrywiz {

using vrt::DataFile;

namespace {

constexpr int kCreateAttempts = 5;

// Another station may be making the same table at the same moment: then its table is
// the one to use.
bool createOrFindMade(DataFile& f) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    if (f.create() || f.open()) return true;
    if (vrt::errorCode() == vrt::kInvalidRecordDeclaration) return false;
  }
  return false;
}

}  // namespace

QueryFiles::QueryFiles() {
  const QueryFileNames names = queryFileNames();
  files_[0] = std::make_unique<DataFile>(queriesSchema(), names.queries);
  files_[1] = std::make_unique<DataFile>(elementsSchema(), names.elements);
  files_[2] = std::make_unique<DataFile>(fieldsSchema(), names.fields);
}

QueryFiles::~QueryFiles() = default;

DataFile& QueryFiles::file(QueryTable table) { return *files_[static_cast<int>(table)]; }

DataFile* QueryFiles::open(QueryTable table) {
  DataFile& f = file(table);
  if (f.isOpen()) return &f;
  return openOne(f, table == QueryTable::Elements) ? &f : nullptr;
}

bool QueryFiles::openOne(DataFile& f, bool elements) {
  const std::string& name = f.path();
  const std::string label = f.schema().label;
  if (f.open()) return true;
  if (vrt::errorCode() == vrt::kFileLocked) {
    f.sendOption("Recover=10");
    if (f.open()) return true;
  }
  switch (vrt::errorCode()) {
    case vrt::kFileNotFound:
    case vrt::kPathNotFound:
      if (!createOrFindMade(f)) {
        showStoreMessage(StoreMessage::FileCreationError, errorDescription(), name);
        return false;
      }
      if (f.isOpen() || f.open()) return true;
      showStoreMessage(StoreMessage::CreatedOpenError, errorDescription(), name);
      return false;
    case vrt::kAccessDenied:
      // A file marked read-only still serves its saved queries.
      if (f.open(vrt::OpenAccess::ReadOnly)) return true;
      break;
    case vrt::kInvalidKey:
      if (showStoreMessage(StoreMessage::InvalidKey, name) != vrt::kButtonYes) return false;
      if (f.buildKeys() && (f.isOpen() || f.open())) return true;
      showStoreMessage(StoreMessage::KeyRebuildError);
      return false;
    case vrt::kInvalidRecordDeclaration:
      if (elements) return convertElements(f) && f.open();
      showStoreMessage(StoreMessage::InvalidFile, name + " (" + label + ")");
      return false;
    default:
      break;
  }
  showStoreMessage(StoreMessage::FileAccessError, name, errorDescription());
  return false;
}

}  // namespace qrywiz
