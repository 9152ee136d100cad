#pragma once
// A plain INI file: "[section]" headers and "name=value" entries. Section and entry names
// match without regard to case, as Windows profile files do. Everything this class does
// not change (comments, blank lines, other sections, the order of entries) is written
// back as it was read, and a save replaces the file in one step.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrt {

class IniFile {
 public:
  static constexpr std::size_t kValueLimit = 1024;  // characters a read returns

  // A missing file reads as an empty one; false when the file exists but cannot be read.
  bool Load(const std::string& path);
  // Writes a temporary file beside `path` and renames it over `path`.
  bool Save(const std::string& path) const;

  static IniFile Parse(std::string_view text);
  std::string Text() const;

  std::optional<std::string> Get(std::string_view section, std::string_view name) const;
  bool HasSection(std::string_view section) const;
  // False, changing nothing, for what a plain INI file cannot hold: empty names, line
  // breaks, "]" in a section name, "=" in an entry name, or a name that would read back
  // as a header or a comment. Surrounding blanks of a value are kept by quoting it.
  bool Set(std::string_view section, std::string_view name, std::string_view value);
  // True when the entry was there.
  bool Remove(std::string_view section, std::string_view name);

 private:
  struct Line {
    std::string text;  // as read or as last written
    bool isEntry = false;
    std::string name;  // of an entry
  };
  struct Section {
    std::string name;
    bool hasHeader = true;  // false only for the lines before the first header
    std::vector<Line> lines;
  };

  const Line* findEntry(std::string_view section, std::string_view name) const;
  Section* findSection(std::string_view section);
  const Section* findSection(std::string_view section) const;

  std::vector<Section> sections_{Section{{}, false, {}}};
  bool byteOrderMark_ = false;
  std::string newline_ = "\n";
};

}  // namespace vrt
