#include "screens/services/service_reports.h"

#include <vector>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/threads.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

constexpr std::size_t kReportStack = 25'000;
const NamedProcedure kSongUsage{"ReportSongUsage"};
const NamedProcedure kOrderOfService{"ReportOrderOfService"};
const NamedProcedure kStatisticsChart{"ReportStatisticsChart"};

}  // namespace

void StartSongUsage() { vrt::StartThread(kSongUsage, kReportStack, kSongUsage.name()); }

void StartStatisticsChart() {
  vrt::StartThread(kStatisticsChart, kReportStack, kStatisticsChart.name());
}

void StartOrderOfService() {
  const std::vector<unsigned char> service = Buffer(tables::Service).raw();
  vrt::StartThread(
      [service] {
        Buffer(tables::Service).assign(service);
        kOrderOfService();
      },
      kReportStack, kOrderOfService.name());
}

}  // namespace vesp
