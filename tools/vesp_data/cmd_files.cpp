// create, check and count: whole files.
#include <filesystem>

#include "dictionary/dictionary.h"
#include "runtime/data/errors.h"
#include "runtime/store/file_repair.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/open_table.h"
#include "tools/vesp_data/orphan_check.h"
#include "tools/vesp_data/song_use_check.h"

namespace vesp::tools {

int runCreate(const Args&, std::ostream& out, std::ostream& err) {
  int status = 0;
  for (const auto& schema : dict::tables()) {
    vrt::DataFile file(schema);
    if (std::filesystem::exists(file.path())) {
      out << file.path() << ": exists, left as it is\n";
      continue;
    }
    if (!file.create()) {
      err << "vesp-data: cannot create " << file.path() << ": " << describeError() << "\n";
      status = 1;
      continue;
    }
    out << file.path() << ": created\n";
  }
  return status;
}

int runCheck(const Args& args, std::ostream& out, std::ostream& err) {
  const bool repair = args.has("--repair");
  int damaged = 0;
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
    if (!file.buildKeys() || !vrt::store::checkFile(file.path(), file.layout()).ok) {
      err << "vesp-data: " << file.path() << " could not be repaired: " << describeError() << "\n";
      ++damaged;
    } else {
      out << file.path() << ": keys rebuilt, ok\n";
    }
  }
  // Derived dates, not damage: reported, and put right by a repair, once the keys are sound.
  if (damaged == 0 && !checkSongUse(repair, out, err)) ++damaged;
  if (damaged == 0 && !checkOrphans(repair, out, err)) ++damaged;
  if (damaged) err << "vesp-data: " << damaged << " damaged file" << (damaged == 1 ? "" : "s") << "\n";
  return damaged ? 1 : 0;
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
