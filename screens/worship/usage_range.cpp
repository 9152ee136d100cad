#include "screens/worship/usage_range.h"

#include <algorithm>

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "windows/calendar_key.h"
#include "windows/screen_conventions.h"
#include "windows/window_placement.h"

namespace vesp {

using namespace vrt;

DayNumber YearBefore(DayNumber today) {
  const auto ymd = ymdFromDate(today);
  if (!ymd) return today;
  // 29 February steps back to 28 February, and the range starts the day after.
  const int day = std::min(ymd->day, daysInMonth(ymd->year - 1, ymd->month));
  return dateFromYmd(ymd->year - 1, ymd->month, day) + 1;
}

UsageRange AskUsageRange(DayNumber today) {
  UsageRange range;
  std::int32_t from = YearBefore(today), to = today;
  std::string order = "Title";
  WindowSpec design = windowSpec(kUsageRangeCaption, "AskSongUsageRange");
  design.controls = {
      prompt("Services whose week-of date lies in the range:"),
      grid(2, {prompt("&From:"), entry("?FromDate", "@d17", bind(from)), prompt("&To:"),
               entry("?ToDate", "@d17", bind(to))}),
      optionGroup("?UsageOrder", "List the entries", bind(order),
                  {radio("By &title", "Title"), radio("By &number of services", "Count")}),
      row({button("?OK", "&OK").icon("SOK.ICO").help("Print the song usage").makeDefault(),
           button("?Cancel", "&Cancel").icon("SCANCEL.ICO").help("Cancel operation").makeCancel()}),
  };
  design.alertKeys = {kF6Key};  // the calendar, on either date
  Window window(design);
  const int ok = window.number("?OK"), cancel = window.number("?Cancel");
  window.open();
  // Over the window it was asked from, or where the user last left it.
  PlaceScreenWindow("AskSongUsageRange", window, true, true);
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
    if (e.event == kEventAlertKey && e.key == kF6Key) CalendarOnFocusedControl(window);
    if (e.event != kEventAccepted) continue;
    if (e.control == cancel) break;
    if (e.control != ok) continue;
    if (window.updateAll() != 0 || from <= 0 || to <= 0) {
      Message("Both dates must be real dates.", kUsageRangeCaption, kIconExclamation);
      continue;
    }
    if (from > to) {
      Message("The range ends before it starts.", kUsageRangeCaption, kIconExclamation);
      continue;
    }
    SaveWindowPlacement("AskSongUsageRange", window);
    range.from = from;
    range.to = to;
    range.order = order == "Count" ? UsageOrder::Count : UsageOrder::Title;
    return range;
  }
  SaveWindowPlacement("AskSongUsageRange", window);
  range.cancelled = true;
  return range;
}

}  // namespace vesp
