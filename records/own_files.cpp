#include "records/own_files.h"

#include <algorithm>
#include <filesystem>

#include "records/backup_sets.h"
#include "records/data_backup.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace fs = std::filesystem;

namespace {

// What SQLite and a restore keep beside a data file under its name.
constexpr const char* kCompanions[] = {"-journal", "-wal", "-shm", ".restoring"};

fs::path resolved(const fs::path& p) {
  std::error_code ec;
  fs::path out = fs::weakly_canonical(fs::absolute(p, ec), ec);
  return ec ? fs::absolute(p, ec).lexically_normal() : out;
}

bool inside(const fs::path& folder, const fs::path& p) {
  const auto [f, q] = std::mismatch(folder.begin(), folder.end(), p.begin(), p.end());
  return f == folder.end();
}

// The reason for one spelling of the target: as given, or with its links followed.
std::string reasonFor(const fs::path& target, const fs::path& data) {
  const fs::path folder = target.parent_path();
  const std::string name = target.filename().string();
  std::error_code ec;
  if (fs::equivalent(folder, data, ec)) {
    // Names compared without case: a data folder may lie on a disk that ignores it.
    for (const std::string& own : backup::dataFileNames()) {
      if (vrt::equalTextNoCase(name, own)) return name + " is one of the program's data files";
      for (const char* companion : kCompanions)
        if (vrt::equalTextNoCase(name, own + companion)) return name + " belongs to the program's data file " + own;
    }
  }
  for (const std::string& own : backup::dataFileNames())
    if (fs::equivalent(target, data / own, ec)) return target.string() + " is the program's data file " + own;
  if (inside(resolved(data / backup::kBackupFolder), target))
    return target.string() + " lies in the program's backups folder";
  std::string why;
  if (fs::exists(folder / backup::kManifestName, ec) && backup::readSet(folder.string(), why))
    return target.string() + " lies in a backup set";
  return {};
}

}  // namespace

std::string OwnFileReason(const std::string& path, const std::string& dataFolder) {
  if (path.empty()) return {};
  const fs::path data = resolved(dataFolder);
  std::error_code ec;
  const fs::path given = fs::absolute(path, ec).lexically_normal();
  if (std::string why = reasonFor(given, data); !why.empty()) return why;
  return reasonFor(resolved(given), data);
}

}  // namespace vesp
