#pragma once
// The use names of the controls the framework puts on every declared screen. The framework
// builds the controls under these names and finds them again by them; screens and tests
// that address one of them use the same constant.
namespace vesp {

// A browse's buttons; a child list's buttons carry the same names unless it names its own.
inline constexpr const char* kSelectUse = "?Select";
inline constexpr const char* kInsertUse = "?Insert";
inline constexpr const char* kChangeUse = "?Change";
inline constexpr const char* kDeleteUse = "?Delete";
inline constexpr const char* kViewUse = "?View";
inline constexpr const char* kClearUse = "?Clear";
inline constexpr const char* kCloseUse = "?Close";
inline constexpr const char* kHelpUse = "?Help";
// A browse's list, the title above it, its word search and its tabs.
inline constexpr const char* kBrowseListUse = "?Browse:1";
inline constexpr const char* kListTitleUse = "?ListTitle";
inline constexpr const char* kWordSearchUse = "?WordSearch";
inline constexpr const char* kSheetUse = "?CurrentTab";
// A form's buttons.
inline constexpr const char* kOkUse = "?OK";
inline constexpr const char* kCancelUse = "?Cancel";
// The button beside a look-up's entry, and beside a date's.
inline constexpr const char* kLookupButtonUse = "?CALLLOOKUP";
inline constexpr const char* kCalendarButtonUse = "?G_CALBUTTON";

}  // namespace vesp
