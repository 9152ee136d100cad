#include "worship/durations.h"

#include <array>
#include <cstdio>

namespace vesp {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }
bool letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool blank(char c) { return c == ' ' || c == '\t'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr int kLongest = 24 * 3600;  // more than a day is a typing slip, not a length

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Digits only, between `least` and `most` of them.
std::optional<int> digits(std::string_view s, std::size_t least, std::size_t most) {
  if (s.size() < least || s.size() > most) return std::nullopt;
  int n = 0;
  for (char c : s) {
    if (!digit(c)) return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

// "m:ss", "mm:ss" or "h:mm:ss".
std::optional<int> clockForm(std::string_view t) {
  std::array<std::string_view, 3> parts;
  std::size_t count = 0;
  for (std::size_t start = 0;;) {
    const std::size_t colon = t.find(':', start);
    if (count == parts.size()) return std::nullopt;
    parts[count++] = t.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (count < 2) return std::nullopt;
  const auto first = digits(parts[0], 1, 2);
  const auto second = digits(parts[1], 2, 2);
  if (!first || !second || *second >= 60) return std::nullopt;
  if (count == 2) return *first * 60 + *second;
  const auto third = digits(parts[2], 2, 2);
  if (!third || *third >= 60) return std::nullopt;
  return *first * 3600 + *second * 60 + *third;
}

// The seconds one unit stands for and its rank (hours before minutes before seconds); 0 for
// a word that is no unit.
struct Unit {
  int seconds;
  int rank;
};
Unit unitOf(std::string_view word) {
  struct Name {
    const char* text;
    Unit unit;
  };
  static constexpr Name kNames[] = {{"h", {3600, 1}},    {"hr", {3600, 1}},     {"hrs", {3600, 1}},
                                    {"hour", {3600, 1}}, {"hours", {3600, 1}},  {"m", {60, 2}},
                                    {"min", {60, 2}},    {"mins", {60, 2}},     {"minute", {60, 2}},
                                    {"minutes", {60, 2}}, {"s", {1, 3}},        {"sec", {1, 3}},
                                    {"secs", {1, 3}},    {"second", {1, 3}},    {"seconds", {1, 3}}};
  for (const Name& n : kNames)
    if (word == n.text) return n.unit;
  return {0, 0};
}

// Whole numbers each followed by its unit, larger units first: "1 h 5 min", "5m", "90 s".
std::optional<int> unitForm(std::string_view t) {
  int total = 0, lastRank = 0;
  std::size_t at = 0;
  while (at < t.size()) {
    while (at < t.size() && blank(t[at])) ++at;
    const std::size_t numberStart = at;
    while (at < t.size() && digit(t[at])) ++at;
    const auto number = digits(t.substr(numberStart, at - numberStart), 1, 5);
    if (!number) return std::nullopt;
    while (at < t.size() && blank(t[at])) ++at;
    std::string word;
    while (at < t.size() && letter(t[at])) word += lower(t[at++]);
    const Unit unit = unitOf(word);
    if (unit.rank <= lastRank) return std::nullopt;  // no unit, or one out of order or twice
    lastRank = unit.rank;
    total += *number * unit.seconds;
    if (total > kLongest) return std::nullopt;
    if (at < t.size() && !blank(t[at]) && !digit(t[at])) return std::nullopt;
  }
  if (lastRank == 0) return std::nullopt;
  return total;
}

}  // namespace

std::optional<int> DurationSeconds(std::string_view text) {
  const std::string_view t = trimmed(text);
  if (t.empty()) return std::nullopt;
  const auto seconds = t.find(':') != std::string_view::npos ? clockForm(t) : unitForm(t);
  if (!seconds || *seconds > kLongest) return std::nullopt;
  return seconds;
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

std::string DurationsNotRead(int skipped) {
  return std::to_string(skipped) + (skipped == 1 ? " duration" : " durations") +
         " not read (counted when written as " + kDurationForms + ")";
}

}  // namespace vesp
