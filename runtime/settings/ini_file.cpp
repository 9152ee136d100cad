#include "runtime/settings/ini_file.h"

#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "runtime/text/utf8.h"

namespace vrt {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr const char* kPlatformNewline = "\r\n";
#else
constexpr const char* kPlatformNewline = "\n";
#endif

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool isQuoted(std::string_view v) { return v.size() >= 2 && v.front() == '"' && v.back() == '"'; }

// Quotes a value whose own blanks or quotes would otherwise be taken off when it is read.
std::string storedValue(std::string_view value) {
  const bool needsQuotes =
      !value.empty() && (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value));
  return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool validSectionName(std::string_view name) {
  return !name.empty() && !hasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool validEntryName(std::string_view name) {
  return !name.empty() && !hasLineBreak(name) && name.find('=') == std::string_view::npos &&
         name.front() != '[' && name.front() != ';' && name.front() != '#';
}

bool sameName(std::string_view a, std::string_view b) { return vrt::equalTextNoCase(a, b); }

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  if (text.starts_with(kByteOrderMark)) {
    ini.byteOrderMark_ = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  ini.newline_ = text.find("\r\n") != std::string_view::npos ? "\r\n"
                 : text.find('\n') != std::string_view::npos ? "\n"
                                                              : kPlatformNewline;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    if (raw.ends_with('\r')) raw.remove_suffix(1);

    const std::string_view content = trim(raw);
    if (content.starts_with('[')) {
      const std::size_t close = content.find(']');
      const std::string_view name =
          content.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
      ini.sections_.push_back(Section{std::string(trim(name)), true, {}});
      ini.sections_.back().lines.push_back(Line{std::string(raw), false, {}});
      continue;
    }
    Line line{std::string(raw), false, {}};
    const std::size_t equals = content.find('=');
    if (equals != std::string_view::npos && !content.starts_with(';') && !content.starts_with('#')) {
      const std::string_view name = trim(content.substr(0, equals));
      if (!name.empty()) {
        line.isEntry = true;
        line.name = std::string(name);
      }
    }
    ini.sections_.back().lines.push_back(std::move(line));
  }
  return ini;
}

std::string IniFile::Text() const {
  std::string out;
  if (byteOrderMark_) out += kByteOrderMark;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      out += line.text;
      out += newline_;
    }
  }
  return out;
}

bool IniFile::Load(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) {
    *this = IniFile{};
    newline_ = kPlatformNewline;
    return true;
  }
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  *this = Parse(text);
  return true;
}

bool IniFile::Save(const std::string& path) const {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string text = Text();
  if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

const IniFile::Section* IniFile::findSection(std::string_view section) const {
  for (const Section& s : sections_) {
    if (s.hasHeader && sameName(s.name, section)) return &s;
  }
  return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view section) {
  return const_cast<Section*>(std::as_const(*this).findSection(section));
}

const IniFile::Line* IniFile::findEntry(std::string_view section, std::string_view name) const {
  const Section* s = findSection(trim(section));
  if (!s) return nullptr;
  for (const Line& line : s->lines) {
    if (line.isEntry && sameName(line.name, trim(name))) return &line;
  }
  return nullptr;
}

bool IniFile::HasSection(std::string_view section) const { return findSection(trim(section)) != nullptr; }

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view name) const {
  const Line* line = findEntry(section, name);
  if (!line) return std::nullopt;
  std::string_view value = trim(std::string_view(line->text).substr(line->text.find('=') + 1));
  if (isQuoted(value)) value = value.substr(1, value.size() - 2);
  return std::string(vrt::utf8Left(value, kValueLimit));
}

bool IniFile::Set(std::string_view section, std::string_view name, std::string_view value) {
  section = trim(section);
  name = trim(name);
  if (!validSectionName(section) || !validEntryName(name) || hasLineBreak(value)) return false;
  Line entry{std::string(name) + "=" + storedValue(value), true, std::string(name)};

  Section* s = findSection(section);
  if (!s) {
    Section& last = sections_.back();
    if (!last.lines.empty() && !trim(last.lines.back().text).empty()) last.lines.push_back(Line{});
    sections_.push_back(Section{std::string(section), true, {Line{"[" + std::string(section) + "]", false, {}}}});
    sections_.back().lines.push_back(std::move(entry));
    return true;
  }
  auto existing = std::find_if(s->lines.begin(), s->lines.end(),
                               [&](const Line& l) { return l.isEntry && sameName(l.name, name); });
  if (existing != s->lines.end()) {
    existing->text = std::move(entry.text);
    return true;
  }
  // A new entry goes after the section's last entry, ahead of any blank lines that part it
  // from the next section.
  auto lastEntry = std::find_if(s->lines.rbegin(), s->lines.rend(), [](const Line& l) { return l.isEntry; });
  const auto at = lastEntry != s->lines.rend() ? lastEntry.base() : s->lines.begin() + 1;
  s->lines.insert(at, std::move(entry));
  return true;
}

bool IniFile::Remove(std::string_view section, std::string_view name) {
  Section* s = findSection(trim(section));
  if (!s) return false;
  name = trim(name);
  // Every copy goes, so that a duplicate never resurfaces in its place.
  const auto removed = std::erase_if(s->lines, [&](const Line& l) { return l.isEntry && sameName(l.name, name); });
  return removed > 0;
}

}  // namespace vrt
