#include "screens/screens.h"

#include "screens/elements/elements.h"
#include "screens/lookups/picklists.h"
#include "screens/series/series.h"
#include "screens/services/services.h"
#include "screens/performers/performers.h"
#include "screens/prayer/prayer.h"
#include "screens/reports/prayer_reports.h"
#include "screens/worship/worship.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterSeries();
  RegisterServices();
  RegisterPerformers();
  RegisterElements();
  RegisterPrayer();
  RegisterReports();
  RegisterWorship();
}

}  // namespace vesp
