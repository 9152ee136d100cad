#pragma once
// Stops the program's clock at one moment, so that dates a test sees do not move with the
// day it runs on. Until unpinned, today() and clockNow() return the pinned moment.
#include "runtime/text/dates.h"

namespace vrt {

void pinClockForTesting(DayNumber date, TimeOfDay time);
// The desktop's clock again.
void unpinClockForTesting();

}  // namespace vrt
