#include "screens/screens.h"

#include "screens/lookups/picklists.h"
#include "screens/performers/performers.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterPerformers();
}

}  // namespace vesp
