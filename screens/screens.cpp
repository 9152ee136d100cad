#include "screens/screens.h"

#include "screens/lookups/picklists.h"
#include "screens/series/series.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterSeries();
}

}  // namespace vesp
