#pragma once
// A request to end from outside (SIGTERM from a logout or `kill`, SIGHUP from a closed
// terminal) closes the program as its close box does: forms are asked, the settings are
// written and the data files closed, instead of the process simply dying.
namespace vesp {

// Installs the handlers; needs the application object. Call once, before the program runs.
void CloseOnTerminateSignal();

}  // namespace vesp
