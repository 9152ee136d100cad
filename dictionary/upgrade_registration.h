#pragma once
// Registers every table with the file-structure upgrader, once per process, so that every
// physical open of a table passes through it.
#include "runtime/store/upgrader.h"

namespace vesp::dict {

// The upgrade handle kept for the whole run. The first call registers; later calls only
// return the handle.
vrt::UpgradeHandle registerTablesForUpgrade();

}  // namespace vesp::dict
