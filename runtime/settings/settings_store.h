#pragma once
// Where one settings operation reads and writes. An operation opens a store, works on it and
// commits; a file-backed store reads the file once and writes it once, whole.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/settings/ini_file.h"

namespace vrt {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(std::string_view section, std::string_view name) = 0;
  // False when the entry cannot be stored.
  virtual bool Write(std::string_view section, std::string_view name, std::string_view value) = 0;
  virtual bool Remove(std::string_view section, std::string_view name) = 0;
  // Makes the writes lasting; false when they could not be.
  virtual bool Commit() = 0;
};

// An INI file. Sections may be given a prefix, so that one file can stand for several
// key trees (the portable stand-in for the registry does that).
class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(std::string path, std::string sectionPrefix = {});
  std::optional<std::string> Read(std::string_view section, std::string_view name) override;
  bool Write(std::string_view section, std::string_view name, std::string_view value) override;
  bool Remove(std::string_view section, std::string_view name) override;
  bool Commit() override;

 private:
  std::string sectionName(std::string_view section) const { return prefix_ + std::string(section); }

  std::string path_;
  std::string prefix_;
  IniFile ini_;
  bool readable_ = false;  // a file that could not be read is never overwritten
  bool changed_ = false;
};

// Keeps nothing: reads find nothing, writes succeed without effect.
class NullSettingsStore : public SettingsStore {
 public:
  std::optional<std::string> Read(std::string_view, std::string_view) override { return std::nullopt; }
  bool Write(std::string_view, std::string_view, std::string_view) override { return true; }
  bool Remove(std::string_view, std::string_view) override { return true; }
  bool Commit() override { return true; }
};

// The registry kind: on Windows the registry under `rootKey`, each section a key named by
// `keyPath` (when not empty), a backslash and the section. Elsewhere a per-user INI file of
// ours, `fallbackFile`, whose sections are named "<root key in hex>\<key path>\<section>".
std::unique_ptr<SettingsStore> makeRegistryStore(long rootKey, const std::string& keyPath,
                                                 const std::string& fallbackFile);

// The per-user file that stands in for the registry where there is none.
std::string defaultRegistryFallbackFile();

}  // namespace vrt
