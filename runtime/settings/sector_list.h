#pragma once
// Sectors: settings sections owned by a part of the program, named from three parts (owner,
// item, kind) so that the name can be read back into them. The list of sectors written so
// far is kept in the settings file itself.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vrt {

inline constexpr const char* kSectorListSection = "__Dont_Touch_Me__";
inline constexpr const char* kSectorListName = "Sectors";
inline constexpr std::size_t kSectorPartLimit = 100;  // characters of each part

struct Sector {
  std::string owner;
  std::string item;
  std::string kind;
  bool operator==(const Sector&) const = default;
};

// The parts cut to their size; nullopt for parts that could not be read back: an owner
// holding "$" or ",", a kind holding "," or starting with "$".
std::optional<Sector> makeSector(std::string_view owner, std::string_view item, std::string_view kind);

// owner "$" item "$$" kind, every "$" of the item written as "$$$".
std::string sectorSectionName(const Sector& sector);
std::optional<Sector> parseSectorSectionName(std::string_view name);

// A row of the stored list: the parts joined by ",". An item may hold commas: the owner
// ends at the first comma and the kind begins after the last.
std::string sectorRow(const Sector& sector);
std::optional<Sector> parseSectorRow(std::string_view row);

}  // namespace vrt
