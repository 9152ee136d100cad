#include "screens/screens.h"

#include "screens/elements/elements.h"
#include "screens/lookups/picklists.h"
#include "screens/performers/performers.h"

namespace vesp {

// One line per screen folder.
void RegisterScreens() {
  RegisterPickLists();
  RegisterPerformers();
  RegisterElements();
}

}  // namespace vesp
