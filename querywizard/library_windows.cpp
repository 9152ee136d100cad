#include "querywizard/library_windows.h"

#include "querywizard/drop_calendar.h"
#include "querywizard/hooks.h"

namespace qrywiz {

void useLibraryWindows() {
  Hooks& h = hooks();
  h.dropCalendar = runDropCalendar;
}

}  // namespace qrywiz
