#include "records/upkeep.h"

#include <map>

#include "runtime/text/utf8.h"

namespace vesp {

namespace {

std::map<std::string, std::vector<Upkeep>>& registry() {
  static std::map<std::string, std::vector<Upkeep>> r;
  return r;
}

}  // namespace

void RegisterUpkeep(std::string_view table, Upkeep upkeep) {
  auto& list = registry()[vrt::upperCase(table)];
  for (Upkeep& u : list)
    if (u.name == upkeep.name) {
      u = std::move(upkeep);
      return;
    }
  list.push_back(std::move(upkeep));
}

const std::vector<Upkeep>& UpkeepOf(std::string_view table) {
  static const std::vector<Upkeep> none;
  const auto it = registry().find(vrt::upperCase(table));
  return it == registry().end() ? none : it->second;
}

}  // namespace vesp
