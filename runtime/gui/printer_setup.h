#pragma once
// The platform's printer set-up (paper, orientation, margins of the shared printer), as a
// dialog the calling thread waits for by taking events.
namespace vrt {

// True when the user confirmed the settings. Outside every thread nothing is shown.
bool PrinterSetup();

class Window;

// The platform's print dialog for the shared printer, over `owner`: true when the user
// chose to print (with the printer, copies and range chosen there).
bool PrintDialog(const Window& owner);

}  // namespace vrt
