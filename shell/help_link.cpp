#include "shell/help_link.h"

#include "runtime/help/help_window.h"

namespace vesp {

void OpenFirstStepsHelp() { vrt::ShowHelp("first-steps"); }

}  // namespace vesp
