#pragma once
// The library's exported globals. XBQW_Response belongs to the calling thread (each of the
// system's cooperative threads sees its own); the others are shared by the process and are
// set before any browse opens.
#include <cstdint>
#include <optional>
#include <string>

namespace qrywiz {

// $XBQW:Response: outcome of the calling thread's last wizard.
std::int32_t& XBQW_Response();

extern std::string XBQW_FilePath;     // 100: folder of the saved-query file, "" = current
extern std::string XBQW_FileName;     // 12: name of the saved-query file, "" = QUERIES.TPS
extern std::uint8_t XBQW_MainOptions;  // 1 no expression builder, 2 no drop-down calendar, 4 window tool style
extern std::uint8_t XBQW_SqlOptions;   // 1 no case-sensitivity choice in SQL syntax
extern std::string XBQW_SqlUpper;     // 11 + zero: upper-casing function of SQL filters
extern std::string XBQW_SqlDatePic;   // 11 + zero: picture of date constants in SQL filters

inline constexpr std::size_t kFilePathWidth = 100;
inline constexpr std::size_t kFileNameWidth = 12;
inline constexpr std::size_t kSqlNameWidth = 11;

// Where the saved queries live. Omitted arguments are std::nullopt / nullptr.
void XB_SETQWFILEPATHS(std::optional<std::uint8_t> mode = std::nullopt, const std::string* path = nullptr,
                       const std::string* name = nullptr);

// The three tables' names as the store addresses them: path + file + "\!" + table.
struct QueryFileNames {
  std::string queries, elements, fields;
  std::string file;  // path + file
};
// Builds the names first when they were never built (mode 1).
QueryFileNames queryFileNames();

// Back to the state at load time (for tests).
void resetFilePaths();

}  // namespace qrywiz
