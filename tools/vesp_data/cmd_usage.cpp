// usage: song usage over a range of services, for licence reporting.
#include <algorithm>
#include <cstdio>

#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "runtime/text/csv.h"
#include "worship/song_usage.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/open_table.h"

namespace vesp::tools {

namespace {

// yyyy-mm-dd as a day number; 0 when the text is not a real date.
vrt::DayNumber parseDate(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return 0;
  if (m < 1 || m > 12 || d < 1 || d > vrt::daysInMonth(y, m)) return 0;
  return vrt::dateFromYmd(y, m, d);
}

bool dateOption(const Args& args, const std::string& option, vrt::DayNumber& date, std::ostream& err) {
  if (!args.has(option)) {
    err << "vesp-data: usage needs " << option << " DATE\n";
    return false;
  }
  date = parseDate(args.options.at(option));
  if (date == 0) err << "vesp-data: " << option << " '" << args.options.at(option) << "' is not a date (yyyy-mm-dd)\n";
  return date != 0;
}

void writeTable(std::ostream& out, const SongUsageReport& report) {
  const auto& headings = songUsageHeadings();
  std::vector<std::vector<std::string>> rows;
  for (const SongUse& use : report.entries) rows.push_back(songUsageRow(use));
  // Every column as wide as its widest text but the dates, which come last.
  std::vector<std::size_t> widths;
  for (std::size_t c = 0; c < headings.size(); ++c) {
    std::size_t w = headings[c].size();
    for (const auto& r : rows) w = std::max(w, r[c].size());
    widths.push_back(w);
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      text += cells[c];
      if (c + 1 < cells.size()) text += std::string(widths[c] - cells[c].size() + 2, ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << "\n";
  };
  line(headings);
  for (const auto& r : rows) line(r);
  out << report.entries.size() << (report.entries.size() == 1 ? " entry" : " entries") << " used in "
      << report.services << (report.services == 1 ? " service" : " services") << "\n";
}

}  // namespace

int runUsage(const Args& args, std::ostream& out, std::ostream& err) {
  vrt::DayNumber from = 0, to = 0;
  if (!dateOption(args, "--from", from, err) || !dateOption(args, "--to", to, err)) return 2;
  if (from > to) {
    err << "vesp-data: --to comes before --from\n";
    return 2;
  }
  UsageOrder order = UsageOrder::Title;
  if (args.has("--order")) {
    const std::string& o = args.options.at("--order");
    if (o == "count") order = UsageOrder::Count;
    else if (o != "title") {
      err << "vesp-data: --order is 'title' or 'count', not '" << o << "'\n";
      return 2;
    }
  }
  auto services = openTable(dict::schemaOf(tables::Service), err, false, vrt::OpenAccess::ReadOnly);
  auto elements = openTable(dict::schemaOf(tables::ServiceElement), err, false, vrt::OpenAccess::ReadOnly);
  auto bibliography = openTable(dict::schemaOf(tables::Bibliography), err, false, vrt::OpenAccess::ReadOnly);
  if (!services || !elements || !bibliography) return 1;
  const SongUsageReport report = SongUsage(*services, *elements, *bibliography, from, to, order);
  if (!report.ok) {
    err << "vesp-data: " << report.error << "\n";
    return 1;
  }
  if (!args.has("--csv")) {
    writeTable(out, report);
    return 0;
  }
  // UTF-8 with a byte-order mark, so spreadsheet programs read accented titles right.
  out << "\xEF\xBB\xBF";
  // The entry's number and the count of services are numbers; the rest is text.
  using vrt::CsvKind;
  const std::vector<CsvKind> kinds = {CsvKind::Number, CsvKind::Text, CsvKind::Text,  CsvKind::Text,
                                      CsvKind::Text,   CsvKind::Number, CsvKind::Text};
  out << vrt::CsvLine(songUsageHeadings());
  for (const SongUse& use : report.entries) out << vrt::CsvLine(songUsageRow(use), kinds);
  return 0;
}

}  // namespace vesp::tools
