#pragma once
// The two lists a caller owns and passes to the library on each call. The library fills or
// rewrites them during the call and keeps nothing of them afterwards.
#include <cstdint>
#include <string>
#include <vector>

namespace qrywiz {

// One offered field or expression. Text members hold at most their width in bytes.
struct XBQW_FIELDSQUEUE_Record {
  std::string QWFLDDESC;              // 40
  std::int16_t QWFLDQPOINTER = 0;     // rank by upper-cased description, 1 = first
  std::int16_t QWFLDFIELDPOINTER = 0; // persistent number; -1 while unregistered
  std::uint8_t QWFLDFIELDTYPE = 0;    // 0 table field, 1 expression
  std::string QWFLDNAME;              // 60
  std::string QWFLDPICTURE;           // 20
  std::uint16_t QWFLDLENGTH = 0;
  std::uint8_t QWFLDDATATYPE = 0;     // 1 text, 2 number, 4 date, 5 time
  std::uint8_t QWFLDCONTROL = 0;      // 1 entry, 2 check box, 3 drop list
  std::string QWFLDLOOKUP;            // 40
  std::string QWFLDOPTIONS;           // 255
};
using XBQW_FIELDSQUEUE = std::vector<XBQW_FIELDSQUEUE_Record>;

inline constexpr std::size_t kFieldDescWidth = 40;
inline constexpr std::size_t kFieldNameWidth = 60;
inline constexpr std::size_t kFieldPictureWidth = 20;
inline constexpr std::size_t kFieldLookupWidth = 40;
inline constexpr std::size_t kFieldOptionsWidth = 255;
inline constexpr std::size_t kMaxOfferedFields = 30000;

// One entry of a caller's saved-queries list.
struct XBQW_QUERIESQUEUE_Record {
  std::string description;        // 60
  std::int32_t queryNumber = 0;   // 0 for the fixed entries
  std::string sortKey;            // 61: "1", "2", or "3" + upper-cased description
};
using XBQW_QUERIESQUEUE = std::vector<XBQW_QUERIESQUEUE_Record>;

inline constexpr std::size_t kQueryDescWidth = 60;
inline constexpr std::size_t kSortKeyWidth = 61;
inline constexpr std::size_t kFilterWidth = 1024;

}  // namespace qrywiz
