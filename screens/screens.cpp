#include "screens/screens.h"

#include "screens/lookups/picklists.h"
#include "screens/series/series.h"
#include "screens/services/services.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterSeries();
  RegisterServices();
}

}  // namespace vesp
