#pragma once
// Rows whose owner is gone (an element of a deleted service, a member of a deleted group):
// listed by `check`, removed by `check --repair` once a backup set of the data is made.
#include <ostream>

namespace vesp::tools {

// Writes each orphan found (or how many were removed) to `out`; false when the files could
// not be read or written, or no backup could be made before a repair.
bool checkOrphans(bool repair, std::ostream& out, std::ostream& err);

}  // namespace vesp::tools
