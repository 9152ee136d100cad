#include "screens/screens.h"

#include "screens/lookups/picklists.h"
#include "screens/prayer/prayer.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterPrayer();
}

}  // namespace vesp
