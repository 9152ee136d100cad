#pragma once
// One condition of a query as the wizard holds it in its current-query list.
#include <cstdint>
#include <string>
#include <vector>

namespace qrywiz {

enum Operation : std::uint8_t {
  kIsEqualTo = 1,
  kIsNotEqualTo,
  kIsGreaterThan,
  kIsLessThan,
  kIsGreaterOrEqual,
  kIsLessOrEqual,
  kBeginsWith,
  kContains,
  kDoesNotBeginWith,
  kDoesNotContain,
  kIsChecked,
  kIsNotChecked,
};

// Colours of the conjunction column.
inline constexpr std::int32_t kConjunctionRed = 255;
inline constexpr std::int32_t kDefaultColour = -1;

struct QueryElement {
  std::string DESC;         // 60
  std::string CONJUNCTION;  // "AND", "OR" or empty
  std::int32_t NORMALFG = kConjunctionRed;
  std::int32_t NORMALBG = kDefaultColour;
  std::int32_t SELECTFG = kDefaultColour;
  std::int32_t SELECTBG = kDefaultColour;
  std::string FIELDNAME;    // 60
  std::uint8_t OPCODE = 0;
  std::string VALUE;        // 80
  std::uint8_t DATATYPE = 0;
  std::uint8_t MATCHTYPE = 0;
  std::int32_t FLDQPOINTER = 0;
  std::int32_t CMPFLDQPOINTER = 0;
  std::uint8_t EXPRESSION = 0;
};
using CurrentQuery = std::vector<QueryElement>;

inline constexpr std::size_t kElementDescWidth = 60;
inline constexpr std::size_t kElementValueWidth = 80;

}  // namespace qrywiz
