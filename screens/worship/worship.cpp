// The song-usage report and the registration of the worship reports.
#include "screens/worship/worship.h"

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "screens/worship/open_tables.h"
#include "screens/worship/statistics_chart.h"
#include "screens/worship/usage_range.h"
#include "windows/procedures.h"
#include "windows/report_manager.h"

namespace vesp {

namespace {

struct UsageColumn {
  double width;
  int align;
};
// Beside songUsageHeadings(), column by column.
// In points of a letter page's 540 between the margins: "no bibliography" and a CCLI number
// keep to one line, the dates take two to a line.
constexpr UsageColumn kUsageColumns[] = {{76, Qt::AlignLeft}, {120, Qt::AlignLeft}, {80, Qt::AlignLeft},
                                         {70, Qt::AlignLeft}, {46, Qt::AlignLeft},  {44, Qt::AlignHCenter},
                                         {104, Qt::AlignLeft}};

const ReportDeclaration kSongUsageReport = {kSongUsageProcedure, "SongUsage", "Song Usage", nullptr, {}, {}, "",
                                            "Song Usage Report", "SongUsage Report", 8};

QString dateText(vrt::DayNumber d) { return QString::fromStdString(vrt::formatPicture(double(d), "@d17")); }

}  // namespace

std::vector<ReportLine> SongUsageLines(const SongUsageReport& usage, vrt::DayNumber from, vrt::DayNumber to,
                                       UsageOrder order) {
  std::vector<ReportLine> lines;
  lines.push_back(ReportLine::field("Services:", dateText(from) + " to " + dateText(to) + " (" +
                                                     QString::number(usage.services) +
                                                     (usage.services == 1 ? " service)" : " services)")));
  lines.push_back(
      ReportLine::field("Order:", order == UsageOrder::Title ? "By title" : "By number of services"));
  std::vector<vrt::ReportColumn> columns;
  const auto& headings = songUsageHeadings();
  for (std::size_t c = 0; c < headings.size(); ++c)
    columns.push_back({QString::fromStdString(headings[c]), kUsageColumns[c].width, kUsageColumns[c].align});
  lines.push_back(ReportLine::section({}, std::move(columns)));
  int uses = 0;
  for (const SongUse& use : usage.entries) {
    std::vector<QString> cells;
    for (const std::string& cell : songUsageRow(use)) cells.push_back(QString::fromStdString(cell));
    lines.push_back(ReportLine::detail(std::move(cells)));
    uses += use.services();
  }
  const auto n = static_cast<int>(usage.entries.size());
  lines.push_back(ReportLine::total(
      {"Total", QString::number(n) + (n == 1 ? " entry" : " entries"), {}, {}, {}, QString::number(uses), {}}));
  return lines;
}

void ReportSongUsage() {
  const UsageRange range = AskUsageRange(vrt::today());
  if (range.cancelled) return;
  ReportRun run;
  run.rows = [range] {
    return ComputedRows(
        [range](std::vector<ReportLine>& lines, std::string& error) {
          OpenTables open({&tables::Service, &tables::ServiceElement, &tables::Bibliography});
          if (!open.failed().empty()) {
            error = "The " + open.failed() + " file could not be opened.";
            return false;
          }
          const SongUsageReport usage =
              SongUsage(TableFile(tables::Service), TableFile(tables::ServiceElement), TableFile(tables::Bibliography),
                        range.from, range.to, range.order);
          if (!usage.ok) {
            error = "The song usage could not be read: " + usage.error;
            return false;
          }
          lines = SongUsageLines(usage, range.from, range.to, range.order);
          return true;
        },
        true);
  };
  RunReport(kSongUsageReport, std::move(run));
}

void RegisterWorship() {
  RegisterProcedure(kSongUsageProcedure, ReportSongUsage);
  RegisterProcedure(kOrderOfServiceProcedure, ReportOrderOfService);
  RegisterProcedure(kStatisticsChartProcedure, ReportStatisticsChart);
}

}  // namespace vesp
