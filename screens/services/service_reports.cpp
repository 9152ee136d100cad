#include "screens/services/service_reports.h"

#include <vector>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/threads.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

constexpr std::size_t kReportStack = 25'000;
constexpr const char* kSongUsage = "ReportSongUsage";
constexpr const char* kOrderOfService = "ReportOrderOfService";
constexpr const char* kStatisticsChart = "ReportStatisticsChart";

}  // namespace

void StartSongUsage() { vrt::StartThread(ProcedureNamed(kSongUsage), kReportStack, kSongUsage); }

void StartStatisticsChart() {
  vrt::StartThread(ProcedureNamed(kStatisticsChart), kReportStack, kStatisticsChart);
}

void StartOrderOfService() {
  const std::vector<unsigned char> service = Buffer(tables::Service).raw();
  auto report = ProcedureNamed(kOrderOfService);
  vrt::StartThread(
      [service, report] {
        Buffer(tables::Service).assign(service);
        report();
      },
      kReportStack, kOrderOfService);
}

}  // namespace vesp
