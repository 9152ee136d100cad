#include "querywizard/display_text.h"

#include <array>
#include <charconv>
#include <map>
#include <mutex>

#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

enum class Kind { Text, Number, Split, Ignored };

struct Entry {
  int first, last;  // a run of ids
  std::array<int, 3> widths;  // cycled over the run: button triples repeat (long, short, text)
  Kind kind = Kind::Text;
};

// Ids with their widths, in runs.
constexpr Entry kEntries[] = {
    {1, 12, {30, 30, 30}},
    {31, 31, {40, 40, 40}},  {32, 32, {150, 150, 150}}, {33, 33, {40, 40, 40}},  {34, 34, {200, 200, 200}},
    {35, 35, {40, 40, 40}},  {36, 36, {70, 70, 70}},    {37, 37, {40, 40, 40}},  {38, 38, {350, 350, 350}},
    {39, 39, {40, 40, 40}},  {40, 40, {150, 150, 150}}, {41, 41, {40, 40, 40}},  {42, 42, {70, 70, 70}},
    {71, 71, {60, 60, 60}},  {72, 72, {0, 0, 0}, Kind::Number},
    {73, 73, {60, 60, 60}},  {74, 74, {0, 0, 0}, Kind::Number},
    {75, 75, {60, 60, 60}},  {76, 76, {0, 0, 0}, Kind::Number},
    {77, 77, {60, 60, 60}},  {78, 78, {0, 0, 0}, Kind::Number},
    {79, 79, {60, 60, 60}},  {80, 80, {0, 0, 0}, Kind::Number},
    {100, 100, {60, 60, 60}}, {101, 127, {60, 35, 15}},
    {151, 153, {26, 26, 26}}, {154, 154, {30, 30, 30}}, {155, 156, {70, 70, 70}}, {157, 157, {50, 50, 50}},
    {158, 158, {30, 30, 30}}, {159, 159, {40, 40, 40}}, {160, 160, {30, 30, 30}},
    {161, 162, {70, 70, 70}, Kind::Split},
    {163, 163, {60, 60, 60}}, {164, 165, {30, 30, 30}}, {166, 166, {50, 50, 50}}, {167, 167, {40, 40, 40}},
    {168, 168, {70, 70, 70}}, {169, 169, {30, 30, 30}}, {170, 170, {120, 120, 120}}, {171, 171, {30, 30, 30}},
    {200, 200, {60, 60, 60}}, {201, 201, {40, 40, 40}}, {202, 202, {60, 60, 60}}, {203, 217, {50, 25, 15}},
    {218, 219, {0, 0, 0}, Kind::Ignored},
    {220, 220, {40, 40, 40}}, {221, 221, {250, 250, 250}}, {230, 230, {60, 60, 60}}, {231, 232, {120, 120, 120}},
    {233, 235, {40, 40, 40}}, {236, 236, {30, 30, 30}}, {237, 242, {50, 25, 15}},
    {243, 244, {0, 0, 0}, Kind::Ignored},
    {245, 247, {60, 60, 60}}, {300, 301, {70, 70, 70}}, {302, 303, {60, 60, 60}},
};
constexpr std::size_t kExtraWidth = 40;  // the part of 161/162 after "|"

const Entry* find(int id) {
  for (const Entry& e : kEntries)
    if (id >= e.first && id <= e.last) return &e;
  return nullptr;
}

int widthOf(const Entry& e, int id) { return e.widths[static_cast<std::size_t>((id - e.first) % 3)]; }

struct Table {
  std::mutex lock;
  std::map<int, std::string> texts;
  std::map<int, std::string> extras;
  std::map<int, int> numbers;
};

Table& table() {
  static Table t;
  return t;
}

std::string fit(std::string_view text, std::size_t width) { return std::string(vrt::utf8Truncate(text, width)); }

int readNumber(std::string_view text) {
  text = vrt::clip(text);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() ? value : 0;
}

}  // namespace

void XB_SETQWDISPLAYTEXT(std::int32_t id, std::string_view text) {
  const Entry* e = find(id);
  if (!e || e->kind == Kind::Ignored) return;
  Table& t = table();
  std::lock_guard g(t.lock);
  switch (e->kind) {
    case Kind::Number:
      t.numbers[id] = readNumber(text);
      break;
    case Kind::Split: {
      const auto bar = text.find('|');
      t.texts[id] = fit(text.substr(0, bar), static_cast<std::size_t>(widthOf(*e, id)));
      t.extras[id] = bar == std::string_view::npos ? std::string() : fit(text.substr(bar + 1), kExtraWidth);
      break;
    }
    default:
      t.texts[id] = fit(text, static_cast<std::size_t>(widthOf(*e, id)));
  }
}

std::string displayText(int id) {
  Table& t = table();
  std::lock_guard g(t.lock);
  auto it = t.texts.find(id);
  return it == t.texts.end() ? std::string() : it->second;
}

int displayNumber(int id) {
  Table& t = table();
  std::lock_guard g(t.lock);
  auto it = t.numbers.find(id);
  return it == t.numbers.end() ? 0 : it->second;
}

std::string displayExtra(int id) {
  Table& t = table();
  std::lock_guard g(t.lock);
  auto it = t.extras.find(id);
  return it == t.extras.end() ? std::string() : it->second;
}

std::size_t displayTextWidth(int id) {
  const Entry* e = find(id);
  if (!e || e->kind == Kind::Number || e->kind == Kind::Ignored) return 0;
  return static_cast<std::size_t>(widthOf(*e, id));
}

void resetDisplayTexts() {
  Table& t = table();
  std::lock_guard g(t.lock);
  t.texts.clear();
  t.extras.clear();
  t.numbers.clear();
}

}  // namespace qrywiz
