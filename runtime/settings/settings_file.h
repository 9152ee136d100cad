#pragma once
// The settings manager: one object for the whole process that keeps the user's window
// positions and other small settings between runs, in the file it is opened on.
// Every operation holds the one lock for its whole duration and reads and writes the file
// once, so operations from different threads never interleave and every write leaves a
// complete file.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/settings/remembered_window.h"
#include "runtime/settings/sector_list.h"
#include "runtime/settings/settings_store.h"

namespace vrt {

inline constexpr const char* kUnknownEntry = "---Unknown---";

class SettingsFile {
 public:
  enum StorageKind : int {
    Ini = 0,
    Registry = 1,  // the Windows registry; elsewhere a per-user file of ours
    Nowhere = 2,   // reads find nothing, writes do nothing
  };

  ~SettingsFile();

  // Any other kind counts as Nowhere. Loads the sector list; an open manager is closed first.
  void Open(std::string fileName, int kind, long rootKey = 0);
  // Writes the sector list back and releases it.
  void Close();
  bool IsOpen() const;
  std::string FileName() const;
  int Kind() const;
  long RootKey() const;

  // The value, or `defaultValue` when there is none (and, in the registry, when it is
  // empty). Kind Nowhere returns empty text.
  std::string Fetch(std::string_view section, std::string_view name, std::string_view defaultValue = {});
  // False when the value could not be kept.
  bool Update(std::string_view section, std::string_view name, std::string_view value);
  bool Delete(std::string_view section, std::string_view name);
  // The n-th comma-separated field of the entry; a missing entry reads as "---Unknown---".
  std::string FetchField(std::string_view section, std::string_view name, int n);

  std::vector<std::vector<std::string>> FetchList(std::string_view section, std::string_view listName);
  bool UpdateList(std::string_view section, std::string_view listName,
                  const std::vector<std::vector<std::string>>& rows);

  // Window positions, in the section named after the procedure.
  void FetchWindow(std::string_view procedureName, RememberedWindow& window);
  bool UpdateWindow(std::string_view procedureName, const RememberedWindow& window);

  // Remembers a sector (once) and returns its section name; nullopt when its parts cannot be
  // told apart again (see makeSector).
  std::optional<std::string> AddSector(std::string_view owner, std::string_view item, std::string_view kind);
  std::vector<Sector> Sectors() const;

  // Where the registry kind keeps its values off Windows (default: a file in the user's
  // configuration folder).
  void SetRegistryFallbackFile(std::string path);

 private:
  std::unique_ptr<SettingsStore> storeLocked() const;
  std::optional<std::string> readLocked(SettingsStore& store, std::string_view section, std::string_view name) const;
  void closeLocked();

  mutable std::mutex lock_;
  bool open_ = false;
  std::string fileName_;
  int kind_ = Nowhere;
  long rootKey_ = 0;
  std::vector<Sector> sectors_;
  std::string registryFallbackFile_;
};

// The process's settings manager; the program opens it at start-up.
SettingsFile& settingsFile();

}  // namespace vrt
