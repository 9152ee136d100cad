#pragma once
// Which pages of a report the user chose to print, from the text of the "Pages to Print"
// window: comma-separated items, each a page number or a range "a-b".
#include <string>
#include <string_view>
#include <vector>

namespace vesp {

inline constexpr std::size_t kPagesToPrintChars = 255;

// The text the window starts with: every page.
std::string DefaultPagesToPrint(int pageCount);

// Whether any item selects `page`: a range a-b selects it when a > 0, b > 0, b >= a and
// a <= page <= b; a plain number selects that page; anything else, and an empty text,
// selects nothing.
bool PageSelected(std::string_view text, int page);

// The selected pages among 1..pageCount, in order.
std::vector<int> SelectedPages(std::string_view text, int pageCount);

}  // namespace vesp
