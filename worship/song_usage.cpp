#include "worship/song_usage.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "dictionary/tables.h"
#include "runtime/data/errors.h"
#include "runtime/store/view.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

using vrt::RecordRef;

std::string isoDate(vrt::DayNumber date) {
  const auto ymd = vrt::ymdFromDate(date);
  if (!ymd) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", ymd->year, ymd->month, ymd->day);
  return text;
}

std::string failure(const char* what) { return std::string(what) + ": " + vrt::errorMessage(); }

// What the elements used, before the entries are read: by entry number, and by title for
// elements without one.
struct Uses {
  std::map<std::int32_t, std::set<vrt::DayNumber>> byEntry;
  std::map<std::string, std::set<vrt::DayNumber>> untitledEntry;  // by element title
};

}  // namespace

const std::vector<std::string>& songUsageHeadings() {
  static const std::vector<std::string> headings = {"Bibliography #", "Title",    "Written By", "Publisher",
                                                    "CCLI",           "Services", "Dates"};
  return headings;
}

std::vector<std::string> songUsageRow(const SongUse& use) {
  std::string dates;
  for (vrt::DayNumber d : use.dates) dates += (dates.empty() ? "" : "; ") + isoDate(d);
  return {use.bibliography ? std::to_string(use.bibliography) : kNoBibliographyEntry,
          use.title, use.writtenBy, use.publisher, use.ccli, std::to_string(use.services()), dates};
}

SongUsageReport SongUsage(vrt::DataFile& services, vrt::DataFile& elements, vrt::DataFile& bibliography,
                          vrt::DayNumber from, vrt::DayNumber to, UsageOrder order) {
  SongUsageReport report;
  if (from > to) {
    report.error = "the range ends before it starts";
    return report;
  }
  // The services of the range, by their dates.
  std::vector<std::pair<std::int32_t, vrt::DayNumber>> inRange;
  {
    vrt::View view(services);
    const std::string filter = "SER:WeekOfDate_Date >= " + std::to_string(from) +
                               " AND SER:WeekOfDate_Date <= " + std::to_string(to);
    if (!view.setOrder("+SER:WeekOfDate_Date,+SER:ServiceNumber") || !view.setFilter(filter) || !view.open()) {
      report.error = failure("reading the services");
      return report;
    }
    RecordRef s = services.buffer();
    while (view.next()) inRange.emplace_back(s.get(SER_SERVICENUMBER), s.get(SER_WEEKOFDATE_DATE));
    const bool ended = vrt::errorCode() == vrt::kRecordNotAvailable;
    view.close();
    if (!ended) {
      report.error = failure("reading the services");
      return report;
    }
  }
  report.services = static_cast<int>(inRange.size());

  Uses uses;
  RecordRef e = elements.buffer();
  for (const auto& [service, date] : inRange) {
    vrt::View view(elements);
    if (!view.setOrder("+SEL:ServiceNumber,+SEL:ElementOrder") ||
        !view.setFilter("SEL:ServiceNumber = " + std::to_string(service)) || !view.open()) {
      report.error = failure("reading the service elements");
      return report;
    }
    while (view.next()) {
      const std::int32_t entry = e.get(SEL_BIBLIOGRAPHYNUMBER);
      if (entry) uses.byEntry[entry].insert(date);
      else uses.untitledEntry[std::string(vrt::clip(e.get(SEL_TITLE)))].insert(date);
    }
    const bool ended = vrt::errorCode() == vrt::kRecordNotAvailable;
    view.close();
    if (!ended) {
      report.error = failure("reading the service elements");
      return report;
    }
  }

  RecordRef b = bibliography.buffer();
  const int numberKey = dict::idx::BBL::keys::BibliographyNumberKey;
  for (const auto& [entry, dates] : uses.byEntry) {
    SongUse use;
    b.set(BBL_BIBLIOGRAPHYNUMBER, entry);
    if (bibliography.get(numberKey)) {
      use.bibliography = entry;
      use.title = vrt::clip(b.get(BBL_TITLE));
      use.writtenBy = vrt::clip(b.get(BBL_WRITTENBY));
      use.publisher = vrt::clip(b.get(BBL_PUBLISHER));
      use.ccli = vrt::clip(b.get(BBL_CCLI));
    } else if (vrt::errorCode() == vrt::kRecordNotFound) {
      // An entry removed since: its uses still count, under the number they name.
      use.title = "Bibliography entry " + std::to_string(entry) + " (no longer on file)";
    } else {
      report.error = failure("reading the bibliography");
      return report;
    }
    use.dates.assign(dates.begin(), dates.end());
    report.entries.push_back(std::move(use));
  }
  for (const auto& [title, dates] : uses.untitledEntry) {
    SongUse use;
    use.title = title;
    use.dates.assign(dates.begin(), dates.end());
    report.entries.push_back(std::move(use));
  }

  auto byTitle = [](const SongUse& a, const SongUse& b) {
    if (const int c = vrt::compareTextNoCase(a.title, b.title)) return c < 0;
    return a.bibliography < b.bibliography;
  };
  if (order == UsageOrder::Title) {
    std::stable_sort(report.entries.begin(), report.entries.end(), byTitle);
  } else {
    std::stable_sort(report.entries.begin(), report.entries.end(), [&](const SongUse& a, const SongUse& b) {
      if (a.services() != b.services()) return a.services() > b.services();
      return byTitle(a, b);
    });
  }
  report.ok = true;
  return report;
}

}  // namespace vesp
