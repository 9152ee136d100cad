#include "screens/prayer/prayer.h"

#include "screens/prayer/categories.h"
#include "screens/prayer/journal_screens.h"
#include "screens/prayer/prayer_request.h"
#include "windows/procedures.h"

namespace vesp {

void RegisterPrayer() {
  RegisterProcedure("BrowsePrayerRequest", BrowsePrayerRequest);
  RegisterProcedure("UpdatePrayerRequest", UpdatePrayerRequest);
  RegisterJournalScreens();
  RegisterCategories();
}

}  // namespace vesp
