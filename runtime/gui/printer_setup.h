#pragma once
// The platform's printer set-up (paper, orientation, margins of the shared printer), as a
// dialog the calling thread waits for by taking events.
namespace vrt {

// True when the user confirmed the settings. Outside every thread nothing is shown.
bool PrinterSetup();

}  // namespace vrt
