#include "screens/prayer/journal_reports.h"

#include "runtime/gui/threads.h"
#include "windows/procedures.h"

namespace vesp {

void StartJournalReport(const char* procedure) {
  constexpr std::size_t kReportStack = 25'000;
  vrt::StartThread(ProcedureNamed(procedure), kReportStack, procedure);
}

}  // namespace vesp
