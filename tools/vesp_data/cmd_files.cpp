// create, check and count: whole files.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/dictionary.h"
#include "records/levels.h"
#include "records/starter_lists.h"
#include "runtime/data/errors.h"
#include "runtime/store/file_repair.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/open_table.h"
#include "tools/vesp_data/orphan_check.h"
#include "tools/vesp_data/record_layer.h"
#include "tools/vesp_data/song_use_check.h"

namespace vesp::tools {

namespace {

bool mayWrite(const std::filesystem::path& path) {
  struct stat st;
  return ::access(path.c_str(), W_OK) == 0 && ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0;
}

// A repair rewrites the file and, for its journal, writes in its folder. Where either is
// read-only it cannot be done, which the user must hear as such and not as damage beyond
// repair: why not, or "". Read-only by its permissions counts even for a user the system
// lets write anywhere, as when the file is opened.
std::string whyNotWritable(const std::string& path) {
  const std::filesystem::path file = std::filesystem::absolute(path);
  if (!mayWrite(file)) return file.string() + " is read-only";
  if (!mayWrite(file.parent_path())) return "its folder " + file.parent_path().string() + " cannot be written";
  return {};
}

bool failedToWrite() {
  const auto& e = vrt::threadError();
  const int primary = e.fileCode & 0xFF;
  return e.code == vrt::kAccessDenied ||
         (e.code == vrt::kDriverError && (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN ||
                                          primary == SQLITE_IOERR || primary == SQLITE_PERM));
}

}  // namespace

int runCreate(const Args&, std::ostream& out, std::ostream& err) {
  // Only data made here and now gets the starting lists, by the test start-up uses: a folder
  // or server database in use keeps its own.
  const bool newData = IsNewData();
  int status = 0;
  std::vector<std::pair<std::string, std::string>> created;  // label, file or table
  for (const auto& schema : dict::tables()) {
    vrt::DataFile file(schema);
    const std::string name = file.onServer() ? file.sqlTable() : file.path();
    if (!file.onServer() && std::filesystem::exists(file.path())) {
      out << name << ": exists, left as it is\n";
      continue;
    }
    if (!file.create()) {
      // A server tells a table that is there only by refusing to make it again.
      if (file.onServer() && vrt::threadError().code == vrt::kAccessDenied) {
        out << name << ": exists, left as it is\n";
        continue;
      }
      err << "vesp-data: cannot create " << name << ": " << describeError() << "\n";
      status = 1;
      continue;
    }
    created.emplace_back(schema.label, name);
  }
  bool filled = false;
  if (newData && status == 0) {
    RecordLayer layer(err);
    filled = FillStarterLists() == Level::Benign;
    if (!filled) {
      err << "vesp-data: the pick lists could not be given their starting values; they are empty\n";
      status = 1;
    }
  }
  for (const auto& [label, name] : created) {
    out << name << ": created";
    for (const StarterList& list : starterLists())
      if (filled && label == list.table.label) out << ", with " << list.values.size() << " starting values";
    out << "\n";
  }
  return status;
}

int runCheck(const Args& args, std::ostream& out, std::ostream& err) {
  const bool repair = args.has("--repair");
  int damaged = 0, unwritable = 0;
  for (const auto& schema : dict::tables()) {
    vrt::DataFile file(schema);
    if (!std::filesystem::exists(file.path())) {
      out << file.path() << ": missing (made empty on first use)\n";
      continue;
    }
    const auto report = vrt::store::checkFile(file.path(), file.layout());
    if (report.ok) {
      out << file.path() << ": ok\n";
      continue;
    }
    for (const auto& p : report.problems) out << file.path() << ": " << p << "\n";
    if (!repair) {
      ++damaged;
      continue;
    }
    if (const std::string why = whyNotWritable(file.path()); !why.empty()) {
      err << "vesp-data: " << file.path() << " cannot be repaired here: " << why << "\n";
      ++unwritable;
      continue;
    }
    const bool rebuilt = file.buildKeys();
    if (!rebuilt && failedToWrite()) {
      err << "vesp-data: " << file.path() << " cannot be repaired here, it cannot be written: " << describeError()
          << "\n";
      ++unwritable;
    } else if (!rebuilt || !vrt::store::checkFile(file.path(), file.layout()).ok) {
      err << "vesp-data: " << file.path() << " could not be repaired: " << describeError() << "\n";
      ++damaged;
    } else {
      out << file.path() << ": keys rebuilt, ok\n";
    }
  }
  // Derived dates, not damage: reported, and put right by a repair, once the keys are sound.
  if (damaged == 0 && unwritable == 0) {
    std::string why;
    for (const auto& schema : dict::tables())
      if (repair && why.empty() && std::filesystem::exists(vrt::DataFile(schema).path()))
        why = whyNotWritable(vrt::DataFile(schema).path());
    if (!why.empty()) {
      err << "vesp-data: the bibliography's first and last used dates are only checked, not recomputed: " << why
          << "\n";
      ++unwritable;
    }
    if (!checkSongUse(repair && why.empty(), out, err)) ++damaged;
    if (damaged == 0 && !checkOrphans(repair && why.empty(), out, err)) ++damaged;
  }
  if (unwritable)
    err << "vesp-data: cannot repair here: the data folder or its files cannot be written; make them writable "
           "and run check --repair again\n";
  if (damaged) err << "vesp-data: " << damaged << " damaged file" << (damaged == 1 ? "" : "s") << "\n";
  return damaged || unwritable ? 1 : 0;
}

int runCount(const Args& args, std::ostream& out, std::ostream& err) {
  const vrt::TableSchema* schema = findTable(args.positional[0], err);
  if (!schema) return 2;
  auto file = openTable(*schema, err, false, vrt::OpenAccess::ReadOnly);
  if (!file) return 1;
  out << file->records() << "\n";
  return 0;
}

}  // namespace vesp::tools
