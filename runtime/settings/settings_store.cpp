#include "runtime/settings/settings_store.h"

namespace vrt {

IniSettingsStore::IniSettingsStore(std::string path, std::string sectionPrefix)
    : path_(std::move(path)), prefix_(std::move(sectionPrefix)) {
  readable_ = ini_.Load(path_);
}

std::optional<std::string> IniSettingsStore::Read(std::string_view section, std::string_view name) {
  return ini_.Get(sectionName(section), name);
}

bool IniSettingsStore::Write(std::string_view section, std::string_view name, std::string_view value) {
  if (!readable_ || !ini_.Set(sectionName(section), name, value)) return false;
  changed_ = true;
  return true;
}

bool IniSettingsStore::Remove(std::string_view section, std::string_view name) {
  if (!readable_) return false;
  if (ini_.Remove(sectionName(section), name)) changed_ = true;
  return true;
}

bool IniSettingsStore::Commit() {
  if (!changed_) return true;
  changed_ = false;
  return ini_.Save(path_);
}

}  // namespace vrt
