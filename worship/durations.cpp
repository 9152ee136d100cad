#include "worship/durations.h"

#include <cstdio>

namespace vesp {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<int> DurationSeconds(std::string_view text) {
  const std::string_view t = trimmed(text);
  const std::size_t colon = t.find(':');
  if (colon == std::string_view::npos || colon < 1 || colon > 2 || t.size() != colon + 3) return std::nullopt;
  for (std::size_t i = 0; i < t.size(); ++i)
    if (i != colon && !digit(t[i])) return std::nullopt;
  int minutes = 0;
  for (std::size_t i = 0; i < colon; ++i) minutes = minutes * 10 + (t[i] - '0');
  const int seconds = (t[colon + 1] - '0') * 10 + (t[colon + 2] - '0');
  if (seconds >= 60) return std::nullopt;
  return minutes * 60 + seconds;
}

std::string DurationText(int seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  if (seconds < 3600) std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
  else std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

DurationTotal TotalDurations(const std::vector<std::string>& durations) {
  DurationTotal total;
  for (const std::string& d : durations) {
    if (trimmed(d).empty()) continue;
    if (const auto s = DurationSeconds(d)) {
      total.seconds += *s;
      ++total.counted;
    } else {
      ++total.skipped;
    }
  }
  return total;
}

}  // namespace vesp
