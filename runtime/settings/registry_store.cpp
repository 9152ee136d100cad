#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "runtime/settings/settings_store.h"

#ifdef _WIN32
#include <windows.h>

#include "runtime/text/utf8.h"
#endif

namespace vrt {

namespace {

constexpr unsigned long kClassesRoot = 0x80000000UL;  // what a root key of 0 stands for

unsigned long rootOrDefault(long rootKey) {
  return rootKey == 0 ? kClassesRoot : static_cast<unsigned long>(rootKey);
}

// The key path rule: "<key path>\<section>", or the section alone when there is no path.
std::string subKey(const std::string& keyPath, std::string_view section) {
  return keyPath.empty() ? std::string(section) : keyPath + "\\" + std::string(section);
}

#ifdef _WIN32

class WindowsRegistryStore : public SettingsStore {
 public:
  WindowsRegistryStore(long rootKey, std::string keyPath)
      : root_(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(rootOrDefault(rootKey)))), keyPath_(std::move(keyPath)) {}

  std::optional<std::string> Read(std::string_view section, std::string_view name) override {
    HKEY key;
    if (RegOpenKeyExA(root_, subKey(keyPath_, section).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    const std::string valueName(name);
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    std::string value(size, '\0');
    if (status == ERROR_SUCCESS && size > 0) {
      status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    value.resize(std::min<std::size_t>(size, value.size()));
    value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
    return std::string(vrt::utf8Left(value, IniFile::kValueLimit));
  }

  bool Write(std::string_view section, std::string_view name, std::string_view value) override {
    HKEY key;
    if (RegCreateKeyExA(root_, subKey(keyPath_, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const std::string text(value);
    const LONG status = RegSetValueExA(key, std::string(name).c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
  }

  bool Remove(std::string_view section, std::string_view name) override {
    HKEY key;
    if (RegOpenKeyExA(root_, subKey(keyPath_, section).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
      return true;  // no key, no value
    }
    const LONG status = RegDeleteValueA(key, std::string(name).c_str());
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

  bool Commit() override { return true; }

 private:
  HKEY root_;
  std::string keyPath_;
};

#endif

}  // namespace

std::string defaultRegistryFallbackFile() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  // Without a home folder the program's own folder is the only place that is ours.
  return folder.isEmpty() ? std::string("vsp-registry.ini") : (folder + "/Vespera/registry.ini").toStdString();
}

std::unique_ptr<SettingsStore> makeRegistryStore(long rootKey, const std::string& keyPath,
                                                 const std::string& fallbackFile) {
#ifdef _WIN32
  (void)fallbackFile;
  return std::make_unique<WindowsRegistryStore>(rootKey, keyPath);
#else
  char root[16];
  std::snprintf(root, sizeof root, "%08X", static_cast<unsigned>(rootOrDefault(rootKey) & 0xFFFFFFFFUL));
  std::error_code ignored;  // a folder that cannot be made shows up as a failed write
  std::filesystem::create_directories(std::filesystem::path(fallbackFile).parent_path(), ignored);
  return std::make_unique<IniSettingsStore>(fallbackFile, std::string(root) + "\\" + subKey(keyPath, ""));
#endif
}

}  // namespace vrt
