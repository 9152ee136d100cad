#include "tools/vesp_data/song_use_check.h"

#include <filesystem>

#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "worship/song_rotation.h"
#include "tools/vesp_data/open_table.h"

namespace vesp::tools {

bool checkSongUse(bool repair, std::ostream& out, std::ostream& err) {
  const auto& S = dict::schemaOf;
  for (const dict::TableDecl* t : {&tables::Service, &tables::ServiceElement, &tables::Bibliography})
    if (!std::filesystem::exists(vrt::DataFile(S(*t)).path())) return true;
  const auto access = repair ? vrt::OpenAccess::ReadWrite : vrt::OpenAccess::ReadOnly;
  auto services = openTable(S(tables::Service), err, false, access);
  auto elements = openTable(S(tables::ServiceElement), err, false, access);
  auto bibliography = openTable(S(tables::Bibliography), err, false, access);
  if (!services || !elements || !bibliography) return false;
  const int differing = RecomputeAllSongUse(*services, *elements, *bibliography, repair);
  if (differing < 0) {
    err << "vesp-data: cannot " << (repair ? "recompute" : "check") << " the first and last used dates: "
        << describeError() << "\n";
    return false;
  }
  if (differing == 0) return true;
  const std::string entries = std::to_string(differing) + (differing == 1 ? " entry" : " entries");
  if (repair)
    out << bibliography->path() << ": first and last used of " << entries << " recomputed from their services\n";
  else
    out << bibliography->path() << ": first and last used of " << entries
        << " differ from their services (--repair recomputes them)\n";
  return true;
}

}  // namespace vesp::tools
