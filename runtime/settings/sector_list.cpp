#include "runtime/settings/sector_list.h"

#include "runtime/text/utf8.h"

namespace vrt {

namespace {

constexpr std::string_view kOneDollar = "$";
constexpr std::string_view kItemEnd = "$$";
constexpr std::string_view kEscapedDollar = "$$$";

std::string part(std::string_view text) { return std::string(vrt::utf8Left(text, kSectorPartLimit)); }

}  // namespace

std::optional<Sector> makeSector(std::string_view owner, std::string_view item, std::string_view kind) {
  Sector sector{part(owner), part(item), part(kind)};
  if (sector.owner.find_first_of("$,") != std::string::npos) return std::nullopt;
  if (sector.kind.find(',') != std::string::npos || sector.kind.starts_with('$')) return std::nullopt;
  return sector;
}

std::string sectorSectionName(const Sector& sector) {
  std::string name = sector.owner + std::string(kOneDollar);
  for (char c : sector.item) {
    if (c == '$') {
      name += kEscapedDollar;
    } else {
      name += c;
    }
  }
  return name + std::string(kItemEnd) + sector.kind;
}

std::optional<Sector> parseSectorSectionName(std::string_view name) {
  const std::size_t ownerEnd = name.find(kOneDollar);
  if (ownerEnd == std::string_view::npos) return std::nullopt;
  Sector sector;
  sector.owner = name.substr(0, ownerEnd);
  std::string_view rest = name.substr(ownerEnd + 1);
  for (std::size_t i = 0; i < rest.size();) {
    if (rest.substr(i).starts_with(kEscapedDollar)) {
      sector.item += '$';
      i += kEscapedDollar.size();
    } else if (rest.substr(i).starts_with(kItemEnd)) {
      sector.kind = rest.substr(i + kItemEnd.size());
      return sector;
    } else {
      sector.item += rest[i++];
    }
  }
  return std::nullopt;
}

std::string sectorRow(const Sector& sector) { return sector.owner + "," + sector.item + "," + sector.kind; }

std::optional<Sector> parseSectorRow(std::string_view row) {
  const std::size_t first = row.find(',');
  const std::size_t last = row.rfind(',');
  if (first == std::string_view::npos || first == last) return std::nullopt;
  return Sector{std::string(row.substr(0, first)), std::string(row.substr(first + 1, last - first - 1)),
                std::string(row.substr(last + 1))};
}

}  // namespace vrt
