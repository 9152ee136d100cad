#include "records/set_checks.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "dictionary/dictionary.h"
#include "records/data_backup.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"

namespace vesp::backup {

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

bool isBareName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

std::string tableOfFile(const std::string& name) {
  for (const auto& t : dict::tables())
    if (name == t.label + ".vdb") return t.label;
  return {};
}

std::string dataFilesToBackUp(const std::string& dataFolder, std::vector<std::string>& present,
                              std::vector<std::string>& unused) {
  for (const auto& name : dataFileNames()) {
    const fs::path path = fs::path(dataFolder) / name;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (fs::is_regular_file(status)) {
      present.push_back(name);
    } else if (fs::exists(status) || fs::is_symlink(fs::symlink_status(path, ec))) {
      return path.string() + " is not a file that can be read, so " +
             (tableOfFile(name).empty() ? std::string("it") : "the " + tableOfFile(name) + " table") +
             " cannot be backed up";
    } else if (!tableOfFile(name).empty()) {
      unused.push_back(name);
    }
  }
  return {};
}

std::string addEmptyTable(const std::string& setPath, const std::string& name, SetFile& file) {
  const vrt::TableSchema* schema = dict::table(tableOfFile(name));
  const fs::path path = fs::path(setPath) / name;
  if (!schema) return name + " is not a table's file";
  vrt::DataFile table(*schema, path.string());
  if (!table.create()) return "cannot make the empty " + schema->label + " table in " + setPath;
  file = SetFile{};
  file.name = name;
  file.database = true;
  std::error_code ec;
  file.bytes = static_cast<std::int64_t>(fs::file_size(path, ec));
  if (std::string bad = vrt::store::verifyDatabase(path.string(), nullptr, &file.counts); !bad.empty()) return bad;
  file.digest = vrt::store::fileDigest(path.string());
  return file.digest.empty() ? "cannot read " + path.string() : std::string();
}

std::string checkSetEntries(const BackupSet& set) {
  const std::vector<std::string> known = dataFileNames();
  std::set<std::string> named;
  for (const auto& f : set.files) {
    if (!isBareName(f.name))
      return "its manifest names " + quoted(f.name) + ", a path, where only the name of a data file may stand";
    if (std::find(known.begin(), known.end(), f.name) == known.end())
      return "its manifest names " + quoted(f.name) + ", which is not one of the program's data files";
    if (!named.insert(f.name).second) return "its manifest names " + quoted(f.name) + " twice";
    if (f.database != (f.name != kSettingsFile))
      return "its manifest gives " + quoted(f.name) + " the wrong kind (" + (f.database ? "database" : "plain") + ")";
    const std::string table = tableOfFile(f.name);
    if (!table.empty() && f.counted && !f.counts.count(table))
      return "its manifest counts no " + table + " table in " + quoted(f.name);
  }
  for (const auto& t : dict::tables())
    if (!named.count(t.label + ".vdb"))
      return "it lacks " + quoted(t.label + ".vdb") + ", the file of the " + t.label + " table";

  // Nothing in the set may lead elsewhere: a link could make the restore read, and the
  // files it moves aside land, wherever the link points.
  std::error_code ec;
  for (fs::directory_iterator it(set.path, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_symlink(ec)) return quoted(it->path().filename().string()) + " in it is a symbolic link";
  }
  if (ec) return "its folder cannot be read: " + ec.message();
  for (const auto& f : set.files) {
    const auto status = fs::symlink_status(fs::path(set.path) / f.name, ec);
    if (!fs::exists(status)) return "it lacks " + quoted(f.name) + ", which its manifest lists";
    if (!fs::is_regular_file(status)) return quoted(f.name) + " in it is not a plain file";
  }
  return {};
}

}  // namespace vesp::backup
