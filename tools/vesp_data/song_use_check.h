#pragma once
// The bibliography's first and last used dates against the services that use each entry:
// checked by `check`, recomputed by `check --repair` and after `generate`.
#include <ostream>

namespace vesp::tools {

// Writes what it found (or did) to `out`; false when the files could not be read or written.
// Nothing is said when every entry is in step, or when a file is missing.
bool checkSongUse(bool repair, std::ostream& out, std::ostream& err);

}  // namespace vesp::tools
