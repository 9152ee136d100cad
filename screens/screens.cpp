#include "screens/screens.h"

#include "screens/lookups/picklists.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
}

}  // namespace vesp
