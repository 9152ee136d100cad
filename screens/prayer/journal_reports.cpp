#include "screens/prayer/journal_reports.h"

#include "runtime/gui/threads.h"
#include "screens/prayer/journal_handover.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

constexpr std::size_t kReportStack = 25'000;
constexpr const char* kQueryReport = "ReportPrayerRequestQuery";

}  // namespace

void StartJournalReport(const char* procedure) { vrt::StartThread(ProcedureNamed(procedure), kReportStack, procedure); }

void StartQueryReport(const QueryHandover& handover) {
  vrt::StartThread([handover, report = ProcedureNamed(kQueryReport)] { RunWithQueryHandover(handover, report); },
                   kReportStack, kQueryReport);
}

}  // namespace vesp
