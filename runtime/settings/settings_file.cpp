#include "runtime/settings/settings_file.h"

#include <algorithm>

#include "runtime/settings/settings_list.h"
#include "runtime/settings/window_position.h"

namespace vrt {

SettingsFile::~SettingsFile() { Close(); }

void SettingsFile::Open(std::string fileName, int kind, long rootKey) {
  std::lock_guard guard(lock_);
  closeLocked();
  fileName_ = std::move(fileName);
  kind_ = kind == Ini || kind == Registry ? kind : Nowhere;
  rootKey_ = rootKey;
  open_ = true;
  std::unique_ptr<SettingsStore> store = storeLocked();
  for (const std::string& row : readListRows(*store, kSectorListSection, kSectorListName)) {
    std::optional<Sector> sector = parseSectorRow(row);
    if (sector && std::find(sectors_.begin(), sectors_.end(), *sector) == sectors_.end()) {
      sectors_.push_back(std::move(*sector));
    }
  }
}

void SettingsFile::Close() {
  std::lock_guard guard(lock_);
  closeLocked();
}

void SettingsFile::closeLocked() {
  if (!open_) return;
  std::unique_ptr<SettingsStore> store = storeLocked();
  std::vector<std::string> rows;
  for (const Sector& sector : sectors_) rows.push_back(sectorRow(sector));
  writeListRows(*store, kSectorListSection, kSectorListName, rows);
  store->Commit();
  sectors_.clear();
  open_ = false;
}

bool SettingsFile::IsOpen() const {
  std::lock_guard guard(lock_);
  return open_;
}
std::string SettingsFile::FileName() const {
  std::lock_guard guard(lock_);
  return fileName_;
}
int SettingsFile::Kind() const {
  std::lock_guard guard(lock_);
  return kind_;
}
long SettingsFile::RootKey() const {
  std::lock_guard guard(lock_);
  return rootKey_;
}

void SettingsFile::SetRegistryFallbackFile(std::string path) {
  std::lock_guard guard(lock_);
  registryFallbackFile_ = std::move(path);
}

std::unique_ptr<SettingsStore> SettingsFile::storeLocked() const {
  if (open_ && kind_ == Ini) return std::make_unique<IniSettingsStore>(fileName_);
  if (open_ && kind_ == Registry) {
    return makeRegistryStore(rootKey_, fileName_,
                             registryFallbackFile_.empty() ? defaultRegistryFallbackFile() : registryFallbackFile_);
  }
  return std::make_unique<NullSettingsStore>();
}

std::optional<std::string> SettingsFile::readLocked(SettingsStore& store, std::string_view section,
                                                    std::string_view name) const {
  std::optional<std::string> value = store.Read(section, name);
  if (kind_ == Registry && value && value->empty()) return std::nullopt;
  return value;
}

std::string SettingsFile::Fetch(std::string_view section, std::string_view name, std::string_view defaultValue) {
  std::lock_guard guard(lock_);
  if (open_ && kind_ == Nowhere) return {};
  std::unique_ptr<SettingsStore> store = storeLocked();
  return readLocked(*store, section, name).value_or(std::string(defaultValue));
}

bool SettingsFile::Update(std::string_view section, std::string_view name, std::string_view value) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  return store->Write(section, name, value) && store->Commit();
}

bool SettingsFile::Delete(std::string_view section, std::string_view name) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  return store->Remove(section, name) && store->Commit();
}

std::string SettingsFile::FetchField(std::string_view section, std::string_view name, int n) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  return commaField(readLocked(*store, section, name).value_or(kUnknownEntry), n);
}

std::vector<std::vector<std::string>> SettingsFile::FetchList(std::string_view section, std::string_view listName) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  std::vector<std::vector<std::string>> rows;
  for (const std::string& row : readListRows(*store, section, listName)) rows.push_back(splitColumns(row));
  return rows;
}

bool SettingsFile::UpdateList(std::string_view section, std::string_view listName,
                              const std::vector<std::vector<std::string>>& rows) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  std::vector<std::string> joined;
  for (const std::vector<std::string>& columns : rows) joined.push_back(joinColumns(columns));
  return writeListRows(*store, section, listName, joined) && store->Commit();
}

void SettingsFile::FetchWindow(std::string_view procedureName, RememberedWindow& window) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  restoreWindowPosition(*store, procedureName, window);
}

bool SettingsFile::UpdateWindow(std::string_view procedureName, const RememberedWindow& window) {
  std::lock_guard guard(lock_);
  std::unique_ptr<SettingsStore> store = storeLocked();
  return saveWindowPosition(*store, procedureName, window) && store->Commit();
}

std::optional<std::string> SettingsFile::AddSector(std::string_view owner, std::string_view item,
                                                   std::string_view kind) {
  std::optional<Sector> sector = makeSector(owner, item, kind);
  if (!sector) return std::nullopt;
  std::lock_guard guard(lock_);
  if (std::find(sectors_.begin(), sectors_.end(), *sector) == sectors_.end()) sectors_.push_back(*sector);
  return sectorSectionName(*sector);
}

std::vector<Sector> SettingsFile::Sectors() const {
  std::lock_guard guard(lock_);
  return sectors_;
}

SettingsFile& settingsFile() {
  static SettingsFile instance;
  return instance;
}

}  // namespace vrt
