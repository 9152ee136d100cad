#pragma once
// Reading the elements of one service in their order, on the calling thread.
#include <cstdint>
#include <functional>

#include "runtime/text/record.h"

namespace vesp {

// Reads the elements of `service` in their order into the element buffer, handing each to
// `each` until it returns false; the table's state (a form's record among it) is kept.
void ForEachElementOf(std::int32_t service, const std::function<bool(vrt::RecordRef)>& each);

}  // namespace vesp
