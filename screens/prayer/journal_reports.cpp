#include "screens/prayer/journal_reports.h"

#include "runtime/gui/threads.h"
#include "screens/prayer/journal_handover.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

constexpr std::size_t kReportStack = 25'000;
const NamedProcedure kQueryReport{"ReportPrayerRequestQuery"};

}  // namespace

void StartJournalReport(const NamedProcedure& report) { vrt::StartThread(report, kReportStack, report.name()); }

void StartQueryReport(const QueryHandover& handover) {
  vrt::StartThread([handover] { RunWithQueryHandover(handover, kQueryReport); }, kReportStack, kQueryReport.name());
}

}  // namespace vesp
