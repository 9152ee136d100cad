#pragma once
// What a user is told about typing into a field: the layout a date or time is typed in
// ("mm/dd/yyyy"), and the reason a refused entry gives ("Enter a date as mm/dd/yyyy").
#include <optional>
#include <string>

#include "runtime/text/picture.h"

namespace vrt {

// The layout of dates and times as a user types them ("mm/dd/yyyy", "hh:mmAM"); empty for
// text and numbers.
std::string typingLayout(const Picture& picture);

// Why text was refused by a field shown through `picture` (none: a plain number).
std::string refusalText(const std::optional<Picture>& picture);

}  // namespace vrt
