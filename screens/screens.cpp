#include "screens/screens.h"

#include "screens/lookups/picklists.h"
#include "screens/reports/prayer_reports.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterReports();
}

}  // namespace vesp
