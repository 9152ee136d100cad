#include "screens/services/running_time.h"

#include <vector>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/window.h"
#include "screens/elements/service_elements.h"

namespace vesp {

DurationTotal ServiceRunningTime(std::int32_t service) {
  std::vector<std::string> durations;
  ForEachElementOf(service, [&durations](vrt::RecordRef e) {
    durations.push_back(e.get(SEL_DURATION));
    return true;
  });
  return TotalDurations(durations);
}

std::string RunningTimeText(const DurationTotal& total) {
  std::string text = "Running time: " + DurationText(total.seconds);
  if (total.skipped == 1) text += " (1 duration not read)";
  else if (total.skipped > 1) text += " (" + std::to_string(total.skipped) + " durations not read)";
  return text;
}

void ShowRunningTime(vrt::Window& window) {
  if (vrt::Control* shown = window.control(kRunningTimeUse))
    shown->setText(RunningTimeText(ServiceRunningTime(Buffer(tables::Service).get(SER_SERVICENUMBER))));
}

}  // namespace vesp
