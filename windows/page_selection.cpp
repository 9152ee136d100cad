#include "windows/page_selection.h"

#include <charconv>
#include <optional>

namespace vesp {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A whole item of digits (blanks around allowed); nothing for anything else.
std::optional<long long> pageNumber(std::string_view s) {
  s = trim(s);
  if (s.empty() || s.size() > 9) return std::nullopt;
  long long n = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return n;
}

bool itemSelects(std::string_view item, int page) {
  if (const std::size_t dash = item.find('-'); dash != std::string_view::npos) {
    const auto a = pageNumber(item.substr(0, dash)), b = pageNumber(item.substr(dash + 1));
    return a && b && *a > 0 && *b > 0 && *b >= *a && *a <= page && page <= *b;
  }
  const auto n = pageNumber(item);
  return n && *n == page;
}

}  // namespace

std::string DefaultPagesToPrint(int pageCount) { return "1-" + std::to_string(pageCount); }

bool PageSelected(std::string_view text, int page) {
  text = text.substr(0, std::min(text.size(), kPagesToPrintChars));
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (itemSelects(text.substr(start, comma - start), page)) return true;
    start = comma + 1;
  }
  return false;
}

std::vector<int> SelectedPages(std::string_view text, int pageCount) {
  std::vector<int> pages;
  for (int p = 1; p <= pageCount; ++p)
    if (PageSelected(text, p)) pages.push_back(p);
  return pages;
}

}  // namespace vesp
