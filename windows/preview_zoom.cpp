#include "windows/preview_zoom.h"

#include <charconv>

#include "runtime/text/utf8.h"

namespace vesp {

std::string PreviewPageStatus(int current, int shown, int count) {
  std::string page = std::to_string(current);
  if (shown > 1) page += "-" + std::to_string(current + shown - 1);
  return "Page " + page + " of " + std::to_string(count);
}

std::string PreviewZoomStatus(int entry, int percent) {
  if (entry >= 1 && entry <= static_cast<int>(kZoomTable.size())) return kZoomTable[entry - 1].statusText;
  return "Zoom: " + std::to_string(percent) + "%";
}

int ParseZoomChoice(const std::string& text, int& percent) {
  const std::string t(vrt::clip(text));
  for (std::size_t i = 0; i < kZoomTable.size(); ++i)
    if (vrt::upperCase(t) == vrt::upperCase(kZoomTable[i].menuText)) {
      percent = kZoomTable[i].percent;
      return static_cast<int>(i) + 1;
    }
  std::string_view digits = t;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  if (!digits.empty() && digits.back() == '%') digits.remove_suffix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  // Beyond these a page is a dot or wider than any screen.
  if (ec != std::errc() || end != digits.data() + digits.size() || value < 10 || value > 1000) return -1;
  percent = value;
  return 0;
}

}  // namespace vesp
