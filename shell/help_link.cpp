#include "shell/help_link.h"

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"

namespace vesp {

// The help window is not part of this program yet: say where the same steps are written.
void OpenFirstStepsHelp() {
  vrt::Message("The user guide is not installed with this version.|"
               "The welcome window lists the first steps: add your people, your songs, then plan a service.",
               "First Steps", vrt::kIconInformation, vrt::kButtonOk);
}

}  // namespace vesp
